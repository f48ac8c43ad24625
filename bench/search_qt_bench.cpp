// Times F3, Shift+F3 and Replace All through the Qt edit view, shown as a person sees it, on a
// 64 MiB document with one million matches, and measures the memory of one Replace All.
//
//   search_qt_bench [runs]     medians of the timings (default 5 runs each)
//   search_qt_bench memory     resident memory around one Replace All, in a process of its own
#include <QApplication>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "search/replace_all.h"
#include "search_bench_support.h"
#include "qt/edit_view_widget.h"

namespace propdesk::bench {
namespace {

constexpr double kMiB = 1 << 20;

void ShowDocument(EditViewWidget& widget) {
  widget.resize(800, 600);
  widget.show();
  widget.textView().SetText(MakeDocument());
  QApplication::processEvents();
}

void RunTimings(int runs) {
  EditViewWidget widget;
  const Timing load = Time([&] { ShowDocument(widget); });
  TextView& view = widget.textView();
  std::printf("document: %zu bytes, 1000000 matches, loaded in %.0f ms; medians of %d runs\n", kDocumentBytes,
              load.wallMs, runs);
  // The view converts its text once after each change; searches in an unchanged text reuse it.
  PrintMedians("the first conversion of the view's text", {Time([&] { view.GetText(); })}, "");
  std::printf("find steps in the unchanged text:\n");
  for (const auto& scenario : FindScenarios()) TimeFindNext(view, scenario, runs);
  std::printf("Replace All, the conversion of the view's text and the view taking the new text included:\n");
  TimeReplaceAlls(view, runs);
}

void MeasureMemory() {
  EditViewWidget widget;
  ShowDocument(widget);
  const double loaded = PeakResidentBytes();
  const std::size_t count = ReplaceAll(widget.textView(), {"target", "Replacement", 0});
  QApplication::processEvents();
  const double peak = PeakResidentBytes();
  std::printf("Replace All: %zu replaced; peak resident memory %.1f MiB after loading, %.1f MiB with Replace All:"
              " %.1f MiB more = %.2f x the document's %zu bytes\n",
              count, loaded / kMiB, peak / kMiB, (peak - loaded) / kMiB,
              (peak - loaded) / static_cast<double>(kDocumentBytes), kDocumentBytes);
}

}  // namespace
}  // namespace propdesk::bench

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (argc > 1 && std::strcmp(argv[1], "memory") == 0) {
    propdesk::bench::MeasureMemory();
  } else {
    propdesk::bench::RunTimings(argc > 1 ? std::max(1, std::atoi(argv[1])) : 5);
  }
  return 0;
}
