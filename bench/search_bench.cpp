// Times F3, Shift+F3 and Replace All on a 64 MiB document with one million matches over the view
// double, and measures the peak memory of one Replace All.
//
//   search_bench [runs]     medians of the timings (default 9 runs each)
//   search_bench memory     peak resident memory of one Replace All, in a process of its own
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "search/replace_all.h"
#include "search/text_search.h"
#include "search_bench_support.h"
#include "support/fake_text_view.h"

namespace propdesk::bench {
namespace {

// The search alone, on a text already copied.
void TimeSearchOnly(const std::string& text, const FindScenario& scenario, int runs) {
  std::vector<Timing> timings;
  const bool matchCase = (scenario.flags & FR_MATCHCASE) != 0;
  for (int run = 0; run < runs; ++run) {
    timings.push_back(Time([&] {
      const auto match = (scenario.flags & FR_DOWN)
                             ? FindFirstOccurrence(text, kDocumentBytes / 2, scenario.findWhat, matchCase)
                             : FindLastOccurrence(text, kDocumentBytes / 2, scenario.findWhat, matchCase);
      if (match == std::size_t{1}) std::puts("");  // keeps the search from being optimised away
    }));
  }
  PrintMedians(scenario.label, timings, "");
}

void RunTimings(int runs) {
  test::FakeTextView view(MakeDocument());
  std::printf("document: %zu bytes, 1000000 matches; medians of %d runs\n", kDocumentBytes, runs);
  std::printf("find steps, the copy of the view's text included:\n");
  for (const auto& scenario : FindScenarios()) TimeFindNext(view, scenario, runs);
  std::printf("the search alone, on the copied text:\n");
  const std::string& text = view.GetText();
  for (const auto& scenario : FindScenarios()) TimeSearchOnly(text, scenario, runs);
  std::printf("Replace All, the copy of the view's text and the view taking the new text included:\n");
  TimeReplaceAlls(view, runs);
}

void MeasureMemory() {
  test::FakeTextView view(MakeDocument());
  const std::size_t count = ReplaceAll(view, {"target", "Replacement", 0});
  const double peak = PeakResidentBytes();
  std::printf("Replace All: %zu replaced; peak resident memory of the process %.1f MiB = %.2f x the document's %zu bytes"
              " (the view's text, its undo copy and the new text included)\n",
              count, peak / (1 << 20), peak / static_cast<double>(kDocumentBytes), kDocumentBytes);
}

}  // namespace
}  // namespace propdesk::bench

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "memory") == 0) {
    propdesk::bench::MeasureMemory();
  } else {
    propdesk::bench::RunTimings(argc > 1 ? std::max(1, std::atoi(argv[1])) : 9);
  }
  return 0;
}
