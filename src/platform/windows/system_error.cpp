#include "platform/system_error.h"

#include <windows.h>

#include "platform/windows/file_access.h"

namespace propdesk {

const int kOutOfMemoryError = ERROR_NOT_ENOUGH_MEMORY;
const int kNotRegularFileError = ERROR_NOT_SUPPORTED;

std::string SystemErrorText(int error) {
  wchar_t text[512];
  DWORD length = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                  static_cast<DWORD>(error), 0, text, sizeof text / sizeof text[0], nullptr);
  // The system's texts end in a period and a line break, which a message built around them adds itself.
  while (length > 0 && (text[length - 1] == L'\r' || text[length - 1] == L'\n' || text[length - 1] == L' ' ||
                        text[length - 1] == L'.')) {
    --length;
  }
  if (length == 0) return "Unknown error " + std::to_string(error);
  return windows::Narrow({text, length});
}

}  // namespace propdesk
