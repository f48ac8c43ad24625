#include "search_bench_support.h"

#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string_view>

#include "convert/cp932.h"
#include "search/find_steps.h"
#include "search/replace_all.h"

namespace propdesk::bench {
namespace {

constexpr std::size_t kLines = 1'000'000;

std::string Native(std::u16string_view text) {
  std::string out;
  for (char16_t unit : text) {
    char bytes[2];
    out.append(bytes, static_cast<std::size_t>(cp932::EncodeUnit(unit, bytes)));
  }
  return out;
}

double CpuMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

void TimeReplaceAll(TextView& view, const char* label, const SearchState& state, int runs) {
  std::vector<Timing> timings;
  std::size_t count = 0;
  for (int run = 0; run < runs; ++run) {
    timings.push_back(Time([&] { count = ReplaceAll(view, state); }));
    view.Undo();
    view.EmptyUndoBuffer();
  }
  PrintMedians(label, timings, std::to_string(count) + " replaced");
}

}  // namespace

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

Timing Time(const std::function<void()>& action) {
  const double cpuBegin = CpuMilliseconds();
  const auto begin = std::chrono::steady_clock::now();
  action();
  return {std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin).count(),
          CpuMilliseconds() - cpuBegin};
}

void PrintMedians(const char* label, const std::vector<Timing>& timings, const std::string& outcome) {
  std::vector<double> wall, cpu;
  for (const Timing& t : timings) {
    wall.push_back(t.wallMs);
    cpu.push_back(t.cpuMs);
  }
  std::printf("  %-52s wall %7.1f ms  cpu %7.1f ms  (%s)\n", label, Median(wall), Median(cpu), outcome.c_str());
}

const std::vector<FindScenario>& FindScenarios() {
  static const std::vector<FindScenario> scenarios = {
      {"F3 from the middle, match case", "Target", FR_DOWN | FR_MATCHCASE},
      {"F3 from the middle, ignoring case", "target", FR_DOWN},
      {"Shift+F3 from the middle, match case", "Target", FR_MATCHCASE},
      {"Shift+F3 from the middle, ignoring case", "target", 0},
      {"F3 from the middle, match case, 500k near misses", "TARGET", FR_DOWN | FR_MATCHCASE},
      {"Shift+F3 from the middle, match case, 500k near misses", "TARGET", FR_MATCHCASE},
      {"F3 from the middle, ignoring case, absent", "absent", FR_DOWN},
      {"Shift+F3 from the middle, ignoring case, absent", "absent", 0},
  };
  return scenarios;
}

void TimeFindNext(TextView& view, const FindScenario& scenario, int runs) {
  std::vector<Timing> timings;
  bool found = false;
  for (int run = 0; run < runs; ++run) {
    view.SetSelection(kDocumentBytes / 2, kDocumentBytes / 2);
    timings.push_back(Time([&] { found = FindNext(view, scenario.findWhat, scenario.flags); }));
  }
  PrintMedians(scenario.label, timings, found ? "found" : "not found");
}

void TimeReplaceAlls(TextView& view, int runs) {
  TimeReplaceAll(view, "'Target' -> 'Replacement', match case", {"Target", "Replacement", FR_MATCHCASE}, runs);
  TimeReplaceAll(view, "'target' -> 'Replacement', ignoring case", {"target", "Replacement", 0}, runs);
}

double PeakResidentBytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) * 1024.0;
}

}  // namespace propdesk::bench
