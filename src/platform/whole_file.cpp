#include "platform/whole_file.h"

#include <algorithm>
#include <exception>

#include "platform/atomic_file.h"
#include "platform/system_error.h"

namespace propdesk {

SystemResult ReadToEnd(NativeHandle file, std::string& text) {
  constexpr std::size_t kChunk = 64 * 1024;
  text.clear();
  std::string content;
  try {
    // A regular file is read in one go; other input grows the text as it comes.
    const std::optional<std::uint64_t> size = RegularFileSize(file);
    content.resize(size ? static_cast<std::size_t>(*size) + 1 : kChunk);
    std::size_t filled = 0;
    for (;;) {
      if (filled == content.size()) content.resize(filled + std::max(kChunk, filled / 2));
      std::size_t got = 0;
      if (const SystemResult read = ReadSome(file, content.data() + filled, content.size() - filled, got); !read.ok()) {
        return read;
      }
      if (got == 0) break;
      filled += got;
    }
    content.resize(filled);
  } catch (const std::exception&) {
    // Only the text's growth throws: too large for memory, or for a string at all.
    return {kOutOfMemoryError};
  }
  text.swap(content);
  return {};
}

SaveResult WriteWholeFile(const std::string& path, std::string_view data, NewFilePermissions permissions) {
  AtomicFile file;
  SaveResult result = file.Open(path, permissions);
  if (result.ok()) result = file.Write(data);
  if (result.ok()) result = file.Commit();
  return result;
}

}  // namespace propdesk
