#include "common/filter_text.h"

namespace propdesk {
namespace {

std::vector<std::string> SplitPatterns(std::string_view patterns) {
  std::vector<std::string> split;
  for (std::size_t start = 0; start <= patterns.size();) {
    std::size_t end = patterns.find(';', start);
    if (end == std::string_view::npos) end = patterns.size();
    std::string_view pattern = patterns.substr(start, end - start);
    const std::size_t first = pattern.find_first_not_of(" \t");
    if (first != std::string_view::npos) {
      pattern = pattern.substr(first, pattern.find_last_not_of(" \t") + 1 - first);
      split.emplace_back(pattern);
    }
    start = end + 1;
  }
  return split;
}

}  // namespace

std::vector<FilterItem> SplitFilterText(std::string_view filter) {
  std::vector<std::string_view> fields;  // the text between bars; the last one follows the last bar
  for (std::size_t start = 0;;) {
    const std::size_t bar = filter.find('|', start);
    fields.push_back(filter.substr(start, bar == std::string_view::npos ? std::string_view::npos : bar - start));
    if (bar == std::string_view::npos) break;
    start = bar + 1;
  }
  std::vector<FilterItem> items;
  for (std::size_t i = 0; i + 1 < fields.size(); i += 2)
    items.push_back({std::string(fields[i]), SplitPatterns(fields[i + 1])});
  return items;
}

}  // namespace propdesk
