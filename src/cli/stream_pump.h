#pragma once
// Runs a converter over everything readable from one file descriptor, block by block, writing the
// result to another, so that memory stays the same whatever the size of the input.
#include "convert/stream_converter.h"

namespace propdesk::cli {

struct PumpResult {
  enum class Failure { kNone, kRead, kWrite };
  Failure failure = Failure::kNone;
  int error = 0;  // errno of the failed call
};

PumpResult PumpStream(StreamConverter& converter, int input, int output);

}  // namespace propdesk::cli
