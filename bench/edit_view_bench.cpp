// The edit view with large documents: putting a whole text in and taking it out, and what a key
// press or caret movement costs the window (caret line and column, enabling checks).
// Run: build-bench/bench/edit_view_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only
#include <QApplication>
#include <QKeyEvent>
#include <QTextBlock>
#include <QTextCursor>

#include <benchmark/benchmark.h>

#include <string>

#include "benchmark_application.h"
#include "process_memory.h"
#include "qt/edit_view_widget.h"
#include "qt/dialogs/native_qstring.h"

namespace propdesk {
namespace {

using bench::PeakMemoryMiB;

constexpr std::size_t kMiB = 1024 * 1024;

// Native text of about size bytes in .properties lines mixing ASCII and double-byte text; every
// 16th line is a longer comment.
std::string PropertiesText(std::size_t size) {
  // "こんにちは、世界。表示"
  const std::string value = "\x82\xB1\x82\xF1\x82\xC9\x82\xBF\x82\xCD\x81\x41\x90\xA2\x8A\x45\x81\x42\x95\x5C\x8E\xA6";
  std::string text;
  text.reserve(size + 256);
  for (int line = 0; text.size() < size; ++line) {
    if (line % 16 == 0) text += "# " + value + value + value + "\r\n";
    text += "message." + std::to_string(line) + "=" + value + "\r\n";
  }
  return text;
}

void BM_SetText(benchmark::State& state) {
  const std::string text = PropertiesText(static_cast<std::size_t>(state.range(0)) * kMiB);
  EditViewWidget widget;
  for (auto _ : state) {
    widget.textView().SetText(text);
    state.PauseTiming();
    widget.textView().SetText("");
    state.ResumeTiming();
  }
  state.counters["peak_MiB"] = PeakMemoryMiB();
}
BENCHMARK(BM_SetText)->Arg(1)->Arg(16)->Arg(64)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_GetText(benchmark::State& state) {
  EditViewWidget widget;
  widget.textView().SetText(PropertiesText(static_cast<std::size_t>(state.range(0)) * kMiB));
  for (auto _ : state) benchmark::DoNotOptimize(widget.textView().GetText());
}
BENCHMARK(BM_GetText)->Arg(1)->Arg(16)->Arg(64)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_NativeToQString(benchmark::State& state) {
  const std::string text = PropertiesText(static_cast<std::size_t>(state.range(0)) * kMiB);
  for (auto _ : state) benchmark::DoNotOptimize(NativeToQString(text));
}
BENCHMARK(BM_NativeToQString)->Arg(64)->Unit(benchmark::kMillisecond)->Iterations(1);

// A shown 64 MiB document with the caret near its end, as the person sees it.
class LargeDocument : public benchmark::Fixture {
 public:
  void SetUp(const benchmark::State&) override {
    if (widget) return;
    widget = new EditViewWidget;
    widget->resize(800, 600);
    widget->show();
    widget->textView().SetText(PropertiesText(64 * kMiB));
    QApplication::processEvents();
  }

  // Puts the caret into the line before the last comment line (a narrow line) or into the last
  // comment line (the widest line on the screen).
  static void PutCaretNearEnd(bool widestLine) {
    QTextCursor cursor = widget->textCursor();
    cursor.movePosition(QTextCursor::End);
    while (!cursor.block().text().startsWith(u'#')) cursor.movePosition(QTextCursor::PreviousBlock);
    if (!widestLine) cursor.movePosition(QTextCursor::PreviousBlock);
    cursor.movePosition(QTextCursor::EndOfBlock);
    widget->setTextCursor(cursor);
    QApplication::processEvents();
  }

  static inline EditViewWidget* widget = nullptr;
};

BENCHMARK_DEFINE_F(LargeDocument, CaretLineColumn)(benchmark::State& state) {
  PutCaretNearEnd(false);
  state.counters["loaded_peak_MiB"] = PeakMemoryMiB();
  for (auto _ : state) benchmark::DoNotOptimize(widget->textView().GetSelectionStartLineColumn());
}
BENCHMARK_REGISTER_F(LargeDocument, CaretLineColumn)->Unit(benchmark::kMicrosecond);

BENCHMARK_DEFINE_F(LargeDocument, EnablingChecks)(benchmark::State& state) {
  const TextView& view = widget->textView();
  for (auto _ : state) {
    benchmark::DoNotOptimize(view.CanUndo());
    benchmark::DoNotOptimize(view.IsModified());
    benchmark::DoNotOptimize(view.IsReadOnly());
    benchmark::DoNotOptimize(view.IsEmpty());
    benchmark::DoNotOptimize(widget->textCursor().hasSelection());
  }
}
BENCHMARK_REGISTER_F(LargeDocument, EnablingChecks)->Unit(benchmark::kMicrosecond);

// A character typed and erased again, with repainting.
void TypeAndErase(benchmark::State& state) {
  auto* widget = LargeDocument::widget;
  for (auto _ : state) {
    QKeyEvent character(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QApplication::sendEvent(widget, &character);
    QApplication::processEvents();
    QKeyEvent backspace(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
    QApplication::sendEvent(widget, &backspace);
    QApplication::processEvents();
  }
  state.counters["peak_MiB"] = PeakMemoryMiB();
}

BENCHMARK_DEFINE_F(LargeDocument, TypeAndEraseCharacter)(benchmark::State& state) {
  PutCaretNearEnd(false);
  TypeAndErase(state);
}
BENCHMARK_REGISTER_F(LargeDocument, TypeAndEraseCharacter)->Unit(benchmark::kMicrosecond);

// Erasing from the widest line on the screen makes Qt's plain text layout look at every line.
BENCHMARK_DEFINE_F(LargeDocument, TypeAndEraseCharacterOnWidestLine)(benchmark::State& state) {
  PutCaretNearEnd(true);
  TypeAndErase(state);
}
BENCHMARK_REGISTER_F(LargeDocument, TypeAndEraseCharacterOnWidestLine)->Unit(benchmark::kMicrosecond);

// Whole-text walks that search and Replace use: selection to and from byte offsets, once the
// byte length of every line is known (the first walk counts them, at the cost of GetText).
BENCHMARK_DEFINE_F(LargeDocument, GetAndSetSelection)(benchmark::State& state) {
  TextView& view = widget->textView();
  PutCaretNearEnd(false);
  view.GetSelection();
  for (auto _ : state) {
    const ByteRange range = view.GetSelection();
    view.SetSelection(range.start, range.end);
  }
}
BENCHMARK_REGISTER_F(LargeDocument, GetAndSetSelection)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace propdesk

int main(int argc, char** argv) {
  propdesk::bench::BenchmarkApplication app(argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
