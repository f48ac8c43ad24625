#include "platform/atomic_file.h"

#include <windows.h>
#include <aclapi.h>
#include <bcrypt.h>

#include <condition_variable>
#include <mutex>
#include <vector>

#include "platform/folder_walk.h"
#include "platform/system_error.h"
#include "platform/windows/file_access.h"

namespace propdesk {

using windows::Native;
using windows::Win;
using windows::Wide;

namespace {

int LastError() { return static_cast<int>(::GetLastError()); }

// The folder part of path, with its separator; a drive-relative "C:" counts as a folder.
std::string FolderOf(const std::string& path) {
  const auto separator = path.find_last_of(kPathSeparators);
  if (separator != std::string::npos) return path.substr(0, separator + 1);
  return path.size() >= 2 && path[1] == ':' ? path.substr(0, 2) : std::string();
}

// A path from a call that fills a buffer, or gives the size it needs when the buffer is too small;
// empty when the call fails.
template <typename Fill>
std::wstring FilledPath(Fill fill) {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = fill(path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    const bool fits = length < path.size();
    path.resize(length);
    if (fits) return path;
  }
}

// The folder as an absolute path ending in a separator, so that the replacement's steps reach the
// same folder whatever becomes the current folder meanwhile; empty when the system cannot tell.
std::string AbsoluteFolder(const std::string& folder) {
  const std::wstring named = Wide(folder.empty() ? "." : folder);
  const std::wstring absolute =
      FilledPath([&named](wchar_t* buffer, DWORD size) { return ::GetFullPathNameW(named.c_str(), size, buffer, nullptr); });
  if (absolute.empty()) return {};
  std::string path = windows::Narrow(absolute);
  if (path.find_last_of(kPathSeparators) != path.size() - 1) path += '\\';
  return path;
}

// What the console control handler shares with the threads replacing files. The handler runs on a
// thread of its own, so that, unlike a POSIX signal handler, it may wait on a lock and a condition.
struct Termination {
  std::mutex lock;
  std::condition_variable released;
  bool terminating = false;  // no temporary file is started after it is set
  int holds = 0;             // threads inside a TerminationHold
  std::vector<std::wstring> pendingRemovals;  // temporary files of unfinished replacements
};

// Never destroyed: the handler may run while the process ends.
Termination& TheTermination() {
  static Termination& termination = *new Termination;
  return termination;
}

// Keeps the handler from removing files while a temporary file is created (so that none is made
// after the handler has looked) or while a file is rewritten in place (whose backup must stay until
// the rewrite is complete). Refused once termination has begun.
class TerminationHold {
 public:
  TerminationHold() {
    Termination& termination = TheTermination();
    const std::lock_guard guard(termination.lock);
    held_ = !termination.terminating;
    if (held_) ++termination.holds;
  }
  TerminationHold(const TerminationHold&) = delete;
  TerminationHold& operator=(const TerminationHold&) = delete;
  ~TerminationHold() {
    if (!held_) return;
    Termination& termination = TheTermination();
    const std::lock_guard guard(termination.lock);
    --termination.holds;
    termination.released.notify_all();
  }
  explicit operator bool() const { return held_; }

