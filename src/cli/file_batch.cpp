#include "cli/file_batch.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <mutex>
#include <thread>

#include "cli/conversion.h"
#include "cli/messages.h"
#include "cli/stream_pump.h"
#include "platform/atomic_file.h"
#include "platform/file_handle.h"
#include "platform/program_io.h"
#include "platform/system_error.h"
#include "platform/whole_file.h"

namespace propdesk::cli {
namespace {

// Writing a file in place waits for the disk to make it durable; files in flight together share
// the disk's flushes, which makes many small files several times faster than one at a time.
constexpr std::size_t kWorkers = 8;
static_assert(kWorkers <= kMaxUnfinishedReplacements, "an interrupted run must not leave temporary files");

// Files read whole share this much memory at least, so that small ones still go in parallel.
constexpr std::uint64_t kLeastWholeTextBudget = 16 << 20;

struct FileResult {
  bool changes = false;  // the conversion changes the file
  bool failed = false;
  std::string messages;  // for standard error
};

// Lets files that are read whole start only while their sizes together stay within the limit (or
// alone), so that memory stays near that of the largest file whatever the number of workers.
class MemoryBudget {
 public:
  explicit MemoryBudget(std::uint64_t limit) : limit_(limit) {}

  void Take(std::uint64_t bytes) {
    std::unique_lock lock(mutex_);
    released_.wait(lock, [&] { return inUse_ == 0 || inUse_ + bytes <= limit_; });
    inUse_ += bytes;
  }

  void Give(std::uint64_t bytes) {
    {
      std::lock_guard lock(mutex_);
      inUse_ -= bytes;
    }
    released_.notify_all();
  }

 private:
  std::mutex mutex_;
  std::condition_variable released_;
  std::uint64_t limit_;
  std::uint64_t inUse_ = 0;
};

// A sink that compares the converted stream with the input and sets changes when they differ.
ConvertedSink ChangeFinder(bool& changes) {
  return [&changes, unmatched = std::string()](std::string_view converted, std::string_view input) mutable {
    if (changes) return SystemResult{};
    // The output lags the input only by what the converter holds back.
    unmatched.append(input);
    changes = !unmatched.starts_with(converted) || (input.empty() && unmatched.size() != converted.size());
    unmatched.erase(0, changes ? unmatched.size() : converted.size());
    return SystemResult{};
  };
}

FileResult Failed(const char* action, const ListedFile& file, int error) {
  return {false, true, DescribeFailure(action, Quoted(file.path), error)};
}

// Adds the failure of a write to the file's result.
FileResult& FailWrite(FileResult& result, const ListedFile& file, const SaveResult& failure, const std::string& keptBackup = {}) {
  result.failed = true;
  result.messages += DescribeWriteFailure(file.path, failure, keptBackup);
  return result;
}

FileResult ProcessFile(const CommandLine& commandLine, const ListedFile& file) {
  FileHandle input;
  bool notRegular = false;
  if (const SystemResult opened = OpenFileIn(*file.folder, file.name, input, notRegular); notRegular) {
    return {false, true, DescribeFailure("read", Quoted(file.path), std::string("not a regular file"))};
  } else if (!opened.ok()) {
    return Failed("read", file, opened.systemError);
  }
  FileResult result;
  NativeTextCheck check(commandLine.encoding);
  const bool whole = NeedsWholeText(commandLine);
  std::string converted;
  if (whole) {
    std::string text;
    if (const SystemResult read = ReadToEnd(input.get(), text); !read.ok()) {
      return Failed("read", file, read.systemError);
    }
    check = CheckWhole(commandLine, text);
    if (!ConvertWhole(commandLine, text, converted)) return Failed("convert", file, kOutOfMemoryError);
    result.changes = converted != text;
  } else {
    // Compared block by block, so that memory stays small whatever the size of the file.
    const PumpResult compared = PumpStream(*MakeConverter(commandLine), check, input.get(), ChangeFinder(result.changes));
    if (compared.failure != PumpResult::Failure::kNone) return Failed("read", file, compared.error);
  }
  result.messages = DescribeInputProblems(Quoted(file.path), check, commandLine.strict);
  if (commandLine.strict && !result.messages.empty()) {
    result.failed = true;
    return result;
  }
  if (commandLine.mode == Mode::kCheck || !result.changes) return result;

  AtomicFile output;
  if (const SaveResult opened = output.OpenIn(*file.folder, file.name); !opened.ok()) {
    return FailWrite(result, file, opened);
  }
  if (const SaveResult written = whole ? output.Write(converted) : SaveResult{}; !written.ok()) {
    return FailWrite(result, file, written);
  }
  if (!whole) {
    NativeTextCheck checkedAlready(commandLine.encoding);
    const SystemResult rewound = Rewind(input.get());
    const PumpResult pumped = rewound.ok()
                                  ? PumpStream(*MakeConverter(commandLine), checkedAlready, input.get(), output.handle())
                                  : PumpResult{PumpResult::Failure::kRead, rewound.systemError};
    if (pumped.failure != PumpResult::Failure::kNone) {
      result.failed = true;
      result.messages += Failed(pumped.failure == PumpResult::Failure::kRead ? "read" : "write", file, pumped.error).messages;
      return result;
    }
  }
  if (const SaveResult committed = output.Commit(); !committed.ok()) {
    return FailWrite(result, file, committed, output.keptBackup());
  }
  return result;
}

FileResult ProcessFileSafely(const CommandLine& commandLine, const ListedFile& file) {
  try {
    return ProcessFile(commandLine, file);
  } catch (const std::exception& failure) {
    return {false, true, DescribeFailure("convert", Quoted(file.path), std::string(failure.what()))};
  }
}

}  // namespace

int RunOnFiles(const CommandLine& commandLine) {
  std::string problems;
  const std::vector<ListedFile> files = CollectFiles(commandLine.paths, commandLine.includes, problems);
  WriteText(TextStream::kError, problems);
  const int status = RunOnFiles(commandLine, files);
  return problems.empty() ? status : 1;
}

int RunOnFiles(const CommandLine& commandLine, const std::vector<ListedFile>& files) {
  // Only a file read whole costs memory in proportion to its size.
  const auto cost = [whole = NeedsWholeText(commandLine)](const ListedFile& file) { return whole ? file.size : 0; };
  std::uint64_t largest = 0;
  for (const ListedFile& file : files) largest = std::max(largest, cost(file));
  MemoryBudget budget(std::max(largest, kLeastWholeTextBudget));

  std::vector<FileResult> results(files.size());
  {
    std::atomic<std::size_t> next = 0;
    std::vector<std::jthread> workers;
    for (std::size_t i = 0; i < std::min(kWorkers, files.size()); ++i) {
      workers.emplace_back([&] {
        for (std::size_t k; (k = next++) < files.size();) {
          budget.Take(cost(files[k]));
          results[k] = ProcessFileSafely(commandLine, files[k]);
          budget.Give(cost(files[k]));
        }
      });
    }
  }

  bool failed = false;
  bool listed = false;
  for (std::size_t k = 0; k < files.size(); ++k) {
    WriteText(TextStream::kError, results[k].messages);
    failed = failed || results[k].failed;
    if (commandLine.mode == Mode::kCheck && results[k].changes) {
      WriteText(TextStream::kOutput, Printable(files[k].path) + "\n");
      listed = true;
    }
  }
  return failed || listed ? 1 : 0;
}

}  // namespace propdesk::cli
