#include "common/atomic_file.h"

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>

namespace propdesk {
namespace {

std::string FolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

constexpr mode_t kWriteBits = S_IWUSR | S_IWGRP | S_IWOTH;
constexpr const char* kAccessAcl = "system.posix_acl_access";
constexpr int kTerminationSignals[] = {SIGINT, SIGTERM, SIGHUP};

// Temporary files of unfinished replacements, for the signal handler to remove. Fixed storage
// that the handler only reads; a slot is claimed before its name is written, so that threads
// replacing files at once each get their own. A replacement rewritten in place has two files.
struct PendingRemoval {
  enum State { kFree, kFilling, kReady };
  std::atomic<int> state{kFree};
  int folder = -1;
  char name[NAME_MAX + 1] = {};
};
PendingRemoval pendingRemovals[2 * kMaxUnfinishedReplacements];

// Set by the signal handler before it removes anything; no temporary file is started after it.
std::atomic<bool> terminating{false};
// Threads inside a TerminationHold; the handler waits for them to leave before it removes files.
std::atomic<int> holds{0};
static_assert(std::atomic<int>::is_always_lock_free && std::atomic<bool>::is_always_lock_free,
              "the signal handler may only use lock-free atomics");

// Keeps the termination handler from removing files while a temporary file is created (so that
// none is made after the handler has looked) or while a file is rewritten in place (whose backup
// must stay until the rewrite is complete). Refused once termination has begun. The signals are
// blocked in the holding thread, so that the handler never waits for the thread it interrupted.
class TerminationHold {
 public:
  TerminationHold() {
    sigset_t signals;
    sigemptyset(&signals);
    for (const int signal : kTerminationSignals) sigaddset(&signals, signal);
    ::pthread_sigmask(SIG_BLOCK, &signals, &previous_);
    holds.fetch_add(1);
    held_ = !terminating.load();
    if (!held_) holds.fetch_sub(1);
  }
  TerminationHold(const TerminationHold&) = delete;
  TerminationHold& operator=(const TerminationHold&) = delete;
  ~TerminationHold() {
    if (held_) holds.fetch_sub(1);
    ::pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
  }
  explicit operator bool() const { return held_; }

