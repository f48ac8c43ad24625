#include <exception>
#include <string>

#include "document/document.h"

namespace propdesk {

bool ExpandLineEnds(std::string& text, bool& lfStyle) {
  lfStyle = false;
  bool crlfSeen = false;
  std::size_t bareLineFeeds = 0;
  for (auto lf = text.find('\n'); lf != std::string::npos; lf = text.find('\n', lf + 1)) {
    if (lf > 0 && text[lf - 1] == '\r') {
      crlfSeen = true;
    } else {
      ++bareLineFeeds;
      if (!crlfSeen) lfStyle = true;
    }
  }
  if (bareLineFeeds == 0) return true;
  try {
    std::string expanded;
    expanded.reserve(text.size() + bareLineFeeds);
    std::size_t copied = 0;
    for (auto lf = text.find('\n'); lf != std::string::npos; lf = text.find('\n', lf + 1)) {
      if (lf > 0 && text[lf - 1] == '\r') continue;
      expanded.append(text, copied, lf - copied);
      expanded += "\r\n";
      copied = lf + 1;
    }
    expanded.append(text, copied, std::string::npos);
    text.swap(expanded);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

void CollapseLineEnds(std::string& text) {
  std::size_t write = 0;
  for (std::size_t read = 0; read < text.size(); ++read) {
    if (text[read] == '\r' && read + 1 < text.size() && text[read + 1] == '\n') continue;
    text[write++] = text[read];
  }
  text.resize(write);
}

}  // namespace propdesk
