// Opening and saving an escaped .properties file as the person waits for it: the document
// operations over the Qt edit view, shown on the screen, with real files.
//   Open/N: read the file, decode the escapes, expand the line ends, put the text into the view
//           and paint it.
//   Save/N: take the text from the view, encode it, collapse the line ends, write a new file and
//           rename it over the old one.
//   TypeAtEnd/N: one character typed at the end of the opened file, shown on the screen.
//   ScrollPage/N: the view scrolled down by one page of lines not shown before, and painted.
//   SaveEdited/N: Save after one character typed in the middle line of the opened file.
//   KeepOpen/N, KeepSaveEdited/N: Open and SaveEdited with KeepUntouchedLines on.
// The files are the first N MiB, cut at a line end, of the Japanese corpus of bench/make_corpus.py
// (LF line ends). Peak memory is that of the whole process, so run one size per process, and
// SaveEdited and the Keep cases each in a process of their own:
//   bench/run_document_bench.sh [RUNS]
#include <QApplication>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

#include "benchmark_application.h"
#include "platform/file_handle.h"
#include "document/document.h"
#include "process_memory.h"
#include "settings/settings.h"
#include "qt/edit_view_widget.h"
#include "support/temp_dir.h"

namespace propdesk {
namespace {

constexpr std::size_t kMiB = 1024 * 1024;

// Stands for the person: no message is expected; the first one shown is kept as the failure.
class SilentPrompts final : public Prompts {
 public:
  MessageResult ShowMessageText(std::string_view text, MessageStyle, MessageOwner) override {
    if (!failure) failure = std::string(text);
    return MessageResult::Cancel;
  }
  std::optional<std::string> ChooseFileToOpen(std::string_view, std::string_view) override { return {}; }
  std::optional<std::string> ChooseFileToSave(std::string_view, std::string_view) override { return {}; }

