// Times F3, Shift+F3 and Replace All on a 64 MiB document with one million matches, and measures
// the peak memory of one Replace All.
//
//   search_bench [runs]     medians of the timings (default 9 runs each)
//   search_bench memory     peak resident memory of one Replace All, in a process of its own
#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "convert/cp932.h"
#include "search/find_steps.h"
#include "search/private_text_view.h"
#include "search/replace_all.h"
#include "search/text_search.h"

namespace propdesk {
namespace {

constexpr std::size_t kDocumentBytes = 64u << 20;
constexpr std::size_t kLines = 1'000'000;

std::string Native(std::u16string_view text) {
  std::string out;
  for (char16_t unit : text) {
    char bytes[2];
    out.append(bytes, static_cast<std::size_t>(cp932::EncodeUnit(unit, bytes)));
  }
  return out;
}

// One million resource lines of equal length, each holding "Target" once, padded to 64 MiB.
std::string MakeDocument() {
  const std::string japanese = Native(u"設定ファイルを開きます。");
  const std::size_t lineBytes = kDocumentBytes / kLines;
  std::string text;
  text.reserve(kDocumentBytes);
  char key[32];
  for (std::size_t i = 0; i < kLines; ++i) {
    const int keyLength = std::snprintf(key, sizeof key, "app.msg.%07zu=", i);
    const std::size_t start = text.size();
    text.append(key, static_cast<std::size_t>(keyLength)).append(japanese).append(" Target: ");
    text.append(start + lineBytes - 2 - text.size(), 'x').append("\r\n");
  }
  text.append(kDocumentBytes - text.size(), ' ');
  return text;
}

// Wall-clock and CPU time of one run: on a shared machine the CPU time shows the cost of the work
// itself, the wall-clock time what a person would wait.
struct Timing {
  double wallMs;
  double cpuMs;
};

double CpuMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

Timing Time(const std::function<void()>& action) {
  const double cpuBegin = CpuMilliseconds();
  const auto begin = std::chrono::steady_clock::now();
  action();
  return {std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin).count(),
          CpuMilliseconds() - cpuBegin};
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

void PrintMedians(const char* label, const std::vector<Timing>& timings, const std::string& outcome) {
  std::vector<double> wall, cpu;
  for (const Timing& t : timings) {
    wall.push_back(t.wallMs);
    cpu.push_back(t.cpuMs);
  }
  std::printf("  %-52s wall %7.1f ms  cpu %7.1f ms  (%s)\n", label, Median(wall), Median(cpu), outcome.c_str());
}

struct FindScenario {
  const char* label;
  const char* findWhat;
  std::uint32_t flags;
};

// The whole step as the person waits for it, copy of the view's text included.
void TimeFindNext(test::PrivateTextView& view, const FindScenario& scenario, int runs) {
  std::vector<Timing> timings;
  bool found = false;
  for (int run = 0; run < runs; ++run) {
    view.SetSelection(kDocumentBytes / 2, kDocumentBytes / 2);
    timings.push_back(Time([&] { found = FindNext(view, scenario.findWhat, scenario.flags); }));
  }
  PrintMedians(scenario.label, timings, found ? "found" : "not found");
}

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

void TimeReplaceAll(test::PrivateTextView& view, const char* label, const SearchState& state, int runs) {
  std::vector<Timing> timings;
  std::size_t count = 0;
  for (int run = 0; run < runs; ++run) {
    timings.push_back(Time([&] { count = ReplaceAll(view, state); }));
    view.Undo();
    view.EmptyUndoBuffer();
  }
  PrintMedians(label, timings, std::to_string(count) + " replaced");
}

void RunTimings(int runs) {
  const FindScenario scenarios[] = {
      {"F3 from the middle, match case", "Target", FR_DOWN | FR_MATCHCASE},
      {"F3 from the middle, ignoring case", "target", FR_DOWN},
      {"Shift+F3 from the middle, match case", "Target", FR_MATCHCASE},
      {"Shift+F3 from the middle, ignoring case", "target", 0},
      {"F3 from the middle, match case, 500k near misses", "TARGET", FR_DOWN | FR_MATCHCASE},
      {"Shift+F3 from the middle, match case, 500k near misses", "TARGET", FR_MATCHCASE},
      {"F3 from the middle, ignoring case, absent", "absent", FR_DOWN},
      {"Shift+F3 from the middle, ignoring case, absent", "absent", 0},
  };
  test::PrivateTextView view(MakeDocument());
  std::printf("document: %zu bytes, 1000000 matches; medians of %d runs\n", kDocumentBytes, runs);
  std::printf("find steps, the copy of the view's text included:\n");
  for (const auto& scenario : scenarios) TimeFindNext(view, scenario, runs);
  std::printf("the search alone, on the copied text:\n");
  const std::string text = view.GetText();
  for (const auto& scenario : scenarios) TimeSearchOnly(text, scenario, runs);
  std::printf("Replace All, the copy of the view's text and the view taking the new text included:\n");
  TimeReplaceAll(view, "'Target' -> 'Replacement', match case", {"Target", "Replacement", FR_MATCHCASE}, runs);
  TimeReplaceAll(view, "'target' -> 'Replacement', ignoring case", {"target", "Replacement", 0}, runs);
}

void MeasureMemory() {
  test::PrivateTextView view(MakeDocument());
  const std::size_t count = ReplaceAll(view, {"target", "Replacement", 0});
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const double peak = static_cast<double>(usage.ru_maxrss) * 1024.0;
  std::printf("Replace All: %zu replaced; peak resident memory of the process %.1f MiB = %.2f x the document's %zu bytes"
              " (the view's text, its undo copy and the new text included)\n",
              count, peak / (1 << 20), peak / static_cast<double>(kDocumentBytes), kDocumentBytes);
}

}  // namespace
}  // namespace propdesk

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "memory") == 0) {
    propdesk::MeasureMemory();
  } else {
    propdesk::RunTimings(argc > 1 ? std::max(1, std::atoi(argv[1])) : 9);
  }
  return 0;
}
