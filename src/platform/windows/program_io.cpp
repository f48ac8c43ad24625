#include "platform/program_io.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>

#include "platform/file_handle.h"
#include "platform/windows/file_access.h"

namespace propdesk {

// argv is in the ANSI code page, which cannot hold every name; the wide command line can.
std::vector<std::string> ProgramArguments(int, char**) {
  int count = 0;
  wchar_t** arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  std::vector<std::string> result;
  for (int index = 1; arguments != nullptr && index < count; ++index) result.push_back(windows::Narrow(arguments[index]));
  ::LocalFree(arguments);
  return result;
}

void WriteText(TextStream stream, std::string_view text) {
  const HANDLE output = ::GetStdHandle(stream == TextStream::kOutput ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
  DWORD mode = 0;
  if (!::GetConsoleMode(output, &mode)) {
    (void)WriteAll(windows::Native(output), text);
    return;
  }
  // A console takes characters, whatever its code page.
  const std::wstring characters = windows::Wide(text);
  constexpr std::size_t kLargestWrite = 8192;
  for (std::size_t at = 0; at < characters.size();) {
    DWORD written = 0;
    const auto length = static_cast<DWORD>(std::min(characters.size() - at, kLargestWrite));
    if (!::WriteConsoleW(output, characters.data() + at, length, &written, nullptr) || written == 0) return;
    at += written;
  }
}

}  // namespace propdesk
