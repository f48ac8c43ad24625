#include "settings/settings.h"

#include <cstdint>

#include "settings/registry.h"

namespace propdesk {
namespace {

constexpr std::string_view kReadOnlyOpen = "ReadOnlyOpen";
constexpr std::string_view kExitByESC = "ExitByESC";
constexpr std::string_view kUseNative2Ascii = "UseNative2Ascii";
constexpr std::string_view kNative2AsciiPath = "Native2AsciiPath";

bool ReadFlag(std::string_view name, std::uint32_t fallback) {
  std::uint32_t number = 0;
  RegReadDword(kSettingsKey, name, number, fallback);
  return number == 1;
}

void WriteFlag(std::string_view name, bool on) { RegWriteDword(kSettingsKey, name, on ? 1 : 0); }

}  // namespace

Settings& GetSettings() {
  static Settings settings;
  return settings;
}

void LoadSettings() {
  Settings& settings = GetSettings();
  settings.ReadOnlyOpen = ReadFlag(kReadOnlyOpen, 1);
  settings.ExitByESC = ReadFlag(kExitByESC, 0);
  settings.UseNative2Ascii = ReadFlag(kUseNative2Ascii, 0);
  std::string path;
  RegReadString(kSettingsKey, kNative2AsciiPath, path, "");
  // A path too long for the record is neither cut nor taken as empty.
  if (path.size() <= kMaxNative2AsciiPathBytes) settings.Native2AsciiPath = std::move(path);
}

void SaveSettings() {
  const Settings& settings = GetSettings();
  WriteFlag(kReadOnlyOpen, settings.ReadOnlyOpen);
  WriteFlag(kExitByESC, settings.ExitByESC);
  WriteFlag(kUseNative2Ascii, settings.UseNative2Ascii);
  RegWriteString(kSettingsKey, kNative2AsciiPath, settings.Native2AsciiPath);
}

}  // namespace propdesk
