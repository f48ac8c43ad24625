#include "platform/file_handle.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace propdesk {
namespace {

int Descriptor(NativeHandle file) { return static_cast<int>(file); }

}  // namespace

FileHandle::~FileHandle() { Reset(); }

void FileHandle::Reset(NativeHandle handle) {
  if (handle_ != kNoHandle) ::close(Descriptor(handle_));
  handle_ = handle;
}

bool FileHandle::Close() {
  const NativeHandle handle = handle_;
  handle_ = kNoHandle;
  return handle != kNoHandle && ::close(Descriptor(handle)) == 0;
}

NativeHandle StandardInput() { return STDIN_FILENO; }
NativeHandle StandardOutput() { return STDOUT_FILENO; }

SystemResult WriteAll(NativeHandle file, std::string_view data) {
  while (!data.empty()) {
    const ssize_t written = ::write(Descriptor(file), data.data(), data.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return {errno};
    }
    data.remove_prefix(static_cast<std::size_t>(written));
  }
  return {};
}

SystemResult ReadSome(NativeHandle file, char* buffer, std::size_t size, std::size_t& got) {
  got = 0;
  for (;;) {
    const ssize_t read = ::read(Descriptor(file), buffer, size);
    if (read >= 0) {
      got = static_cast<std::size_t>(read);
      return {};
    }
    if (errno != EINTR) return {errno};
  }
}

SystemResult Rewind(NativeHandle file) {
  return {::lseek(Descriptor(file), 0, SEEK_SET) == 0 ? 0 : errno};
}

SystemResult OpenForReading(const std::string& path, FileHandle& file) {
  file.Reset(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY));
  return {file.IsOpen() ? 0 : errno};
}

SystemResult OpenStreamForWriting(const std::string& path, FileHandle& file) {
  file.Reset(::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY));
  return {file.IsOpen() ? 0 : errno};
}

bool IsStream(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && (S_ISFIFO(info.st_mode) || S_ISCHR(info.st_mode));
}

}  // namespace propdesk