 private:
  bool held_ = false;
};

void AddPendingRemoval(const std::wstring& path) {
  Termination& termination = TheTermination();
  const std::lock_guard guard(termination.lock);
  termination.pendingRemovals.push_back(path);
}

void DropPendingRemoval(const std::wstring& path) {
  Termination& termination = TheTermination();
  const std::lock_guard guard(termination.lock);
  std::erase(termination.pendingRemovals, path);
}

BOOL WINAPI RemovePendingAndEnd(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT) return FALSE;
  Termination& termination = TheTermination();
  std::unique_lock guard(termination.lock);
  termination.terminating = true;
  termination.released.wait(guard, [&termination] { return termination.holds == 0; });
  // The temporary files are open with delete sharing, so they go as soon as the process has ended.
  for (const std::wstring& path : termination.pendingRemovals) ::DeleteFileW(path.c_str());
  // The next handler, the system's own, ends the process as the event would have.
  return FALSE;
}

// Makes to hold exactly what from holds.
bool CopyContent(const FileHandle& from, const FileHandle& to) {
  if (!Rewind(from.get()).ok() || !Rewind(to.get()).ok()) return false;
  char buffer[64 * 1024];
  for (;;) {
    DWORD got = 0;
    if (!::ReadFile(Win(from.get()), buffer, sizeof buffer, &got, nullptr)) return false;
    if (got == 0) return ::SetEndOfFile(Win(to.get()));
    if (const SystemResult written = WriteAll(to.get(), {buffer, got}); !written.ok()) {
      ::SetLastError(static_cast<DWORD>(written.systemError));
      return false;
    }
  }
}

// Gives the file the attributes a finished file should have: the target's, or none for a new file.
bool SetAttributes(const FileHandle& file, DWORD attributes) {
  constexpr DWORD kKept = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                          FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
  FILE_BASIC_INFO basic{};  // times of 0 stay as they are
  basic.FileAttributes = (attributes & kKept) != 0 ? attributes & kKept : FILE_ATTRIBUTE_NORMAL;
  return ::SetFileInformationByHandle(Win(file.get()), FileBasicInfo, &basic, sizeof basic);
}

// The security identifier of the user the process runs as, in storage of its own.
std::vector<char> ProcessUser() {
  HANDLE token = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) return {};
  const FileHandle tokenHandle(Native(token));
  DWORD size = 0;
  ::GetTokenInformation(token, TokenUser, nullptr, 0, &size);
  std::vector<char> user(size);
  if (size == 0 || !::GetTokenInformation(token, TokenUser, user.data(), size, &size)) return {};
  return user;
}

}  // namespace

std::string ResolveSaveTarget(const std::string& path) {
  const std::wstring wide = Wide(path);
  const DWORD attributes = ::GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) return path;
  // The system follows the whole chain; a chain that ends nowhere leaves the link, which Open refuses.
  FileHandle file;
  if (!windows::OpenToExamine(wide, 0, file).ok()) return path;
  const std::wstring final = FilledPath([&file](wchar_t* buffer, DWORD size) {
    return ::GetFinalPathNameByHandleW(Win(file.get()), buffer, size, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
  });
  if (final.empty()) return path;
  // The system gives the long form: \\?\C:\... or \\?\UNC\server\share\...
  if (final.starts_with(L"\\\\?\\UNC\\")) return "\\\\" + windows::Narrow(std::wstring_view(final).substr(8));
  if (final.starts_with(L"\\\\?\\")) return windows::Narrow(std::wstring_view(final).substr(4));
  return windows::Narrow(final);
}

// The replacement's state and steps on Windows: the target's folder is known by its path.
class AtomicFile::Replacement {
 public:
  Replacement() = default;
  Replacement(const Replacement&) = delete;
  Replacement& operator=(const Replacement&) = delete;
  ~Replacement() { Discard(); }

  SaveResult Open(const std::string& path) { return Outcome(OpenPath(path)); }
  SaveResult OpenIn(const HeldFolder& folder, const std::string& name) {
    Reset();
    folder_ = folder.path;
    return Outcome(Start(name, true));
  }
  SaveResult Write(std::string_view data) { return Outcome(WriteData(data)); }
  SaveResult Commit() { return Outcome(Finish()); }
  NativeHandle handle() const { return file_.get(); }
  const std::string& keptBackup() const { return keptBackup_; }

 private:
  bool OpenPath(const std::string& path);
  bool Start(const std::string& name, bool mustExist);
  bool Create(std::string& name, FileHandle& file);
  bool OwnerCanBeKept();
  bool WriteData(std::string_view data);
  bool Finish();
  bool RewriteInPlace();
  SaveResult Outcome(bool done) const;
  std::wstring PathOf(const std::string& name) const { return Wide(folder_ + name); }
  bool Fail(int error);
  void Remove(std::string& name);
  void Discard();
  void Reset();

  std::string folder_;     // the target's folder, absolute, ending in a separator
  std::string name_;       // the target's name in it
  bool exists_ = false;
  DWORD attributes_ = 0;   // the target's
  FileHandle file_;        // the new content
  std::string temporary_;  // its name
  FileHandle target_;      // the target itself, when rewritten in place
  FileHandle backup_;      // the target's old content, while it is rewritten in place
  std::string backupName_;
  std::string keptBackup_;
  int error_ = 0;
  bool folderRefused_ = false;
};

