// The five options in the current user's registry itself: values of every registry type written
// with the registry's own calls and read through the settings, and saving read back the same way.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "common/utf16.h"
#include "settings/settings.h"

namespace propdesk {

void PrintTo(const Settings& s, std::ostream* out) {
  *out << "{" << s.ReadOnlyOpen << ", " << s.ExitByESC << ", " << s.UseNative2Ascii << ", \"" << s.Native2AsciiPath
       << "\", " << s.KeepUntouchedLines << "}";
}

namespace {

const wchar_t kKey[] = L"Software\\Orvandi\\Propdesk";
const wchar_t kKeptAside[] = L"Software\\Orvandi\\Propdesk (kept aside by settings_tests)";

std::wstring Wide(std::string_view text) {
  const std::u16string units = Utf8ToUtf16(text);
  return {units.begin(), units.end()};
}

std::string Bytes(const void* data, std::size_t size) { return {static_cast<const char*>(data), size}; }
std::string Utf16Bytes(std::wstring_view text) { return Bytes(text.data(), text.size() * sizeof(wchar_t)); }
std::string DwordBytes(DWORD number) { return Bytes(&number, sizeof number); }

bool KeyExists(const wchar_t* path) {
  HKEY key = nullptr;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  ::RegCloseKey(key);
  return true;
}

// Copies one key's tree to another path, creating it.
void CopyTree(const wchar_t* from, const wchar_t* to) {
  HKEY source = nullptr;
  HKEY target = nullptr;
  ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, from, 0, KEY_READ, &source), ERROR_SUCCESS);
  ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, to, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &target, nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(::RegCopyTreeW(source, nullptr, target), ERROR_SUCCESS);
  ::RegCloseKey(target);
  ::RegCloseKey(source);
}

class RegistrySettings : public ::testing::Test {
 protected:
  // Each test starts without the key, and the key the person had comes back afterwards.
  void SetUp() override {
    GetSettings() = Settings{};
    hadKey_ = KeyExists(kKey);
    if (hadKey_) CopyTree(kKey, kKeptAside);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kKey);
  }
  void TearDown() override {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kKey);
    if (hadKey_) {
      CopyTree(kKeptAside, kKey);
      ::RegDeleteTreeW(HKEY_CURRENT_USER, kKeptAside);
    }
  }

  static void SetRaw(const std::wstring& name, DWORD type, const std::string& data) {
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(::RegSetValueExW(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.data()),
                               static_cast<DWORD>(data.size())),
              ERROR_SUCCESS);
    ::RegCloseKey(key);
  }
  // The type and bytes of a stored value; type REG_NONE with no bytes when it is missing.
  static std::pair<DWORD, std::string> GetRaw(const wchar_t* name) {
    DWORD type = REG_NONE;
    std::vector<char> data(1024);
    DWORD size = static_cast<DWORD>(data.size());
    if (::RegGetValueW(HKEY_CURRENT_USER, kKey, name, RRF_RT_ANY | RRF_NOEXPAND, &type, data.data(), &size) !=
        ERROR_SUCCESS) {
      return {REG_NONE, {}};
    }
    return {type, std::string(data.data(), size)};
  }
  static Settings LoadFrom(const Settings& start) {
    GetSettings() = start;
    LoadSettings();
    return GetSettings();
  }

  bool hadKey_ = false;
};

TEST_F(RegistrySettings, WithoutTheKeyLoadingGivesDefaultsAndCreatesNothing) {
  EXPECT_EQ(LoadFrom(Settings{false, true, true, "C:\\old", true}), Settings{});
  EXPECT_FALSE(KeyExists(kKey));
}

