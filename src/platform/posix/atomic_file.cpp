#include "platform/atomic_file.h"

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

#include "platform/folder_walk.h"

namespace propdesk {
namespace {

int fd(const FileHandle& file) { return static_cast<int>(file.get()); }

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


// The replacement's state and steps on POSIX: the target's folder is held open and every step
// reaches the files through it.
class AtomicFile::Replacement {
 public:
  Replacement() = default;
  Replacement(const Replacement&) = delete;
  Replacement& operator=(const Replacement&) = delete;
  ~Replacement() { Discard(); }

  SaveResult Open(const std::string& path, NewFilePermissions permissions) { return Outcome(OpenPath(path, permissions)); }
  SaveResult OpenIn(const HeldFolder& folder, const std::string& name) {
    return Outcome(OpenName(static_cast<int>(folder.handle.get()), name));
  }
  SaveResult Write(std::string_view data) { return Outcome(WriteData(data)); }
  SaveResult Commit() { return Outcome(Finish()); }
  NativeHandle handle() const { return file_.get(); }
  const std::string& keptBackup() const { return keptBackup_; }

 private:
  bool OpenPath(const std::string& path, NewFilePermissions permissions);
  bool OpenName(int folder, const std::string& name);
  bool WriteData(std::string_view data);
  bool Finish();
  SaveResult Outcome(bool done) const;
  bool Start(const std::string& name, NewFilePermissions permissions);
  bool Create(std::string& name, FileHandle& file, mode_t mode);
  bool TakeOverAttributes(const struct stat& target);
  bool OpenTargetInPlace(const struct stat& target);
  bool RewriteInPlace();
  bool Fail(int error);
  void Remove(std::string& name);
  void Discard();
  void Reset();