AtomicFile::AtomicFile() : replacement_(std::make_unique<Replacement>()) {}
AtomicFile::~AtomicFile() = default;
// Windows gives a new file the default security of its folder; there are no permission bits to give.
SaveResult AtomicFile::Open(const std::string& path, NewFilePermissions) { return replacement_->Open(path); }
SaveResult AtomicFile::OpenIn(const HeldFolder& folder, const std::string& name) { return replacement_->OpenIn(folder, name); }
SaveResult AtomicFile::Write(std::string_view data) { return replacement_->Write(data); }
NativeHandle AtomicFile::handle() const { return replacement_->handle(); }
SaveResult AtomicFile::Commit() { return replacement_->Commit(); }
const std::string& AtomicFile::keptBackup() const { return replacement_->keptBackup(); }

SaveResult AtomicFile::Replacement::Outcome(bool done) const {
  if (done) return {};
  return {{error_}, folderRefused_};
}

bool AtomicFile::Replacement::OpenPath(const std::string& path) {
  Reset();
  if (path.empty()) return Fail(ERROR_FILE_NOT_FOUND);
  const std::string target = ResolveSaveTarget(path);
  folder_ = FolderOf(target);
  if (folder_.size() == target.size()) return Fail(windows::kDirectoryNotSupportedError);
  return Start(target.substr(folder_.size()), false);
}

bool AtomicFile::Replacement::Start(const std::string& name, bool mustExist) {
  folder_ = AbsoluteFolder(folder_);
  if (folder_.empty()) return Fail(LastError());
  name_ = name;
  const std::wstring path = PathOf(name_);
  FileHandle look;
  BY_HANDLE_FILE_INFORMATION info{};
  SystemResult examined = windows::OpenToExamine(path, FILE_FLAG_OPEN_REPARSE_POINT, look);
  // A device (NUL, CON) has no file information to give.
  if (examined.ok() && ::GetFileType(Win(look.get())) != FILE_TYPE_DISK) return Fail(kNotRegularFileError);
  if (examined.ok()) examined = windows::Examine(look.get(), info);
  exists_ = examined.ok();
  // A folder that may not be searched and the like fail here, before anything is made.
  if (!exists_ && (mustExist || examined.systemError != ERROR_FILE_NOT_FOUND)) return Fail(examined.systemError);
  if (exists_) {
    // What is left of a chain of links that ends nowhere, or a link put in place of a listed file.
    if (windows::IsLink(look.get(), info)) return Fail(windows::kStoppedOnLinkError);
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return Fail(windows::kDirectoryNotSupportedError);
    if (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) return Fail(ERROR_ACCESS_DENIED);
    attributes_ = info.dwFileAttributes;
    // Fails while another program holds the file without sharing, or when it may not be written.
    target_.Reset(Native(::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE | READ_CONTROL,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                       FILE_FLAG_OPEN_REPARSE_POINT, nullptr)));
    BY_HANDLE_FILE_INFORMATION now{};
    if (!target_.IsOpen() || !windows::Examine(target_.get(), now).ok()) return Fail(LastError());
    if (windows::IdentityOf(now) != windows::IdentityOf(info)) return Fail(ERROR_SHARING_VIOLATION);
  }
  if (!Create(temporary_, file_)) return false;
  // The system's replace takes the new file in the target's place, which would cut the target's
  // other names and give it the saver as owner; only the target itself keeps those.
  const bool inPlace = exists_ && (info.nNumberOfLinks > 1 || !OwnerCanBeKept());
  if (!inPlace) target_.Reset();
  return true;
}

bool AtomicFile::Replacement::Create(std::string& name, FileHandle& file) {
  const std::string prefix = "." + name_ + ".propdesk-";
  for (int attempt = 0; attempt < 100; ++attempt) {
    unsigned char random[6];
    if (const NTSTATUS status = ::BCryptGenRandom(nullptr, random, sizeof random, BCRYPT_USE_SYSTEM_PREFERRED_RNG);
        status < 0) {
      return Fail(ERROR_GEN_FAILURE);
    }
    std::string candidate = prefix;
    for (const unsigned char byte : random) candidate += "0123456789abcdefghijklmnopqrstuv"[byte % 32];
    const std::wstring path = PathOf(candidate);
    int error = 0;
    {
      TerminationHold hold;
      if (!hold) return Fail(ERROR_OPERATION_ABORTED);
      // Delete sharing lets the termination handler remove the file while it is open here.
      file.Reset(Native(::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE | WRITE_OWNER,
                                      FILE_SHARE_DELETE, nullptr, CREATE_NEW, FILE_ATTRIBUTE_HIDDEN, nullptr)));
      if (file.IsOpen()) {
        AddPendingRemoval(path);
        name = std::move(candidate);
        return true;
      }
      error = LastError();
    }
    folderRefused_ = error == ERROR_ACCESS_DENIED;
    if (error != ERROR_FILE_EXISTS) return Fail(error);
  }
  return Fail(ERROR_FILE_EXISTS);
}

