// The store of registry.h on Windows: the current user's registry itself, through the wide calls,
// so that names and strings keep every character whatever the system code page.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "common/utf16.h"
#include "convert/cp932.h"
#include "settings/registry.h"
#include "settings/settings.h"

namespace propdesk {
namespace {

std::wstring Wide(std::string_view text) {
  const std::u16string units = Utf8ToUtf16(text);
  return {units.begin(), units.end()};
}

// A key of HKEY_CURRENT_USER, closed when it goes; null when it could not be opened.
class OpenKey {
 public:
  OpenKey(std::string_view keyPath, REGSAM access, bool create) {
    const std::wstring path = Wide(keyPath);
    const LONG status = create ? ::RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, access, nullptr,
                                                   &key_, nullptr)
                               : ::RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, access, &key_);
    if (status != ERROR_SUCCESS) key_ = nullptr;
  }
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;
  ~OpenKey() {
    if (key_) ::RegCloseKey(key_);
  }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

struct StoredValue {
  DWORD type = REG_NONE;
  std::vector<BYTE> data;
};

// The value's type and bytes; false when the key or the value is missing or cannot be read.
bool QueryValue(std::string_view keyPath, std::string_view valueName, StoredValue& value) {
  const OpenKey key(keyPath, KEY_QUERY_VALUE, false);
  if (!key.get()) return false;
  const std::wstring name = Wide(valueName);
  // The value may grow between the two calls; ask again until it fits.
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD size = 0;
    if (::RegQueryValueExW(key.get(), name.c_str(), nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS) return false;
    value.data.resize(size);
    const LONG status = ::RegQueryValueExW(key.get(), name.c_str(), nullptr, &value.type, value.data.data(), &size);
    if (status == ERROR_SUCCESS) {
      value.data.resize(size);
      return true;
    }
    if (status != ERROR_MORE_DATA) return false;
  }
  return false;
}

void SetValue(std::string_view keyPath, std::string_view valueName, DWORD type, const void* data, DWORD size) {
  const OpenKey key(keyPath, KEY_SET_VALUE, true);
  if (key.get()) ::RegSetValueExW(key.get(), Wide(valueName).c_str(), 0, type, static_cast<const BYTE*>(data), size);
}

}  // namespace

// Paths are narrow text of the system's code page, 932, where the stored settings come from.
std::size_t PathLengthInPlatformBytes(std::string_view path) {
  std::size_t length = 0;
  char bytes[2];
  for (const char16_t unit : Utf8ToUtf16(path)) length += static_cast<std::size_t>(cp932::EncodeUnit(unit, bytes));
  return length;
}

void RegReadDword(std::string_view keyPath, std::string_view valueName, std::uint32_t& value,
                  std::uint32_t fallback) {
  StoredValue stored;
  if (QueryValue(keyPath, valueName, stored) && stored.type == REG_DWORD && stored.data.size() == sizeof(DWORD)) {
    DWORD number = 0;
    std::memcpy(&number, stored.data.data(), sizeof number);
    value = number;
  } else {
    value = fallback;
  }
}

void RegReadString(std::string_view keyPath, std::string_view valueName, std::string& text,
                   std::string_view fallback) {
  StoredValue stored;
  if (!QueryValue(keyPath, valueName, stored) || stored.type != REG_SZ) {
    text = fallback;
    return;
  }
  // Stored strings need not end with a NUL; an odd last byte is no whole code unit.
  std::u16string units(stored.data.size() / 2, u'\0');
  std::memcpy(units.data(), stored.data.data(), units.size() * 2);
  units.resize(std::min(units.size(), units.find(u'\0')));
  text = Utf16ToUtf8(units);
}

void RegWriteDword(std::string_view keyPath, std::string_view valueName, std::uint32_t value) {
  const DWORD number = value;
  SetValue(keyPath, valueName, REG_DWORD, &number, sizeof number);
}

void RegWriteString(std::string_view keyPath, std::string_view valueName, std::string_view text) {
  const std::wstring wide = Wide(text.substr(0, text.find('\0')));
  SetValue(keyPath, valueName, REG_SZ, wide.c_str(), static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t)));
}

}  // namespace propdesk
