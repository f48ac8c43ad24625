#pragma once
// An open file, pipe or console of the system, closed when it goes out of scope, and reads and
// writes that move bytes unchanged (never a text mode) and retry after an interrupted call.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/system_result.h"

namespace propdesk {

// A file descriptor on POSIX, a HANDLE on Windows; both use -1 for none.
using NativeHandle = std::intptr_t;
inline constexpr NativeHandle kNoHandle = -1;

class FileHandle {
 public:
  explicit FileHandle(NativeHandle handle = kNoHandle) : handle_(handle) {}
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle();

  NativeHandle get() const { return handle_; }
  bool IsOpen() const { return handle_ != kNoHandle; }
  void Reset(NativeHandle handle = kNoHandle);
  // Closes now and tells whether the close succeeded (a deferred write error shows here).
  [[nodiscard]] bool Close();

 private:
  NativeHandle handle_;
};

NativeHandle StandardInput();
NativeHandle StandardOutput();

// Writes all of data.
SystemResult WriteAll(NativeHandle file, std::string_view data);
// Reads up to size bytes into buffer; got is 0 at the end of the input.
SystemResult ReadSome(NativeHandle file, char* buffer, std::size_t size, std::size_t& got);
// Moves the file's position back to its start.
SystemResult Rewind(NativeHandle file);

// Opens the file or stream at path for reading; a named pipe waits for its writer.
SystemResult OpenForReading(const std::string& path, FileHandle& file);
// Opens the stream at path (see IsStream) for writing into it.
SystemResult OpenStreamForWriting(const std::string& path, FileHandle& file);
// True when path names a pipe or a device, which a program writes into rather than replaces.
[[nodiscard]] bool IsStream(const std::string& path);

}  // namespace propdesk
