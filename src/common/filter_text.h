#pragma once
// The choosers' filter texts: "description|patterns|description|patterns|...", where every item,
// the last one included, ends with a bar and patterns are separated by ';'.
#include <string>
#include <string_view>
#include <vector>

namespace propdesk {

struct FilterItem {
  std::string description;
  std::vector<std::string> patterns;  // without their surrounding blanks; empty ones dropped
  bool operator==(const FilterItem&) const = default;
};

// The description and pattern pairs of a filter text, in order. A last description without its
// patterns is dropped; the bar after the last item may be missing.
std::vector<FilterItem> SplitFilterText(std::string_view filter);

}  // namespace propdesk