TEST_F(RegistrySettings, EveryRegistryTypeReadsByTheTypeRules) {
  const std::string pathText = Utf16Bytes(L"C:\\Program Files\\Java\\bin\\native2ascii.exe");
  const std::string nul(2, '\0');
  const struct {
    std::string_view what;
    std::wstring name;
    DWORD type;
    std::string data;
    Settings expected;
  } cases[] = {
      {"REG_DWORD 0 turns read-only off", L"ReadOnlyOpen", REG_DWORD, DwordBytes(0), {false, false, false, ""}},
      {"REG_DWORD 1 is on", L"ExitByESC", REG_DWORD, DwordBytes(1), {true, true, false, ""}},
      {"REG_DWORD 2 is off", L"ExitByESC", REG_DWORD, DwordBytes(2), {true, false, false, ""}},
      {"all bits are off", L"UseNative2Ascii", REG_DWORD, DwordBytes(0xFFFFFFFF), {true, false, false, ""}},
      {"names ignore case", L"usenative2ascii", REG_DWORD, DwordBytes(1), {true, false, true, ""}},
      {"a REG_DWORD of two bytes", L"ExitByESC", REG_DWORD, DwordBytes(1).substr(0, 2), {true, false, false, ""}},
      {"a REG_DWORD of eight bytes", L"ExitByESC", REG_DWORD, DwordBytes(1) + DwordBytes(0), {true, false, false, ""}},
      {"REG_SZ \"1\"", L"ExitByESC", REG_SZ, Utf16Bytes(L"1") + nul, {true, false, false, ""}},
      {"REG_EXPAND_SZ \"1\"", L"ExitByESC", REG_EXPAND_SZ, Utf16Bytes(L"1") + nul, {true, false, false, ""}},
      {"REG_MULTI_SZ \"1\"", L"ExitByESC", REG_MULTI_SZ, Utf16Bytes(L"1") + nul + nul, {true, false, false, ""}},
      {"REG_BINARY 01 00 00 00", L"ExitByESC", REG_BINARY, DwordBytes(1), {true, false, false, ""}},
      {"REG_DWORD_BIG_ENDIAN 1", L"ExitByESC", REG_DWORD_BIG_ENDIAN, std::string("\0\0\0\1", 4),
       {true, false, false, ""}},
      {"REG_QWORD 1", L"ExitByESC", REG_QWORD, DwordBytes(1) + DwordBytes(0), {true, false, false, ""}},
      {"REG_NONE 01 00 00 00", L"ExitByESC", REG_NONE, DwordBytes(1), {true, false, false, ""}},
      {"REG_SZ path", L"Native2AsciiPath", REG_SZ, pathText + nul,
       {true, false, false, "C:\\Program Files\\Java\\bin\\native2ascii.exe"}},
      {"REG_SZ without its NUL", L"Native2AsciiPath", REG_SZ, Utf16Bytes(L"C:\\n2a.exe"), {true, false, false, "C:\\n2a.exe"}},
      {"REG_SZ ends at a NUL", L"Native2AsciiPath", REG_SZ, Utf16Bytes(L"C:\\a") + nul + Utf16Bytes(L"b"),
       {true, false, false, "C:\\a"}},
      {"REG_SZ with an odd byte", L"Native2AsciiPath", REG_SZ, Utf16Bytes(L"C:\\a") + "b", {true, false, false, "C:\\a"}},
      {"REG_EXPAND_SZ path", L"Native2AsciiPath", REG_EXPAND_SZ, Utf16Bytes(L"%JAVA_HOME%\\bin\\native2ascii") + nul,
       {true, false, false, ""}},
      {"REG_BINARY path", L"Native2AsciiPath", REG_BINARY, pathText, {true, false, false, ""}},
      {"REG_DWORD path", L"Native2AsciiPath", REG_DWORD, DwordBytes(1), {true, false, false, ""}},
  };
  // The record starts with a path of its own: a path that is missing or of another type reads as empty.
  for (const auto& c : cases) {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kKey);
    SetRaw(c.name, c.type, c.data);
    EXPECT_EQ(LoadFrom(Settings{true, false, false, "keep"}), c.expected) << c.what;
  }
}

TEST_F(RegistrySettings, PathLengthCountsCodePage932Bytes) {
  const struct {
    std::string path;
    std::size_t bytes;
  } lengths[] = {
      {"", 0},
      {"C:\\jdk\\native2ascii.exe", 23},
      {"C:\\日本\\ソ表", 12},
      {"ｿﾌﾄ", 3},             // half-width katakana are single bytes
      {"café", 4},           // é has no code page 932 form; its best fit is one byte
      {"\xF0\x9F\x98\x80", 2},  // each half of a surrogate pair becomes a default character
  };
  for (const auto& l : lengths) EXPECT_EQ(PathLengthInPlatformBytes(l.path), l.bytes) << l.path;

  // 127 Japanese characters make a path of 258 bytes of code page 932 text (385 of UTF-8), which
  // is taken; one byte more leaves the path as it was.
  std::string path258 = "C:\\";
  for (int i = 0; i < 127; ++i) path258 += "日";
  path258 += "a";
  ASSERT_EQ(PathLengthInPlatformBytes(path258), 258u);
  const struct {
    std::string stored;
    std::string loaded;
  } cases[] = {{path258, path258}, {path258 + "b", "keep"}};
  for (const auto& c : cases) {
    SetRaw(L"Native2AsciiPath", REG_SZ, Utf16Bytes(Wide(c.stored)) + std::string(2, '\0'));
    EXPECT_EQ(LoadFrom(Settings{true, false, false, "keep"}).Native2AsciiPath, c.loaded);
  }
}

TEST_F(RegistrySettings, SavingCreatesTheKeyAndValuesReadBack) {
  const Settings record{false, true, true, "C:\\ユーザー\\café\\native2ascii.exe -encoding MS932", true};
  GetSettings() = record;
  SaveSettings();
  EXPECT_EQ(GetRaw(L"ReadOnlyOpen"), std::pair(DWORD{REG_DWORD}, DwordBytes(0)));
  EXPECT_EQ(GetRaw(L"ExitByESC"), std::pair(DWORD{REG_DWORD}, DwordBytes(1)));
  EXPECT_EQ(GetRaw(L"UseNative2Ascii"), std::pair(DWORD{REG_DWORD}, DwordBytes(1)));
  EXPECT_EQ(GetRaw(L"KeepUntouchedLines"), std::pair(DWORD{REG_DWORD}, DwordBytes(1)));
  EXPECT_EQ(GetRaw(L"Native2AsciiPath"),
            std::pair(DWORD{REG_SZ}, Utf16Bytes(L"C:\\ユーザー\\café\\native2ascii.exe -encoding MS932") + std::string(2, '\0')));
  EXPECT_EQ(LoadFrom(Settings{}), record);
}

}  // namespace
}  // namespace propdesk