  FileHandle folder_;       // the target's folder
  std::string name_;        // the target's name in it
  FileHandle file_;         // the new content
  std::string temporary_;   // its name
  FileHandle target_;       // the target itself, when rewritten in place
  FileHandle backup_;       // the target's old content, while it is rewritten in place
  std::string backupName_;
  std::string keptBackup_;
  int error_ = 0;
  bool folderRefused_ = false;
};

AtomicFile::AtomicFile() : replacement_(std::make_unique<Replacement>()) {}
AtomicFile::~AtomicFile() = default;
SaveResult AtomicFile::Open(const std::string& path, NewFilePermissions permissions) {
  return replacement_->Open(path, permissions);
}
SaveResult AtomicFile::OpenIn(const HeldFolder& folder, const std::string& name) { return replacement_->OpenIn(folder, name); }
SaveResult AtomicFile::Write(std::string_view data) { return replacement_->Write(data); }
NativeHandle AtomicFile::handle() const { return replacement_->handle(); }
SaveResult AtomicFile::Commit() { return replacement_->Commit(); }
const std::string& AtomicFile::keptBackup() const { return replacement_->keptBackup(); }

SaveResult AtomicFile::Replacement::Outcome(bool done) const {
  if (done) return {};
  return {{error_}, folderRefused_};
}

bool AtomicFile::Replacement::OpenPath(const std::string& path, NewFilePermissions permissions) {
  Reset();
  if (path.empty()) return Fail(ENOENT);
  const std::string target = ResolveSaveTarget(path);
  const std::string folder = FolderOf(target);
  if (folder.size() == target.size()) return Fail(EISDIR);
  folder_.Reset(::open(folder.empty() ? "." : folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
  if (!folder_.IsOpen()) return Fail(errno);
  return Start(target.substr(folder.size()), permissions);
}

bool AtomicFile::Replacement::OpenName(int folder, const std::string& name) {
  Reset();
  folder_.Reset(::fcntl(folder, F_DUPFD_CLOEXEC, 0));
  if (!folder_.IsOpen()) return Fail(errno);
  if (::faccessat(fd(folder_), name.c_str(), F_OK, AT_SYMLINK_NOFOLLOW) != 0) return Fail(errno);
  return Start(name, std::nullopt);
}

bool AtomicFile::Replacement::Start(const std::string& name, NewFilePermissions permissions) {
  name_ = name;
  struct stat info {};
  const bool exists = ::fstatat(fd(folder_), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0;
  // A folder that may not be searched and the like fail here, before anything is made.
  if (!exists && errno != ENOENT) return Fail(errno);
  if (exists) {
    // What is left of a chain of links after too many hops, or a link put in place of a listed file.
    if (S_ISLNK(info.st_mode)) return Fail(ELOOP);
    if (S_ISDIR(info.st_mode)) return Fail(EISDIR);
    if (!S_ISREG(info.st_mode)) return Fail(ENOTSUP);
    if ((info.st_mode & kWriteBits) == 0) return Fail(EACCES);
    if (::faccessat(fd(folder_), name.c_str(), W_OK, 0) != 0) return Fail(errno);
  }
  // The new content of an existing file stays private until it has the target's owner and bits.
  if (!Create(temporary_, file_, exists ? 0600 : 0666)) return false;
  if (!exists) return !permissions || ::fchmod(fd(file_), *permissions) == 0 || Fail(errno);
  // Giving the new file the target's owner and group needs the right to; without it, and for a file
  // with other names, only the target itself keeps what it is.
  const bool inPlace = info.st_nlink > 1 || ::fchown(fd(file_), info.st_uid, info.st_gid) != 0;
  return inPlace ? OpenTargetInPlace(info) : TakeOverAttributes(info);
}

bool AtomicFile::Replacement::Create(std::string& name, FileHandle& file, mode_t mode) {
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
      if (!AddPendingRemoval(fd(folder_), candidate)) return Fail(candidate.size() > NAME_MAX ? ENAMETOOLONG : EAGAIN);
      file.Reset(::openat(fd(folder_), candidate.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode));
      if (file.IsOpen()) {
        name = std::move(candidate);
        return true;
      }
      error = errno;
      DropPendingRemoval(fd(folder_), candidate);
    }
    folderRefused_ = error == EACCES;
    if (error != EEXIST) return Fail(error);
  }
  return Fail(EEXIST);
}

bool AtomicFile::Replacement::TakeOverAttributes(const struct stat& target) {
  // The attributes are read through the folder held open, never through a link.
  char source[64];
  std::snprintf(source, sizeof source, "/proc/self/fd/%d/", fd(folder_));
  if (!CopyExtendedAttributes((source + name_).c_str(), fd(file_))) return Fail(errno);
  // Last, since an ACL sets the group bits.
  return ::fchmod(fd(file_), target.st_mode & 07777) == 0 || Fail(errno);
}

bool AtomicFile::Replacement::OpenTargetInPlace(const struct stat& target) {
  target_.Reset(::openat(fd(folder_), name_.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  struct stat now {};
  if (!target_.IsOpen() || ::fstat(fd(target_), &now) != 0) return Fail(errno);
  return (now.st_dev == target.st_dev && now.st_ino == target.st_ino) || Fail(EAGAIN);
}

bool AtomicFile::Replacement::WriteData(std::string_view data) {
  if (!file_.IsOpen()) return Fail(EBADF);
  const SystemResult written = WriteAll(fd(file_), data);
  return written.ok() || Fail(written.systemError);
}

bool AtomicFile::Replacement::Finish() {
  if (!file_.IsOpen()) return Fail(EBADF);
  if (target_.IsOpen()) return RewriteInPlace();
  if (::fsync(fd(file_)) != 0 || !file_.Close() ||
      ::renameat(fd(folder_), temporary_.c_str(), fd(folder_), name_.c_str()) != 0) {
    return Fail(errno);
  }
  DropPendingRemoval(fd(folder_), temporary_);
  temporary_.clear();
  // Makes the rename durable. A folder that may not be read cannot be synced, nor can one on a file
  // system that does not sync folders; the rename stands then as the system keeps it.
  FileHandle folder(::openat(fd(folder_), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  const bool synced = !folder.IsOpen() || ::fsync(fd(folder)) == 0 || errno == EINVAL;
  return synced || Fail(errno);
}

bool AtomicFile::Replacement::RewriteInPlace() {
  if (!Create(backupName_, backup_, 0600)) return false;
  if (!CopyContent(fd(target_), fd(backup_)) || ::fsync(fd(backup_)) != 0) return Fail(errno);
  TerminationHold hold;
  if (!hold) return Fail(EINTR);
  if (!CopyContent(fd(file_), fd(target_)) || ::fsync(fd(target_)) != 0) {
    const int error = errno;
    if (!CopyContent(fd(backup_), fd(target_)) || ::fsync(fd(target_)) != 0) {
      DropPendingRemoval(fd(folder_), backupName_);
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
  ::unlinkat(fd(folder_), name.c_str(), 0);
  DropPendingRemoval(fd(folder_), name);
  name.clear();
}

void AtomicFile::Replacement::Reset() {
  Discard();
  error_ = 0;
  folderRefused_ = false;
  keptBackup_.clear();
}

void AtomicFile::Replacement::Discard() {
  file_.Reset();
  backup_.Reset();
  target_.Reset();
  Remove(temporary_);
  Remove(backupName_);
  folder_.Reset();
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
