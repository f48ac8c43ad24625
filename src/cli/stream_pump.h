#pragma once
// Runs a converter over everything readable from one open file, block by block, writing the
// result to another, so that memory stays the same whatever the size of the input.
#include <functional>
#include <string>
#include <string_view>

#include "common/system_result.h"
#include "platform/file_handle.h"
#include "convert/native_check.h"
#include "convert/stream_converter.h"

namespace propdesk::cli {

struct PumpResult {
  enum class Failure { kNone, kRead, kWrite };
  Failure failure = Failure::kNone;
  int error = 0;  // the system's error for the failed call
};

// Takes the converted bytes of each block read (input, the block itself, is empty at the end).
using ConvertedSink = std::function<SystemResult(std::string_view converted, std::string_view input)>;

// Each block read is also fed to check, which is finished at the end of the input.
[[nodiscard]] PumpResult PumpStream(StreamConverter& converter, NativeTextCheck& check, NativeHandle input,
                                    const ConvertedSink& sink);
[[nodiscard]] PumpResult PumpStream(StreamConverter& converter, NativeTextCheck& check, NativeHandle input,
                                    NativeHandle output);

}  // namespace propdesk::cli
