#include "common/atomic_file.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>

namespace propdesk {
namespace {

// The file a save replaces: the path itself, or what its chain of symbolic links names.
std::string ResolveSaveTarget(const std::string& path) {
  std::string target = path;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat info {};
    if (::lstat(target.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return target;
    char link[PATH_MAX];
    const ssize_t length = ::readlink(target.c_str(), link, sizeof link);
    if (length <= 0 || static_cast<std::size_t>(length) >= sizeof link) return target;
    std::string next(link, static_cast<std::size_t>(length));
    if (next.front() != '/') {
      const auto slash = target.rfind('/');
      if (slash != std::string::npos) next = target.substr(0, slash + 1) + next;
    }
    target = std::move(next);
  }
  return target;
}

std::string FolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

constexpr mode_t kWriteBits = S_IWUSR | S_IWGRP | S_IWOTH;
constexpr const char* kAccessAcl = "system.posix_acl_access";

// Temporary files of unfinished replacements, for the signal handler to remove. Fixed storage
// that the handler only reads; a slot is claimed before its path is written, so that threads
// replacing files at once each get their own.
struct PendingRemoval {
  enum State { kFree, kFilling, kReady };
  std::atomic<int> state{kFree};
  char path[PATH_MAX] = {};
};
PendingRemoval pendingRemovals[kMaxUnfinishedReplacements];

void AddPendingRemoval(const std::string& path) {
  if (path.size() >= PATH_MAX) return;
  for (PendingRemoval& slot : pendingRemovals) {
    int expected = PendingRemoval::kFree;
    if (!slot.state.compare_exchange_strong(expected, PendingRemoval::kFilling)) continue;
    std::memcpy(slot.path, path.c_str(), path.size() + 1);
    slot.state.store(PendingRemoval::kReady);
    return;
  }
}

// Only the thread that added a path drops it, so a ready slot with that path is its own.
void DropPendingRemoval(const std::string& path) {
  for (PendingRemoval& slot : pendingRemovals) {
    if (slot.state.load() == PendingRemoval::kReady && path == slot.path) slot.state.store(PendingRemoval::kFree);
  }
}

extern "C" void RemovePendingAndEnd(int signal) {
  for (const PendingRemoval& slot : pendingRemovals) {
    if (slot.state.load() == PendingRemoval::kReady) ::unlink(slot.path);
  }
  // The handler was reset on entry, so this ends the process with the signal's own status.
  ::raise(signal);
}

// An extended attribute's names (NUL-separated) or value; false with errno set on failure.
template <typename Query>
bool ReadAttributeBytes(std::string& bytes, Query query) {
  const ssize_t size = query(nullptr, 0);
  if (size < 0) return false;
  bytes.resize(static_cast<std::size_t>(size));
  const ssize_t got = query(bytes.data(), bytes.size());
  if (got < 0) return false;
  bytes.resize(static_cast<std::size_t>(got));
  return true;
}

// Copies the extended attributes of the file at source onto destination. The access ACL must come
// across (or be absent when the source has none, though the folder's default ACL gave one): the
// group bits alone would grant what the ACL's mask withheld. The others are copied where the
// saving user may set them.
bool CopyExtendedAttributes(const char* source, int destination) {
  std::string names;
  if (!ReadAttributeBytes(names, [&](char* buffer, std::size_t size) { return ::listxattr(source, buffer, size); })) {
    return errno == ENOTSUP;
  }
  bool hasAccessAcl = false;
  for (std::size_t start = 0; start < names.size(); start = names.find('\0', start) + 1) {
    const char* name = names.c_str() + start;
    const bool isAccessAcl = std::strcmp(name, kAccessAcl) == 0;
    hasAccessAcl = hasAccessAcl || isAccessAcl;
    std::string value;
    const bool copied =
        ReadAttributeBytes(value, [&](char* buffer, std::size_t size) { return ::getxattr(source, name, buffer, size); }) &&
        ::fsetxattr(destination, name, value.data(), value.size(), 0) == 0;
    if (!copied && isAccessAcl) return false;
  }
  return hasAccessAcl || ::fremovexattr(destination, kAccessAcl) == 0 || errno == ENODATA || errno == ENOTSUP;
}

// Makes a finished rename durable. A folder that may not be read cannot be synced, nor can one on
// a file system that does not sync folders; the rename stands then as the system keeps it.
bool SyncFolder(const std::string& folder) {
  FileDescriptor handle(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  return handle.get() < 0 || ::fsync(handle.get()) == 0 || errno == EINVAL;
}

}  // namespace

AtomicFile::~AtomicFile() { Discard(); }

bool AtomicFile::Open(const std::string& path, std::optional<mode_t> newFileMode) {
  Discard();
  if (path.empty()) return Fail(ENOENT);
  struct stat info {};
  const bool exists = ::stat(path.c_str(), &info) == 0;
  // A link loop, a folder that may not be searched and the like fail here, before anything is made.
  if (!exists && errno != ENOENT) return Fail(errno);
  if (exists) {
    if (S_ISDIR(info.st_mode)) return Fail(EISDIR);
    if (!S_ISREG(info.st_mode)) return Fail(ENOTSUP);
    if ((info.st_mode & kWriteBits) == 0) return Fail(EACCES);
    if (::access(path.c_str(), W_OK) != 0) return Fail(errno);
  }
  target_ = ResolveSaveTarget(path);
  // The new content of an existing file stays private until it has the target's owner and bits.
  if (!CreateTemporary(exists ? 0600 : 0666)) return false;
  if (exists) return TakeOverAttributes(info);
  return !newFileMode || ::fchmod(file_.get(), *newFileMode) == 0 || Fail(errno);
}

bool AtomicFile::CreateTemporary(mode_t mode) {
  const std::string folder = FolderOf(target_);
  const std::string prefix = folder + "." + target_.substr(folder.size()) + ".propdesk-";
  for (int attempt = 0; attempt < 100; ++attempt) {
    unsigned char random[6];
    if (::getrandom(random, sizeof random, 0) != static_cast<ssize_t>(sizeof random)) return Fail(errno);
    std::string name = prefix;
    for (const unsigned char byte : random) name += "0123456789abcdefghijklmnopqrstuv"[byte % 32];
    file_.Reset(::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode));
    if (file_.get() >= 0) {
      temporary_ = std::move(name);
      AddPendingRemoval(temporary_);
      return true;
    }
    if (errno != EEXIST) return Fail(errno);
  }
  return Fail(EEXIST);
}

bool AtomicFile::TakeOverAttributes(const struct stat& target) {
  mode_t mode = target.st_mode & 07777;
  if (::fchown(file_.get(), target.st_uid, target.st_gid) != 0) {
    // The file becomes the saving user's: it must not run with its former owner's rights.
    mode &= ~S_ISUID;
    if (::fchown(file_.get(), static_cast<uid_t>(-1), target.st_gid) != 0) mode &= ~S_ISGID;
  }
  if (!CopyExtendedAttributes(target_.c_str(), file_.get())) return Fail(errno);
  // Last, since a change of owner clears the setuid bit and an ACL sets the group bits.
  return ::fchmod(file_.get(), mode) == 0 || Fail(errno);
}

bool AtomicFile::Write(std::string_view data) {
  return (file_.get() >= 0 && WriteAll(file_.get(), data)) || Fail(file_.get() >= 0 ? errno : EBADF);
}

bool AtomicFile::Commit() {
  if (file_.get() < 0) return Fail(EBADF);
  if (::fsync(file_.get()) != 0 || !file_.Close() || ::rename(temporary_.c_str(), target_.c_str()) != 0) {
    return Fail(errno);
  }
  DropPendingRemoval(temporary_);
  temporary_.clear();
  return SyncFolder(FolderOf(target_)) || Fail(errno);
}

bool AtomicFile::Fail(int error) {
  error_ = error;
  Discard();
  return false;
}

void AtomicFile::Discard() {
  file_.Reset(-1);
  if (temporary_.empty()) return;
  ::unlink(temporary_.c_str());
  DropPendingRemoval(temporary_);
  temporary_.clear();
}

void RemoveTemporaryFilesOnTermination() {
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    struct sigaction previous {};
    if (::sigaction(signal, nullptr, &previous) != 0 || previous.sa_handler == SIG_IGN) continue;
    struct sigaction action {};
    action.sa_handler = RemovePendingAndEnd;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND | SA_NODEFER;
    ::sigaction(signal, &action, nullptr);
  }
}

}  // namespace propdesk
