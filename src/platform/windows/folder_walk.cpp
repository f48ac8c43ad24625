#include "platform/folder_walk.h"

#include <windows.h>

#include "common/utf8.h"
#include "platform/system_error.h"
#include "platform/windows/file_access.h"

namespace propdesk {

using windows::Wide;

const char kPathSeparators[] = "\\/";

namespace {

SystemResult LastError() { return {static_cast<int>(::GetLastError())}; }

std::string WithSeparator(std::string path) {
  // "C:" names the current folder of drive C, which "C:\" would not.
  const bool driveOnly = path.size() == 2 && path[1] == ':';
  if (!path.empty() && !driveOnly && path.find_last_of(kPathSeparators) != path.size() - 1) path += '\\';
  return path;
}

// Holds the folder at path; linksRefused refuses a link in its place instead of following it.
SystemResult Hold(const std::string& path, bool linksRefused, SharedFolder& folder) {
  auto held = std::make_shared<HeldFolder>();
  BY_HANDLE_FILE_INFORMATION info{};
  const SystemResult opened =
      windows::OpenToExamine(Wide(path.empty() ? "." : path), linksRefused ? FILE_FLAG_OPEN_REPARSE_POINT : 0, held->handle);
  if (!opened.ok()) return opened;
  if (const SystemResult examined = windows::Examine(held->handle.get(), info); !examined.ok()) return examined;
  if (linksRefused && windows::IsLink(held->handle.get(), info)) return {windows::kStoppedOnLinkError};
  if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return {ERROR_DIRECTORY};
  held->path = WithSeparator(path);
  folder = std::move(held);
  return {};
}

// Upper case, as the file system compares names, in code points, so that ? takes a whole character.
std::u32string Folded(const std::string& text) {
  std::wstring wide = Wide(text);
  if (!wide.empty()) {
    ::LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, wide.c_str(), static_cast<int>(wide.size()), wide.data(),
                    static_cast<int>(wide.size()), nullptr, nullptr, 0);
  }
  std::u32string points;
  for (std::size_t at = 0; at < wide.size(); ++at) {
    const char32_t unit = wide[at];
    if (utf8::IsHighSurrogate(unit) && at + 1 < wide.size() && utf8::IsLowSurrogate(wide[at + 1])) {
      points += utf8::CombineSurrogates(unit, wide[++at]);
    } else {
      points += unit;
    }
  }
  return points;
}

// The end (just past "]") of the set that opens at pattern[open]; 0 when the "[" opens no set and
// stands for itself. A "]" right after "[", "[!" or "[^" belongs to the set.
std::size_t SetEnd(std::u32string_view pattern, std::size_t open) {
  std::size_t at = open + 1;
  if (at < pattern.size() && (pattern[at] == U'!' || pattern[at] == U'^')) ++at;
  if (at < pattern.size() && pattern[at] == U']') ++at;
  const std::size_t close = pattern.find(U']', at);
  return close == std::u32string_view::npos ? 0 : close + 1;
}

// Whether c is in the set between "[" and "]": characters and ranges a-z, all negated by a leading ! or ^.
bool InSet(std::u32string_view set, char32_t c) {
  const bool negated = set.front() == U'!' || set.front() == U'^';
  if (negated) set.remove_prefix(1);
  bool found = false;
  for (std::size_t at = 0; at < set.size() && !found;) {
    const bool range = at + 2 < set.size() && set[at + 1] == U'-';
    found = range ? set[at] <= c && c <= set[at + 2] : set[at] == c;
    at += range ? 3 : 1;
  }
  return found != negated;
}

bool Matches(std::u32string_view pattern, std::u32string_view name) {
  constexpr std::size_t kNone = std::u32string_view::npos;
  std::size_t p = 0;
  std::size_t n = 0;
  // Where the last * was, and the character of the name it takes up to; a mismatch gives it one more.
  std::size_t starPattern = kNone;
  std::size_t starName = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == U'*') {
      starPattern = ++p;
      starName = n;
      continue;
    }
    if (p < pattern.size()) {
      const std::size_t setEnd = pattern[p] == U'[' ? SetEnd(pattern, p) : 0;
      const bool one = setEnd != 0 ? InSet(pattern.substr(p + 1, setEnd - p - 2), name[n])
                                   : pattern[p] == U'?' || pattern[p] == name[n];
      if (one) {
        p = setEnd != 0 ? setEnd : p + 1;
        ++n;
        continue;
      }
    }
    if (starPattern == kNone) return false;
    p = starPattern;
    n = ++starName;
  }
  while (p < pattern.size() && pattern[p] == U'*') ++p;
  return p == pattern.size();
}

}  // namespace

