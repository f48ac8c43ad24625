#include "document/line_ends.h"

#include <cstring>
#include <exception>

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
    text.resize(text.size() + bareLineFeeds);
  } catch (const std::exception&) {
    return false;
  }
  // In place from the end, moving the text between bare line feeds up by the CRs still to come:
  // a decoded text has the room already, so no second copy of it is made.
  char* const data = text.data();
  std::size_t end = text.size() - bareLineFeeds;
  std::size_t write = text.size();
  for (std::size_t lf = end; write != end;) {
    lf = text.rfind('\n', lf - 1);
    if (lf > 0 && data[lf - 1] == '\r') continue;
    write -= end - lf;
    std::memmove(data + write, data + lf, end - lf);
    data[--write] = '\r';
    end = lf;
  }
  return true;
}

void CollapseLineEnds(std::string& text) {
  // Moves the text between CR LF pairs down over the CRs dropped so far, a run at a time.
  std::size_t write = text.find("\r\n");
  if (write == std::string::npos) return;
  char* const data = text.data();
  for (std::size_t read = write + 1;;) {
    const std::size_t next = text.find("\r\n", read);
    const std::size_t end = next == std::string::npos ? text.size() : next;
    std::memmove(data + write, data + read, end - read);
    write += end - read;
    if (next == std::string::npos) break;
    read = next + 1;
  }
  text.resize(write);
}

}  // namespace propdesk
