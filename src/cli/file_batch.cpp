#include "cli/file_batch.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <exception>
#include <thread>
#include <vector>

#include "cli/conversion.h"
#include "cli/file_walk.h"
#include "cli/messages.h"
#include "cli/stream_pump.h"
#include "common/file_descriptor.h"
#include "common/atomic_file.h"

namespace propdesk::cli {
namespace {

// Writing a file in place waits for the disk to make it durable; files in flight together share
// the disk's flushes, which makes many small files several times faster than one at a time.
constexpr std::size_t kWorkers = 8;
static_assert(kWorkers <= kMaxUnfinishedReplacements, "an interrupted run must not leave temporary files");

struct FileResult {
  bool changes = false;  // the conversion changes the file
  bool failed = false;
  std::string messages;  // for standard error
};

bool ReadRegularFile(const std::string& path, std::string& text, std::string& problem) {
  // Non-blocking, so that a named pipe does not wait for a writer before it is refused.
  FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
  struct stat info {};
  if (file.get() < 0 || ::fstat(file.get(), &info) != 0) {
    problem = DescribeFailure("read", Quoted(path), errno);
    return false;
  }
  if (!S_ISREG(info.st_mode)) {
    problem = DescribeFailure("read", Quoted(path), std::string("not a regular file"));
    return false;
  }
  if (!ReadAll(file.get(), text)) {
    problem = DescribeFailure("read", Quoted(path), errno);
    return false;
  }
  return true;
}

FileResult ProcessFile(const CommandLine& commandLine, const std::string& path) {
  FileResult result;
  std::string text;
  if (!ReadRegularFile(path, text, result.messages)) {
    result.failed = true;
    return result;
  }
  std::string converted = text;
  if (!ConvertWhole(commandLine, converted)) {
    result.failed = true;
    result.messages = DescribeFailure("convert", Quoted(path), ENOMEM);
    return result;
  }
  result.changes = converted != text;
  result.messages = DescribeInputProblems(Quoted(path), CheckWhole(commandLine, text), commandLine.strict);
  if (commandLine.strict && !result.messages.empty()) {
    result.failed = true;
    return result;
  }
  if (commandLine.mode == Mode::kCheck || !result.changes) return result;
  AtomicFile output;
  if (!output.Open(path) || !output.Write(converted) || !output.Commit()) {
    result.failed = true;
    result.messages += DescribeFailure("write", Quoted(path), output.error());
  }
  return result;
}

FileResult ProcessFileSafely(const CommandLine& commandLine, const std::string& path) {
  try {
    return ProcessFile(commandLine, path);
  } catch (const std::exception& failure) {
    return {false, true, DescribeFailure("convert", Quoted(path), std::string(failure.what()))};
  }
}

}  // namespace

int RunOnFiles(const CommandLine& commandLine) {
  std::string problems;
  const std::vector<std::string> files = CollectFiles(commandLine.paths, commandLine.includes, problems);
  std::fputs(problems.c_str(), stderr);

  std::vector<FileResult> results(files.size());
  {
    std::atomic<std::size_t> next = 0;
    std::vector<std::jthread> workers;
    for (std::size_t i = 0; i < std::min(kWorkers, files.size()); ++i) {
      workers.emplace_back([&] {
        for (std::size_t k; (k = next++) < files.size();) results[k] = ProcessFileSafely(commandLine, files[k]);
      });
    }
  }

  bool failed = !problems.empty();
  bool listed = false;
  for (std::size_t k = 0; k < files.size(); ++k) {
    std::fputs(results[k].messages.c_str(), stderr);
    failed = failed || results[k].failed;
    if (commandLine.mode == Mode::kCheck && results[k].changes) {
      std::printf("%s\n", files[k].c_str());
      listed = true;
    }
  }
  return failed || listed ? 1 : 0;
}

}  // namespace propdesk::cli
