#pragma once
// What the search benchmarks share: the 64 MiB document with one million matches, timing with
// medians, and the find and Replace All runs over any text view.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "document/text_view.h"
#include "search/search_state.h"

namespace propdesk::bench {

inline constexpr std::size_t kDocumentBytes = 64u << 20;

// One million resource lines of equal length with Japanese text, each holding "Target" once,
// padded to kDocumentBytes.
std::string MakeDocument();

// Wall-clock and CPU time of one run: on a shared machine the CPU time shows the cost of the work
// itself, the wall-clock time what a person would wait.
struct Timing {
  double wallMs;
  double cpuMs;
};

Timing Time(const std::function<void()>& action);
void PrintMedians(const char* label, const std::vector<Timing>& timings, const std::string& outcome);

struct FindScenario {
  const char* label;
  const char* findWhat;
  std::uint32_t flags;
};

// F3 and Shift+F3 from the middle, with and without case, with near misses and without a match.
const std::vector<FindScenario>& FindScenarios();

// The find step from the middle of the document as the person waits for it, the copy of the
// view's text included.
void TimeFindNext(TextView& view, const FindScenario& scenario, int runs);
// Replace All of 'Target' (with and without case), undone after each run.
void TimeReplaceAlls(TextView& view, int runs);

// The peak resident memory of the process so far, in bytes.
double PeakResidentBytes();

}  // namespace propdesk::bench
