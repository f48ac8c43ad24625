#include "platform/program_io.h"

#include <cstdio>

namespace propdesk {

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
}

void WriteText(TextStream stream, std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stream == TextStream::kOutput ? stdout : stderr);
}

}  // namespace propdesk
