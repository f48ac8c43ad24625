#pragma once
// Test helpers: a temporary folder removed with its contents, and small file utilities.
#include <string>
#include <string_view>

namespace propdesk::test {

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

}  // namespace propdesk::test
