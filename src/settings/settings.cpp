#include "settings/settings.h"

#include <cstdint>
#include <type_traits>
#include <variant>

#include "settings/registry.h"

namespace propdesk {
namespace {

// Each stored value with the record field it fills. The field's type gives the stored type (a
// Boolean is a REG_DWORD, a text a REG_SZ), and the defaults are those of a new record.
struct StoredOption {
  std::string_view name;
  std::variant<bool Settings::*, std::string Settings::*> field;
};

constexpr StoredOption kStoredOptions[] = {
    {"ReadOnlyOpen", &Settings::ReadOnlyOpen},
    {"ExitByESC", &Settings::ExitByESC},
    {"UseNative2Ascii", &Settings::UseNative2Ascii},
    {"Native2AsciiPath", &Settings::Native2AsciiPath},
    {"KeepUntouchedLines", &Settings::KeepUntouchedLines},
};

template <typename Field>
constexpr bool kIsFlag = std::is_same_v<Field, bool Settings::*>;

void LoadOption(const StoredOption& option, Settings& settings) {
  static const Settings defaults;
  std::visit(
      [&](auto field) {
        if constexpr (kIsFlag<decltype(field)>) {
          std::uint32_t number = 0;
          RegReadDword(kSettingsKey, option.name, number, defaults.*field ? 1 : 0);
          settings.*field = number == 1;
        } else {
          std::string text;
          RegReadString(kSettingsKey, option.name, text, defaults.*field);
          // A path too long for the record is neither cut nor taken as empty.
          if (PathLengthInPlatformBytes(text) <= kMaxNative2AsciiPathBytes) settings.*field = std::move(text);
        }
      },
      option.field);
}

void SaveOption(const StoredOption& option, const Settings& settings) {
  std::visit(
      [&](auto field) {
        if constexpr (kIsFlag<decltype(field)>) {
          RegWriteDword(kSettingsKey, option.name, settings.*field ? 1 : 0);
        } else {
          RegWriteString(kSettingsKey, option.name, settings.*field);
        }
      },
      option.field);
}

}  // namespace

Settings& GetSettings() {
  static Settings settings;
  return settings;
}

std::string WithConverterArguments(std::string program) {
  constexpr std::string_view kOwnConverter = "propdesk-native2ascii";
  constexpr std::string_view kOwnConverterProgram = "propdesk-native2ascii.exe";
  constexpr std::string_view kKeepSyntax = " -keepsyntax";
  const std::string_view name = std::string_view(program).substr(program.find_last_of("/\\") + 1);
  const bool ownConverter = name == kOwnConverter || name == kOwnConverterProgram;
  if (ownConverter && PathLengthInPlatformBytes(program) + kKeepSyntax.size() <= kMaxNative2AsciiPathBytes) {
    program += kKeepSyntax;
  }
  return program;
}

void LoadSettings() {
  for (const StoredOption& option : kStoredOptions) LoadOption(option, GetSettings());
}

void SaveSettings() {
  for (const StoredOption& option : kStoredOptions) SaveOption(option, GetSettings());
}

}  // namespace propdesk
