#include "common/string_table.h"

#include <algorithm>
#include <string_view>

namespace propdesk {
namespace {

struct StringEntry {
  int id;
  std::string_view text;
};

constexpr StringEntry kStrings[] = {
#include "res/strings.inc"
};

bool IsUtf8Continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

void CutToCapacity(std::string& text, std::size_t capacity) {
  if (text.size() < capacity) return;
  std::size_t length = capacity == 0 ? 0 : capacity - 1;
  while (length > 0 && IsUtf8Continuation(text[length])) --length;
  text.resize(length);
}

bool LoadText(int id, std::string& text, std::size_t capacity) {
  text.clear();
  const auto* entry = std::find_if(std::begin(kStrings), std::end(kStrings),
                                   [id](const StringEntry& e) { return e.id == id; });
  if (entry == std::end(kStrings) || capacity == 0) return false;
  text.assign(entry->text);
  CutToCapacity(text, capacity);
  return !text.empty();
}

void FillPlaceholder(std::string& text, std::string_view placeholder, std::string_view value) {
  const std::size_t at = text.find(placeholder);
  if (at != std::string::npos) text.replace(at, placeholder.size(), value);
}

const std::string& GetAppTitle() {
  static const std::string title = [] {
    std::string text;
    LoadText(IDS_APP_TITLE, text);
    return text;
  }();
  return title;
}

}  // namespace propdesk