// Whether the new file can have the target's owner: the target is the saver's own, or the saver
// may give the new file to its owner. When the owner cannot be learnt the system's replace is used.
bool AtomicFile::Replacement::OwnerCanBeKept() {
  PSID owner = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (::GetSecurityInfo(Win(target_.get()), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr,
                        nullptr, &descriptor) != ERROR_SUCCESS) {
    return true;
  }
  std::vector<char> user = ProcessUser();
  const bool kept = user.empty() || ::EqualSid(owner, reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid) ||
                    ::SetSecurityInfo(Win(file_.get()), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, owner, nullptr,
                                      nullptr, nullptr) == ERROR_SUCCESS;
  ::LocalFree(descriptor);
  return kept;
}

bool AtomicFile::Replacement::WriteData(std::string_view data) {
  if (!file_.IsOpen()) return Fail(ERROR_INVALID_HANDLE);
  const SystemResult written = WriteAll(file_.get(), data);
  return written.ok() || Fail(written.systemError);
}

bool AtomicFile::Replacement::Finish() {
  if (!file_.IsOpen()) return Fail(ERROR_INVALID_HANDLE);
  if (target_.IsOpen()) return RewriteInPlace();
  // The system's replace does not carry the target's attributes over everywhere, so the new file
  // takes them itself, and loses the hidden mark of a temporary file.
  if (!::FlushFileBuffers(Win(file_.get())) || !SetAttributes(file_, exists_ ? attributes_ : 0) || !file_.Close()) {
    return Fail(LastError());
  }
  const std::wstring target = PathOf(name_);
  const std::wstring temporary = PathOf(temporary_);
  // The replace keeps the target's ACL, alternate streams and other names of its metadata.
  const bool replaced =
      exists_ ? ::ReplaceFileW(target.c_str(), temporary.c_str(), nullptr,
                               REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS, nullptr, nullptr)
              : ::MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (!replaced) return Fail(LastError());
  DropPendingRemoval(temporary);
  temporary_.clear();
  return true;
}

bool AtomicFile::Replacement::RewriteInPlace() {
  if (!Create(backupName_, backup_)) return false;
  if (!CopyContent(target_, backup_) || !::FlushFileBuffers(Win(backup_.get()))) return Fail(LastError());
  TerminationHold hold;
  if (!hold) return Fail(ERROR_OPERATION_ABORTED);
  if (!CopyContent(file_, target_) || !::FlushFileBuffers(Win(target_.get()))) {
    const int error = LastError();
    if (!CopyContent(backup_, target_) || !::FlushFileBuffers(Win(target_.get()))) {
      // The backup stays, in plain sight, for the person to recover the old content from.
      SetAttributes(backup_, 0);
      DropPendingRemoval(PathOf(backupName_));
      keptBackup_.swap(backupName_);
    }
    return Fail(error);
  }
  Discard();
  return true;
}

bool AtomicFile::Replacement::Fail(int error) {
  error_ = error;
  Discard();
  return false;
}

void AtomicFile::Replacement::Remove(std::string& name) {
  if (name.empty()) return;
  const std::wstring path = PathOf(name);
  ::DeleteFileW(path.c_str());
  DropPendingRemoval(path);
  name.clear();
}

void AtomicFile::Replacement::Reset() {
  Discard();
  error_ = 0;
  folderRefused_ = false;
  exists_ = false;
  attributes_ = 0;
  keptBackup_.clear();
}

void AtomicFile::Replacement::Discard() {
  file_.Reset();
  backup_.Reset();
  target_.Reset();
  Remove(temporary_);
  Remove(backupName_);
}

void RemoveTemporaryFilesOnTermination() {
  // Ctrl+C stays ignored where it was: the system then calls no handler for it.
  static const bool installed = ::SetConsoleCtrlHandler(RemovePendingAndEnd, TRUE);
  (void)installed;
}

}  // namespace propdesk
