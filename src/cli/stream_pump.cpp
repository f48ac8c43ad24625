#include "cli/stream_pump.h"

#include <memory>
#include <string_view>

#include "platform/file_handle.h"

namespace propdesk::cli {

PumpResult PumpStream(StreamConverter& converter, NativeTextCheck& check, NativeHandle input, const ConvertedSink& sink) {
  // Large enough to make the system calls cheap, small enough for the output to stay in the cache.
  constexpr std::size_t kBlockSize = 128 * 1024;
  const auto block = std::make_unique_for_overwrite<char[]>(kBlockSize);
  const auto converted = std::make_unique_for_overwrite<char[]>(converter.MaxOutput(kBlockSize));
  for (;;) {
    std::size_t got = 0;
    if (const SystemResult read = ReadSome(input, block.get(), kBlockSize, got); !read.ok()) {
      return {PumpResult::Failure::kRead, read.systemError};
    }
    const bool atEnd = got == 0;
    const std::string_view data(block.get(), got);
    check.Feed(data);
    if (atEnd) check.Finish();
    const std::size_t size = atEnd ? converter.Finish(converted.get()) : converter.Convert(data, converted.get());
    if (const SystemResult taken = sink(std::string_view(converted.get(), size), data); !taken.ok()) {
      return {PumpResult::Failure::kWrite, taken.systemError};
    }
    if (atEnd) return {};
  }
}

PumpResult PumpStream(StreamConverter& converter, NativeTextCheck& check, NativeHandle input, NativeHandle output) {
  return PumpStream(converter, check, input,
                    [output](std::string_view converted, std::string_view) { return WriteAll(output, converted); });
}

}  // namespace propdesk::cli
