#pragma once
// The five persistent options and their per-user store.
//
// Errors in the settings layer: none are reported. A value that cannot be read is its default and
// a store that cannot be written is left as it is; the editor works on with what it has.
#include <cstddef>
#include <string>
#include <string_view>

namespace propdesk {

// The registry key under HKEY_CURRENT_USER that holds the five values.
inline constexpr std::string_view kSettingsKey = "Software\\Orvandi\\Propdesk";
// The longest Native2AsciiPath the record takes, in bytes of the platform's narrow text (see
// PathLengthInPlatformBytes).
inline constexpr std::size_t kMaxNative2AsciiPathBytes = 258;

// The length of a UTF-8 path in the bytes the platform's narrow text gives it: code page 932 bytes
// on Windows (a Japanese character counts two), the UTF-8 bytes themselves elsewhere.
[[nodiscard]] std::size_t PathLengthInPlatformBytes(std::string_view path);

// A converter program chosen by the person, as the settings dialogs put it into the path field:
// the project's own converter gets " -keepsyntax" (without it, it would decode escapes of syntax
// characters into that syntax, unlike the built-in codec) while the path still fits the record.
[[nodiscard]] std::string WithConverterArguments(std::string program);

struct Settings {
  bool ReadOnlyOpen = true;       // open .properties files edit-forbidden
  bool ExitByESC = false;         // ESC closes the window while edit-forbidden
  bool UseNative2Ascii = false;   // convert with the external command instead of the built-in codec
  std::string Native2AsciiPath;   // the external command, used verbatim; at most 258 platform bytes
  bool KeepUntouchedLines = false;  // write unchanged lines back exactly as they were read

  friend bool operator==(const Settings&, const Settings&) = default;
};

// The one process-wide record.
Settings& GetSettings();

// Fills the record from the per-user store; missing or unusable values take their defaults. A
// Boolean is on only when its stored number is exactly 1. A stored path longer than
// kMaxNative2AsciiPathBytes (PathLengthInPlatformBytes) leaves the record's path as it was. Creates nothing.
void LoadSettings();
// Writes the five values of the record to the per-user store, creating the key (and the file and its
// folder) when missing; failures are not reported.
void SaveSettings();

}  // namespace propdesk
