#pragma once
// The four persistent options and their per-user store.
#include <string>

namespace propdesk {

struct Settings {
  bool ReadOnlyOpen = true;       // open .properties files edit-forbidden
  bool ExitByESC = false;         // ESC closes the window while edit-forbidden
  bool UseNative2Ascii = false;   // convert with the external command instead of the built-in codec
  std::string Native2AsciiPath;   // the external command, used verbatim; at most 258 bytes
};

// The one process-wide record.
Settings& GetSettings();

}  // namespace propdesk