  std::optional<std::string> failure;
};

class UntitledFrame final : public FrameWindow {
 public:
  void SetTitle(std::string_view) override {}
  void EditForbiddenChanged(bool) override {}
  void FileFormatChanged(const FileFormat&) override {}
};

// Copies the first size bytes of source, shortened to end with a line break, to target without
// holding them in memory. Returns the bytes copied, or 0 on failure.
std::size_t CopyWholeLines(const char* source, const std::string& target, std::size_t size) {
  const FileHandle inFile(::open(source, O_RDONLY | O_CLOEXEC));
  const int in = static_cast<int>(inFile.get());
  struct stat info {};
  if (in < 0 || ::fstat(in, &info) != 0 || static_cast<std::size_t>(info.st_size) < size) return 0;
  char tail[4096];
  const auto tailStart = static_cast<off_t>(size - sizeof tail);
  if (::pread(in, tail, sizeof tail, tailStart) != static_cast<ssize_t>(sizeof tail)) return 0;
  std::size_t length = size;
  while (length > size - sizeof tail && tail[length - 1 - (size - sizeof tail)] != '\n') --length;
  const FileHandle outFile(::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
  const int out = static_cast<int>(outFile.get());
  if (out < 0) return 0;
  for (std::size_t copied = 0; copied < length;) {
    const ssize_t done = ::copy_file_range(in, nullptr, out, nullptr, length - copied, 0);
    if (done <= 0) return 0;
    copied += static_cast<std::size_t>(done);
  }
  return length;
}

std::size_t FileSize(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 ? static_cast<std::size_t>(info.st_size) : 0;
}

// True when the file at path holds exactly the first size bytes of source; reads a block at a time.
bool HoldsStartOf(const char* source, const std::string& path, std::size_t size) {
  if (FileSize(path) != size) return false;
  std::ifstream expected(source, std::ios::binary);
  std::ifstream actual(path, std::ios::binary);
  static char expectedBlock[64 * 1024];
  static char actualBlock[sizeof expectedBlock];
  for (std::size_t left = size; left > 0;) {
    const std::size_t block = std::min(left, sizeof expectedBlock);
    expected.read(expectedBlock, static_cast<std::streamsize>(block));
    actual.read(actualBlock, static_cast<std::streamsize>(block));
    if (!expected || !actual || std::memcmp(expectedBlock, actualBlock, block) != 0) return false;
    left -= block;
  }
  return true;
}

// The window's parts that take part in opening and saving, made once per process.
struct Session {
  Session() : document(view.textView(), prompts, frame, GetSettings()) {
    view.resize(1024, 768);
    view.show();
    QApplication::processEvents();
    residentBeforeFirstOpenMiB = bench::ResidentMemoryMiB();
  }

  // Writes the file of about megabytes MiB, unless it is there already; returns its size.
  std::size_t PrepareFile(std::size_t megabytes) {
    path = folder.File("resources-" + std::to_string(megabytes) + ".properties");
    if (const std::size_t size = FileSize(path)) return size;
    return CopyWholeLines(PROPDESK_BENCH_CORPUS, path, megabytes * kMiB);
  }

  // Opens or saves the file as the person waits for it, repainting included.
  bool Run(bool (Document::*operation)(const std::string&, bool)) {
    const double faultsBefore = bench::MinorPageFaults();
    const bool done = (document.*operation)(path, false);
    QApplication::processEvents();
    pageFaults = bench::MinorPageFaults() - faultsBefore;
    return done;
  }

  void Empty() {
    document.NewDocument();
    QApplication::processEvents();
  }

  EditViewWidget view;
  SilentPrompts prompts;
  UntitledFrame frame;
  Document document;
  test::TempDir folder;
  std::string path;
  double residentBeforeFirstOpenMiB = 0;
  // Of the last run.
  double pageFaults = 0;
};

std::unique_ptr<Session> session;

void ReportMemory(benchmark::State& state, std::size_t fileSize) {
  const double fileMiB = static_cast<double>(fileSize) / kMiB;
  const double peak = bench::PeakMemoryMiB();
  state.counters["file_MiB"] = fileMiB;
  state.counters["peak_MiB"] = peak;
  state.counters["peak_x_file"] = peak / fileMiB;
  state.counters["growth_x_file"] = (peak - session->residentBeforeFirstOpenMiB) / fileMiB;
  state.counters["page_faults"] = session->pageFaults;
}

// Writes the file of the benchmark's size and returns its size; 0 stops the benchmark.
std::size_t PrepareFile(benchmark::State& state) {
  const std::size_t size = session->PrepareFile(static_cast<std::size_t>(state.range(0)));
  if (size == 0) state.SkipWithError("cannot copy the corpus; run bench/make_corpus.py");
  return size;
}

// Runs an open or a save; on failure stops the benchmark with the message the person was shown.
bool Run(benchmark::State& state, bool (Document::*operation)(const std::string&, bool)) {
  if (session->Run(operation)) return true;
  state.SkipWithError(session->prompts.failure.value_or("failed without a message").c_str());
  return false;
}

// Starts every run from an empty view, as a freshly started window has.
void BM_Open(benchmark::State& state) {
  const std::size_t fileSize = PrepareFile(state);
  if (fileSize == 0) return;
  for (auto _ : state) {
    state.PauseTiming();
    session->Empty();
    state.ResumeTiming();
    if (!Run(state, &Document::OpenDocument)) return;
  }
  ReportMemory(state, fileSize);
}
BENCHMARK(BM_Open)->Name("Open")->Arg(1)->Arg(16)->Arg(64)->Iterations(1)->MeasureProcessCPUTime()->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// Opens the file of the benchmark's size unless it is the open document already.
bool EnsureOpen(benchmark::State& state) {
  return session->document.DocumentPath() == session->path || Run(state, &Document::OpenDocument);
}

// Saves the unchanged text over the file it came from, which must come out byte for byte the same.
void BM_Save(benchmark::State& state) {
  const std::size_t fileSize = PrepareFile(state);
  if (fileSize == 0) return;
  if (!EnsureOpen(state)) return;
  for (auto _ : state) {
    if (!Run(state, &Document::SaveDocument)) return;
  }
  ReportMemory(state, fileSize);
  if (!HoldsStartOf(PROPDESK_BENCH_CORPUS, session->path, fileSize)) state.SkipWithError("the saved file differs");
}
BENCHMARK(BM_Save)->Name("Save")->Arg(1)->Arg(16)->Arg(64)->Iterations(1)->MeasureProcessCPUTime()->UseRealTime()
    ->Unit(benchmark::kMillisecond);

void BM_TypeAtEnd(benchmark::State& state) {
  const std::size_t fileSize = PrepareFile(state);
  if (fileSize == 0 || !EnsureOpen(state)) return;
  session->document.SetEditForbidden(false);
  session->view.moveCursor(QTextCursor::End);
  QApplication::processEvents();
  for (auto _ : state) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QApplication::sendEvent(&session->view, &press);
    QApplication::processEvents();
  }
  ReportMemory(state, fileSize);
}
BENCHMARK(BM_TypeAtEnd)->Name("TypeAtEnd")->Arg(1)->Arg(16)->Arg(64)->Iterations(50)->MeasureProcessCPUTime()->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// Starts in the middle of the file, so that every page shows lines not shown before.
void BM_ScrollPage(benchmark::State& state) {
  const std::size_t fileSize = PrepareFile(state);
  if (fileSize == 0 || !EnsureOpen(state)) return;
  QScrollBar* bar = session->view.verticalScrollBar();
  bar->setValue(bar->maximum() / 2);
  QApplication::processEvents();
  for (auto _ : state) {
    const int next = bar->value() + bar->pageStep();
    bar->setValue(next > bar->maximum() ? 0 : next);
    QApplication::processEvents();
  }
  ReportMemory(state, fileSize);
}
BENCHMARK(BM_ScrollPage)->Name("ScrollPage")->Arg(1)->Arg(16)->Arg(64)->Iterations(50)->MeasureProcessCPUTime()->UseRealTime()
    ->Unit(benchmark::kMillisecond);

void BM_KeepOpen(benchmark::State& state) {
  GetSettings().KeepUntouchedLines = true;
  BM_Open(state);
}
BENCHMARK(BM_KeepOpen)->Name("KeepOpen")->Arg(1)->Arg(16)->Arg(64)->Iterations(1)->MeasureProcessCPUTime()->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// Types one character at the start of the middle line, then saves; the file must grow by one byte.
void SaveAfterOneEdit(benchmark::State& state, bool keepUntouchedLines) {
  GetSettings().KeepUntouchedLines = keepUntouchedLines;
  const std::size_t fileSize = PrepareFile(state);
  if (fileSize == 0 || !EnsureOpen(state)) return;
  session->document.SetEditForbidden(false);
  QTextDocument& text = *session->view.document();
  QTextCursor(text.findBlockByNumber(text.blockCount() / 2)).insertText(QStringLiteral("a"));
  QApplication::processEvents();
  for (auto _ : state) {
    if (!Run(state, &Document::SaveDocument)) return;
  }
  ReportMemory(state, fileSize);
  if (FileSize(session->path) != fileSize + 1) state.SkipWithError("the saved file lacks the edit");
}

void BM_SaveEdited(benchmark::State& state) { SaveAfterOneEdit(state, false); }
BENCHMARK(BM_SaveEdited)->Name("SaveEdited")->Arg(1)->Arg(16)->Arg(64)->Iterations(1)->MeasureProcessCPUTime()->UseRealTime()
    ->Unit(benchmark::kMillisecond);

void BM_KeepSaveEdited(benchmark::State& state) { SaveAfterOneEdit(state, true); }
BENCHMARK(BM_KeepSaveEdited)->Name("KeepSaveEdited")->Arg(1)->Arg(16)->Arg(64)->Iterations(1)->MeasureProcessCPUTime()
    ->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace propdesk

int main(int argc, char** argv) {
  propdesk::bench::BenchmarkApplication app(argc, argv);
  propdesk::session = std::make_unique<propdesk::Session>();
  benchmark::RunSpecifiedBenchmarks();
  propdesk::session.reset();
  return 0;
}
