#pragma once
// Test helpers: a temporary folder removed with its contents, and small file utilities.
#include <filesystem>
#include <string>
#include <string_view>

namespace propdesk::test {

// A UTF-8 path as the standard library's path, and back (with / between folders), so that tests
// name files the same way on every system whatever its code page.
std::filesystem::path FileSystemPath(const std::string& path);
std::string Utf8Path(const std::filesystem::path& path);

class TempDir {
 public:
  // A new folder in base, or in $TMPDIR (else /tmp) when base is empty.
  explicit TempDir(const std::string& base = {});
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  ~TempDir();

  const std::string& path() const { return path_; }
  // The path of name inside the folder.
  std::string File(std::string_view name) const;

 private:
  std::string path_;
};

// Writes bytes to a file directly (no atomic replace), for setting up a test.
void WriteFileBytes(const std::string& path, std::string_view bytes);
// The whole content of a file; empty when it cannot be read.
std::string ReadFileBytes(const std::string& path);
// Takes away or gives back the write permission of a file (its read-only attribute on Windows).
void SetWritable(const std::string& path, bool writable);

}  // namespace propdesk::test