SystemResult HoldFolder(const std::string& path, SharedFolder& folder) { return Hold(path, false, folder); }

SystemResult HoldSubfolder(const HeldFolder& folder, const std::string& name, SharedFolder& subfolder) {
  return Hold(folder.path + name, true, subfolder);
}

SystemResult ListFolder(const HeldFolder& folder, std::vector<FolderEntry>& entries) {
  WIN32_FIND_DATAW found{};
  HANDLE search = ::FindFirstFileExW(Wide(folder.path + "*").c_str(), FindExInfoBasic, &found, FindExSearchNameMatch,
                                     nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (search == INVALID_HANDLE_VALUE) return ::GetLastError() == ERROR_FILE_NOT_FOUND ? SystemResult{} : LastError();
  do {
    FolderEntry entry;
    entry.name = windows::Narrow(found.cFileName);
    if (entry.name == "." || entry.name == "..") continue;
    const bool link = (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) && IsReparseTagNameSurrogate(found.dwReserved0);
    entry.kind = link                                                 ? EntryKind::kOther
                 : (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? EntryKind::kFolder
                                                                       : EntryKind::kFile;
    entry.size = std::uint64_t{found.nFileSizeHigh} << 32 | found.nFileSizeLow;
    FileHandle file;
    BY_HANDLE_FILE_INFORMATION info{};
    SystemResult examined = windows::OpenToExamine(Wide(folder.path + entry.name), FILE_FLAG_OPEN_REPARSE_POINT, file);
    if (examined.ok()) examined = windows::Examine(file.get(), info);
    if (examined.ok()) {
      entry.identity = windows::IdentityOf(info);
    } else {
      entry.error = examined.systemError;
    }
    entries.push_back(std::move(entry));
  } while (::FindNextFileW(search, &found));
  const SystemResult listed = ::GetLastError() == ERROR_NO_MORE_FILES ? SystemResult{} : LastError();
  ::FindClose(search);
  return listed;
}

SystemResult ExaminePath(const std::string& path, FolderEntry& entry) {
  FileHandle file;
  BY_HANDLE_FILE_INFORMATION info{};
  if (const SystemResult opened = windows::OpenToExamine(Wide(path), 0, file); !opened.ok()) return opened;
  if (::GetFileType(windows::Win(file.get())) != FILE_TYPE_DISK) {
    entry.kind = EntryKind::kOther;  // a device, which has no file information to give
    return {};
  }
  if (const SystemResult examined = windows::Examine(file.get(), info); !examined.ok()) return examined;
  entry.kind = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? EntryKind::kFolder : EntryKind::kFile;
  entry.identity = windows::IdentityOf(info);
  entry.size = std::uint64_t{info.nFileSizeHigh} << 32 | info.nFileSizeLow;
  return {};
}

SystemResult OpenFileIn(const HeldFolder& folder, const std::string& name, FileHandle& file, bool& notRegular) {
  notRegular = false;
  const std::wstring path = Wide(folder.path + name);
  const auto open = [&path, &file](DWORD flags) {
    file.Reset(windows::Native(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                             nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | flags, nullptr)));
    return file.IsOpen() ? SystemResult{} : LastError();
  };
  BY_HANDLE_FILE_INFORMATION info{};
  if (const SystemResult opened = open(FILE_FLAG_OPEN_REPARSE_POINT); !opened.ok()) return opened;
  // A device (NUL, CON, which every folder shows) has no file information to give.
  notRegular = ::GetFileType(windows::Win(file.get())) != FILE_TYPE_DISK;
  if (notRegular) return {kNotRegularFileError};
  SystemResult opened = windows::Examine(file.get(), info);
  if (!opened.ok()) return opened;
  if (windows::IsLink(file.get(), info)) return {windows::kStoppedOnLinkError};
  notRegular = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  if (notRegular) return {kNotRegularFileError};
  if (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
    // A placeholder's data comes through its file system filter, which the open above went past.
    const FileIdentity identity = windows::IdentityOf(info);
    if (opened = open(0); opened.ok()) opened = windows::Examine(file.get(), info);
    if (!opened.ok()) return opened;
    if (windows::IdentityOf(info) != identity) return {windows::kStoppedOnLinkError};
  }
  return {};
}

bool NameMatches(const std::string& pattern, const std::string& name) { return Matches(Folded(pattern), Folded(name)); }

// Windows sets no limit on the handles a process holds that the batch could reach; the C
// runtime's limit (_setmaxstdio) is for its FILE streams, which the program does not use.
void AllowAllOpenFiles() {}

}  // namespace propdesk
