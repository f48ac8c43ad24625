#include "support/temp_dir.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace propdesk::test {

std::filesystem::path FileSystemPath(const std::string& path) {
  return std::filesystem::path(std::u8string(path.begin(), path.end()));
}

std::string Utf8Path(const std::filesystem::path& path) {
  const std::u8string text = path.generic_u8string();
  return std::string(text.begin(), text.end());
}

TempDir::TempDir(const std::string& base) {
  const char* tmpdir = std::getenv("TMPDIR");
  const std::filesystem::path folder = !base.empty()           ? FileSystemPath(base)
                                       : tmpdir && *tmpdir     ? FileSystemPath(tmpdir)
                                                               : std::filesystem::temp_directory_path();
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::filesystem::path candidate = folder / ("propdesk-test-" + std::to_string(random()));
    if (std::filesystem::create_directory(candidate)) {
      path_ = Utf8Path(candidate);
      return;
    }
  }
  throw std::runtime_error("cannot make a temporary folder in " + Utf8Path(folder));
}

TempDir::~TempDir() {
  std::error_code ignored;
  const std::filesystem::path root = FileSystemPath(path_);
  // Give back write permission that a test may have taken away, so that removal succeeds.
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root, ignored)) {
    std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                 ignored);
  }
  std::filesystem::permissions(root, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(root, ignored);
}

std::string TempDir::File(std::string_view name) const { return path_ + "/" + std::string(name); }

void WriteFileBytes(const std::string& path, std::string_view bytes) {
  std::ofstream out(FileSystemPath(path), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(FileSystemPath(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void SetWritable(const std::string& path, bool writable) {
  using std::filesystem::perms;
  std::filesystem::permissions(FileSystemPath(path), perms::owner_write | perms::group_write | perms::others_write,
                               writable ? std::filesystem::perm_options::add : std::filesystem::perm_options::remove);
}

}  // namespace propdesk::test
