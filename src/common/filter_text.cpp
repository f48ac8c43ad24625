#include "common/filter_text.h"

namespace propdesk {

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
    items.push_back({std::string(fields[i]), std::string(fields[i + 1])});
  return items;
}

}  // namespace propdesk