 private:
  sigset_t previous_;
  bool held_ = false;
};

bool AddPendingRemoval(int folder, const std::string& name) {
  if (name.size() > NAME_MAX) return false;
  for (PendingRemoval& slot : pendingRemovals) {
    int expected = PendingRemoval::kFree;
    if (!slot.state.compare_exchange_strong(expected, PendingRemoval::kFilling)) continue;
    slot.folder = folder;
    std::memcpy(slot.name, name.c_str(), name.size() + 1);
    slot.state.store(PendingRemoval::kReady);
    return true;
  }
  return false;
}

// Only the thread that added a name drops it, so a ready slot with that name is its own.
void DropPendingRemoval(int folder, const std::string& name) {
  for (PendingRemoval& slot : pendingRemovals) {
    if (slot.state.load() == PendingRemoval::kReady && slot.folder == folder && name == slot.name) {
      slot.state.store(PendingRemoval::kFree);
    }
  }
}

extern "C" void RemovePendingAndEnd(int signal) {
  terminating.store(true);
  while (holds.load() != 0) {
    const timespec pause{0, 1'000'000};
    ::nanosleep(&pause, nullptr);
  }
  for (const PendingRemoval& slot : pendingRemovals) {
    if (slot.state.load() == PendingRemoval::kReady) ::unlinkat(slot.folder, slot.name, 0);
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
  if (!ReadAttributeBytes(names, [&](char* buffer, std::size_t size) { return ::llistxattr(source, buffer, size); })) {
    return errno == ENOTSUP;
  }
  bool hasAccessAcl = false;
  for (std::size_t start = 0; start < names.size(); start = names.find('\0', start) + 1) {
    const char* name = names.c_str() + start;
    const bool isAccessAcl = std::strcmp(name, kAccessAcl) == 0;
    hasAccessAcl = hasAccessAcl || isAccessAcl;
    std::string value;
    const bool copied =
        ReadAttributeBytes(value, [&](char* buffer, std::size_t size) { return ::lgetxattr(source, name, buffer, size); }) &&
        ::fsetxattr(destination, name, value.data(), value.size(), 0) == 0;
    if (!copied && isAccessAcl) return false;
  }
  return hasAccessAcl || ::fremovexattr(destination, kAccessAcl) == 0 || errno == ENODATA || errno == ENOTSUP;
}

// Makes to hold exactly what from holds; false with errno set on failure.
bool CopyContent(int from, int to) {
  char buffer[64 * 1024];
  off_t offset = 0;
  for (;;) {
    const ssize_t got = ::pread(from, buffer, sizeof buffer, offset);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) return ::ftruncate(to, offset) == 0;
    for (ssize_t done = 0; done < got;) {
      const ssize_t written = ::pwrite(to, buffer + done, static_cast<std::size_t>(got - done), offset + done);
      if (written < 0 && errno == EINTR) continue;
      if (written < 0) return false;
      done += written;
    }
    offset += got;
  }
}

}  // namespace

std::string ResolveSaveTarget(const std::string& path) {
  std::string target = path;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat info {};
    if (::lstat(target.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return target;
    char link[PATH_MAX];
    const ssize_t length = ::readlink(target.c_str(), link, sizeof link);
    if (length <= 0 || static_cast<std::size_t>(length) >= sizeof link) return target;
    std::string next(link, static_cast<std::size_t>(length));
    if (next.front() != '/') next = FolderOf(target) + next;
    target = std::move(next);
  }
  return target;
}

AtomicFile::~AtomicFile() { Discard(); }

SaveResult AtomicFile::Open(const std::string& path, std::optional<mode_t> newFileMode) {
  return Outcome(OpenPath(path, newFileMode));
}

SaveResult AtomicFile::OpenAt(int folder, const std::string& name) { return Outcome(OpenName(folder, name)); }

SaveResult AtomicFile::Write(std::string_view data) { return Outcome(WriteData(data)); }

SaveResult AtomicFile::Commit() { return Outcome(Finish()); }

SaveResult AtomicFile::Outcome(bool done) const {
  if (done) return {};
  return {{error_}, folderRefused_};
}

bool AtomicFile::OpenPath(const std::string& path, std::optional<mode_t> newFileMode) {
  Reset();
  if (path.empty()) return Fail(ENOENT);
  const std::string target = ResolveSaveTarget(path);
  const std::string folder = FolderOf(target);
  if (folder.size() == target.size()) return Fail(EISDIR);
  folder_.Reset(::open(folder.empty() ? "." : folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
  if (folder_.get() < 0) return Fail(errno);
  return Start(target.substr(folder.size()), newFileMode);
}

bool AtomicFile::OpenName(int folder, const std::string& name) {
  Reset();
  folder_.Reset(::fcntl(folder, F_DUPFD_CLOEXEC, 0));
  if (folder_.get() < 0) return Fail(errno);
  if (::faccessat(folder_.get(), name.c_str(), F_OK, AT_SYMLINK_NOFOLLOW) != 0) return Fail(errno);
  return Start(name, std::nullopt);
}

bool AtomicFile::Start(const std::string& name, std::optional<mode_t> newFileMode) {
  name_ = name;
  struct stat info {};
  const bool exists = ::fstatat(folder_.get(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0;
  // A folder that may not be searched and the like fail here, before anything is made.
  if (!exists && errno != ENOENT) return Fail(errno);
  if (exists) {
    // What is left of a chain of links after too many hops, or a link put in place of a listed file.
    if (S_ISLNK(info.st_mode)) return Fail(ELOOP);
    if (S_ISDIR(info.st_mode)) return Fail(EISDIR);
    if (!S_ISREG(info.st_mode)) return Fail(ENOTSUP);
    if ((info.st_mode & kWriteBits) == 0) return Fail(EACCES);
    if (::faccessat(folder_.get(), name.c_str(), W_OK, 0) != 0) return Fail(errno);
  }
  // The new content of an existing file stays private until it has the target's owner and bits.
  if (!Create(temporary_, file_, exists ? 0600 : 0666)) return false;
  if (!exists) return !newFileMode || ::fchmod(file_.get(), *newFileMode) == 0 || Fail(errno);
  // Giving the new file the target's owner and group needs the right to; without it, and for a file
  // with other names, only the target itself keeps what it is.
  const bool inPlace = info.st_nlink > 1 || ::fchown(file_.get(), info.st_uid, info.st_gid) != 0;
  return inPlace ? OpenTargetInPlace(info) : TakeOverAttributes(info);
}

bool AtomicFile::Create(std::string& name, FileDescriptor& file, mode_t mode) {
  const std::string prefix = "." + name_ + ".propdesk-";
  for (int attempt = 0; attempt < 100; ++attempt) {
    unsigned char random[6];
    if (::getrandom(random, sizeof random, 0) != static_cast<ssize_t>(sizeof random)) return Fail(errno);
    std::string candidate = prefix;
    for (const unsigned char byte : random) candidate += "0123456789abcdefghijklmnopqrstuv"[byte % 32];
    int error = 0;
    {
      TerminationHold hold;
      if (!hold) return Fail(EINTR);
      if (!AddPendingRemoval(folder_.get(), candidate)) return Fail(candidate.size() > NAME_MAX ? ENAMETOOLONG : EAGAIN);
      file.Reset(::openat(folder_.get(), candidate.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode));
      if (file.get() >= 0) {
        name = std::move(candidate);
        return true;
      }
      error = errno;
      DropPendingRemoval(folder_.get(), candidate);
    }
    folderRefused_ = error == EACCES;
    if (error != EEXIST) return Fail(error);
  }
  return Fail(EEXIST);
}

bool AtomicFile::TakeOverAttributes(const struct stat& target) {
  // The attributes are read through the folder held open, never through a link.
  char source[64];
  std::snprintf(source, sizeof source, "/proc/self/fd/%d/", folder_.get());
  if (!CopyExtendedAttributes((source + name_).c_str(), file_.get())) return Fail(errno);
  // Last, since an ACL sets the group bits.
  return ::fchmod(file_.get(), target.st_mode & 07777) == 0 || Fail(errno);
}

bool AtomicFile::OpenTargetInPlace(const struct stat& target) {
  target_.Reset(::openat(folder_.get(), name_.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  struct stat now {};
  if (target_.get() < 0 || ::fstat(target_.get(), &now) != 0) return Fail(errno);
  return (now.st_dev == target.st_dev && now.st_ino == target.st_ino) || Fail(EAGAIN);
}

bool AtomicFile::WriteData(std::string_view data) {
  if (file_.get() < 0) return Fail(EBADF);
  const SystemResult written = WriteAll(file_.get(), data);
  return written.ok() || Fail(written.systemError);
}

bool AtomicFile::Finish() {
  if (file_.get() < 0) return Fail(EBADF);
  if (target_.get() >= 0) return RewriteInPlace();
  if (::fsync(file_.get()) != 0 || !file_.Close() ||
      ::renameat(folder_.get(), temporary_.c_str(), folder_.get(), name_.c_str()) != 0) {
    return Fail(errno);
  }
  DropPendingRemoval(folder_.get(), temporary_);
  temporary_.clear();
  // Makes the rename durable. A folder that may not be read cannot be synced, nor can one on a file
  // system that does not sync folders; the rename stands then as the system keeps it.
  FileDescriptor folder(::openat(folder_.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  const bool synced = folder.get() < 0 || ::fsync(folder.get()) == 0 || errno == EINVAL;
  return synced || Fail(errno);
}

bool AtomicFile::RewriteInPlace() {
  if (!Create(backupName_, backup_, 0600)) return false;
  if (!CopyContent(target_.get(), backup_.get()) || ::fsync(backup_.get()) != 0) return Fail(errno);
  TerminationHold hold;
  if (!hold) return Fail(EINTR);
  if (!CopyContent(file_.get(), target_.get()) || ::fsync(target_.get()) != 0) {
    const int error = errno;
    if (!CopyContent(backup_.get(), target_.get()) || ::fsync(target_.get()) != 0) {
      DropPendingRemoval(folder_.get(), backupName_);
      keptBackup_.swap(backupName_);
    }
    return Fail(error);
  }
  Discard();
  return true;
}

bool AtomicFile::Fail(int error) {
  error_ = error;
  Discard();
  return false;
}

void AtomicFile::Remove(std::string& name) {
  if (name.empty()) return;
  ::unlinkat(folder_.get(), name.c_str(), 0);
  DropPendingRemoval(folder_.get(), name);
  name.clear();
}

void AtomicFile::Reset() {
  Discard();
  error_ = 0;
  folderRefused_ = false;
  keptBackup_.clear();
}

void AtomicFile::Discard() {
  file_.Reset(-1);
  backup_.Reset(-1);
  target_.Reset(-1);
  Remove(temporary_);
  Remove(backupName_);
  folder_.Reset(-1);
}

void RemoveTemporaryFilesOnTermination() {
  for (const int signal : kTerminationSignals) {
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
