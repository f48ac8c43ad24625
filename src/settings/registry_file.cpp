#include "settings/registry_file.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <optional>

#include "platform/whole_file.h"
#include "settings/reg_file.h"
#include "settings/registry.h"
#include "settings/settings.h"

namespace propdesk {
namespace {

constexpr std::string_view kHive = "HKEY_CURRENT_USER\\";
// A settings file is a few hundred bytes; anything this large is not read (and not replaced).
constexpr off_t kMaxFileBytes = off_t{16} << 20;
constexpr int kMaxDamagedCopies = 100;

enum class FileState {
  Missing,       // no file, or nothing but blanks in it: nothing to keep
  Parsed,        // an export, whose lines are kept
  Unrecognised,  // text that is not an export; kept aside before a write replaces it
  Unreadable,    // cannot be read, or too large: left alone
};

struct StoreFile {
  FileState state = FileState::Missing;
  std::optional<RegFile> parsed;
  std::string bytes;
  mode_t permissions = 0;
};

bool IsAllWhitespace(std::string_view bytes) {
  return bytes.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

StoreFile ReadStore(const std::string& path) {
  StoreFile store;
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    if (errno != ENOENT && errno != ENOTDIR) store.state = FileState::Unreadable;
    return store;
  }
  if (!S_ISREG(info.st_mode) || info.st_size > kMaxFileBytes || !ReadWholeFile(path, store.bytes).ok()) {
    store.state = FileState::Unreadable;
    return store;
  }
  store.permissions = info.st_mode & 0777;
  if (IsAllWhitespace(store.bytes)) return store;
  store.parsed = RegFile::Parse(store.bytes);
  store.state = store.parsed ? FileState::Parsed : FileState::Unrecognised;
  return store;
}

std::string FullKeyPath(std::string_view keyPath) { return std::string(kHive) + std::string(keyPath); }

std::optional<RegValue> QueryValue(std::string_view keyPath, std::string_view valueName) {
  const std::string path = RegistryFilePath();
  if (path.empty()) return std::nullopt;
  const StoreFile store = ReadStore(path);
  if (!store.parsed) return std::nullopt;
  return store.parsed->Query(FullKeyPath(keyPath), valueName);
}

// Creates the missing folders of path's parent, private to the user as a configuration folder is.
bool CreateParentFolders(const std::string& path) {
  for (std::size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1)) {
    const std::string folder = path.substr(0, slash);
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return false;
  }
  return true;
}

// Writes the bytes of a file that is not an export to the first free "<path>.damaged[-N]", with the
// file's own permission bits, so that a write over it loses nothing a person may want back.
bool KeepDamagedCopy(const std::string& path, const StoreFile& store) {
  for (int copy = 1; copy <= kMaxDamagedCopies; ++copy) {
    const std::string name = path + ".damaged" + (copy == 1 ? std::string() : "-" + std::to_string(copy));
    struct stat info {};
    if (::lstat(name.c_str(), &info) == 0) continue;
    return errno == ENOENT && WriteWholeFile(name, store.bytes, store.permissions).ok();
  }
  return false;
}

// A link as the store is never written through, since the file it names may be anything; the
// write is skipped like any other that cannot be done.
bool IsSymbolicLink(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

void WriteValue(std::string_view keyPath, std::string_view valueName, const RegValue& value) {
  const std::string path = RegistryFilePath();
  if (path.empty() || IsSymbolicLink(path)) return;
  StoreFile store = ReadStore(path);
  RegFile file;
  switch (store.state) {
    case FileState::Unreadable:
      return;
    case FileState::Unrecognised:
      if (!KeepDamagedCopy(path, store)) return;
      break;
    case FileState::Missing:
      if (!CreateParentFolders(path)) return;
      break;
    case FileState::Parsed:
      file = std::move(*store.parsed);
      break;
  }
  file.Set(FullKeyPath(keyPath), valueName, value);
  static_cast<void>(WriteWholeFile(path, file.Text()));
}

}  // namespace

std::size_t PathLengthInPlatformBytes(std::string_view path) { return path.size(); }

std::string RegistryFilePath() {
  const char* configHome = std::getenv("XDG_CONFIG_HOME");
  std::string base;
  if (configHome != nullptr && configHome[0] == '/') {
    base = configHome;
  } else {
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/') return {};
    base = std::string(home) + "/.config";
  }
  return base + "/Orvandi/Propdesk.reg";
}

void RegReadDword(std::string_view keyPath, std::string_view valueName, std::uint32_t& value,
                  std::uint32_t fallback) {
  const auto stored = QueryValue(keyPath, valueName);
  value = stored ? stored->AsDword().value_or(fallback) : fallback;
}

void RegReadString(std::string_view keyPath, std::string_view valueName, std::string& text,
                   std::string_view fallback) {
  const auto stored = QueryValue(keyPath, valueName);
  if (!stored || stored->type != kRegSz) {
    text = fallback;
    return;
  }
  text = stored->data.substr(0, stored->data.find('\0'));
}

void RegWriteDword(std::string_view keyPath, std::string_view valueName, std::uint32_t value) {
  WriteValue(keyPath, valueName, RegValue::Dword(value));
}

void RegWriteString(std::string_view keyPath, std::string_view valueName, std::string_view text) {
  WriteValue(keyPath, valueName, RegValue::String(text.substr(0, text.find('\0'))));
}

}  // namespace propdesk
