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

// Fills the record from the per-user store; missing or unusable values take their defaults.
void LoadSettings();
// Writes the four values of the record to the per-user store; failures are not reported.
void SaveSettings();

}  // namespace propdesk
