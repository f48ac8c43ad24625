#include "cli/stream_pump.h"

#include <cerrno>
#include <memory>
#include <string_view>

#include "common/file_descriptor.h"

namespace propdesk::cli {

PumpResult PumpStream(StreamConverter& converter, int input, int output) {
  // Large enough to make the system calls cheap, small enough for the output to stay in the cache.
  constexpr std::size_t kBlockSize = 128 * 1024;
  const auto block = std::make_unique_for_overwrite<char[]>(kBlockSize);
  const auto converted = std::make_unique_for_overwrite<char[]>(converter.MaxOutput(kBlockSize));
  for (;;) {
    const ssize_t got = ReadSome(input, block.get(), kBlockSize);
    if (got < 0) return {PumpResult::Failure::kRead, errno};
    const bool atEnd = got == 0;
    const std::size_t size =
        atEnd ? converter.Finish(converted.get())
              : converter.Convert(std::string_view(block.get(), static_cast<std::size_t>(got)), converted.get());
    if (!WriteAll(output, std::string_view(converted.get(), size))) return {PumpResult::Failure::kWrite, errno};
    if (atEnd) return {};
  }
}

}  // namespace propdesk::cli
