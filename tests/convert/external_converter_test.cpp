// The external converter with real child processes and real temporary files, for what only POSIX
// has: shell scripts, signals, process groups, inherited descriptors. Every test runs with $TMPDIR
// pointing at a private folder and checks that nothing is left in it.
#include "convert/external_converter.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "command_sandbox.h"

namespace propdesk {
namespace {

using std::chrono::milliseconds;

using Direction = ConversionDirection;

ExternalConversion Convert(Direction direction, const std::string& command, std::string_view text,
                           const CancelCheck& shouldCancel = {}) {
  return ConvertExternally(direction, command, text, shouldCancel);
}

class ExternalConverterTest : public ::testing::Test {
 protected:
  void TearDown() override {
    const std::vector<std::string> leftovers = sandbox_.TempLeftovers();
    EXPECT_TRUE(leftovers.empty()) << "left in $TMPDIR: " << leftovers.front();
  }

  test::CommandSandbox sandbox_;
};

TEST_F(ExternalConverterTest, TextGoesThroughTheCommandByteForByte) {
  std::string text;
  for (int round = 0; round < 3000; ++round) {
    for (int byte = 0; byte < 256; ++byte) text.push_back(static_cast<char>(byte));
    text += "\r\nkey=\\u6ce8\\u6587\n";
  }
  const std::string copy = sandbox_.Script("copy", "exec cat");
  for (const Direction direction : {Direction::ToEscaped, Direction::ToNative}) {
    const ExternalConversion outcome = Convert(direction, copy, text);
    EXPECT_EQ(outcome.status, ConversionStatus::None);
    EXPECT_TRUE(outcome.output == text);
  }
  // A program without a slash is found on PATH.
  EXPECT_TRUE(Convert(Direction::ToEscaped, "cat", text).output == text);
}

TEST_F(ExternalConverterTest, NothingOutIsFineForNothingIn) {
  EXPECT_EQ(Convert(Direction::ToEscaped, "wc -c", "").output, "0\n");
  EXPECT_TRUE(Convert(Direction::ToNative, "true", "").Succeeded());
}

TEST_F(ExternalConverterTest, CommandLineBecomesProgramAndArguments) {
  // The script lies in a folder whose name has a blank.
  const std::string args = sandbox_.Script("args", R"(for a in "$@"; do printf '[%s]' "$a"; done)");
  const struct {
    Direction direction;
    std::string command;
    std::string expected;
  } cases[] = {
      {Direction::ToEscaped, args, ""},
      {Direction::ToNative, args, "[-reverse]"},
      {Direction::ToEscaped, args + " -encoding MS932", "[-encoding][MS932]"},
      {Direction::ToNative, args + " -encoding MS932", "[-encoding][MS932][-reverse]"},
      {Direction::ToEscaped, '"' + args + R"(" "a b"  c\"d)", R"([a b][c"d])"},
  };
  for (const auto& c : cases) {
    const ExternalConversion outcome = Convert(c.direction, c.command, "");
    EXPECT_TRUE(outcome.Succeeded()) << c.command;
    EXPECT_EQ(outcome.output, c.expected) << c.command;
  }
}

TEST_F(ExternalConverterTest, FailuresLeaveOneStatusAndNoOutput) {
  const std::string notExecutable = sandbox_.File("plain.txt");
  test::WriteFileBytes(notExecutable, "#!/bin/sh\n");
  const struct {
    std::string command;
    ConversionStatus status;
    int systemError;
  } cases[] = {
      {sandbox_.Script("killed", "echo partial; kill -KILL $$"), ConversionStatus::CommandFailed, 0},
      // No text converts to nothing: a command that wrote nothing for some text has failed.
      {"true", ConversionStatus::CommandFailed, 0},
      {"   ", ConversionStatus::LaunchFailed, ENOENT},
      {notExecutable, ConversionStatus::LaunchFailed, EACCES},
      {sandbox_.TempFolder(), ConversionStatus::LaunchFailed, EACCES},
  };
  for (const auto& c : cases) {
    for (const Direction direction : {Direction::ToEscaped, Direction::ToNative}) {
      const ExternalConversion outcome = Convert(direction, c.command, "input");
      EXPECT_EQ(outcome.status, c.status) << c.command;
      EXPECT_EQ(outcome.systemError, c.systemError) << c.command;
      EXPECT_EQ(outcome.output, "") << c.command;
    }
  }
}

TEST_F(ExternalConverterTest, CommandLinesOf4096BytesOrMoreStartNothing) {
  const std::string marker = sandbox_.File("started");
  const std::string script = sandbox_.Script("mark", "touch \"" + marker + "\"");
  const auto lineOfLength = [&](std::size_t length) { return script + " " + std::string(length - script.size() - 1, 'x'); };

  EXPECT_TRUE(Convert(Direction::ToEscaped, lineOfLength(4095), "").Succeeded());
  EXPECT_TRUE(std::filesystem::remove(marker));

  for (const std::size_t length : {4096, 5000}) {
    const ExternalConversion tooLong = Convert(Direction::ToEscaped, lineOfLength(length), "");
    EXPECT_EQ(tooLong.status, ConversionStatus::BadParameter);
    EXPECT_EQ(tooLong.systemError, 0);
  }
  // " -reverse" counts: a path of 4087 bytes makes a line of 4096.
  const ExternalConversion reverse = Convert(Direction::ToNative, lineOfLength(4087), "");
  EXPECT_EQ(reverse.status, ConversionStatus::BadParameter);
  const ExternalConversion withNul = Convert(Direction::ToEscaped, script + std::string(1, '\0') + "x", "");
  EXPECT_EQ(withNul.status, ConversionStatus::BadParameter);
  EXPECT_FALSE(std::filesystem::exists(marker));
}

TEST_F(ExternalConverterTest, MissingTemporaryFolderIsATempFileError) {
  const std::string marker = sandbox_.File("started");
  const std::string script = sandbox_.Script("mark", "touch \"" + marker + "\"");
  ::setenv("TMPDIR", sandbox_.File("gone").c_str(), 1);
  const ExternalConversion outcome = Convert(Direction::ToEscaped, script, "text");
  ::setenv("TMPDIR", sandbox_.TempFolder().c_str(), 1);
  EXPECT_EQ(outcome.status, ConversionStatus::TempFileError);
  EXPECT_EQ(outcome.systemError, ENOENT);
  EXPECT_FALSE(std::filesystem::exists(marker));
}

TEST_F(ExternalConverterTest, ChildHasOnlyItsStreamsAndItsOwnProcessGroup) {
  const int ours = ::open(sandbox_.File("held open").c_str(), O_CREAT | O_WRONLY, 0600);
  ASSERT_GE(ours, 0);
  const std::string script = sandbox_.Script(
      "streams", "readlink /proc/$$/fd/2\n"
                 "[ -e /proc/$$/fd/" + std::to_string(ours) + " ] && echo inherited || echo closed\n"
                 "echo $$ $(cut -d' ' -f5 /proc/$$/stat)");
  const ExternalConversion outcome = Convert(Direction::ToEscaped, script, "");
  ::close(ours);
  std::istringstream lines(outcome.output);
  std::string standardError, inherited;
  pid_t pid = 0, group = -1;
  lines >> standardError >> inherited >> pid >> group;
  EXPECT_EQ(standardError, "/dev/null");
  EXPECT_EQ(inherited, "closed");
  EXPECT_EQ(pid, group);
}

TEST_F(ExternalConverterTest, CheckIsAskedRepeatedlyWhileTheCommandRuns) {
  std::vector<milliseconds> asked;
  const ExternalConversion outcome = Convert(Direction::ToEscaped, "sleep 0.3", "", [&](milliseconds elapsed) {
    asked.push_back(elapsed);
    return false;
  });
  EXPECT_TRUE(outcome.Succeeded());
  ASSERT_GE(asked.size(), 6u);
  EXPECT_TRUE(std::is_sorted(asked.begin(), asked.end()));
  EXPECT_GE(asked.back(), milliseconds(200));
}

// The ids of the script's shell and of the sleep it started, once it has written them.
bool ReadPids(const std::string& path, pid_t& shell, pid_t& sleeper) {
  std::ifstream in(path);
  return static_cast<bool>(in >> shell >> sleeper);
}

TEST_F(ExternalConverterTest, CancelEndsACommandThatIgnoresOrAnswersTheGentleSignal) {
  const std::string pids = sandbox_.File("pids");
  const std::string startSleeper = "sleep 30 & echo $$ $! > \"" + pids + "\"; wait";
  const struct {
    std::string name;
    std::string body;
  } cases[] = {
      {"ignores-term", "trap '' TERM; " + startSleeper},
      {"exits-0-on-term", "trap 'exit 0' TERM; " + startSleeper},
  };
  for (const auto& c : cases) {
    std::filesystem::remove(pids);
    pid_t shell = 0, sleeper = 0;
    bool tempFilesGoneWhileRunning = false;
    const auto start = std::chrono::steady_clock::now();
    const ExternalConversion outcome = Convert(Direction::ToNative, sandbox_.Script(c.name, c.body), "text",
                                    [&](milliseconds elapsed) {
                                      if (!ReadPids(pids, shell, sleeper)) return elapsed > milliseconds(10000);
                                      tempFilesGoneWhileRunning = sandbox_.TempLeftovers().empty();
                                      return true;
                                    });
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)) << c.name;
    EXPECT_EQ(outcome.status, ConversionStatus::Cancelled) << c.name;
    EXPECT_EQ(outcome.systemError, 0) << c.name;
    EXPECT_EQ(outcome.output, "") << c.name;
    EXPECT_TRUE(tempFilesGoneWhileRunning) << c.name;
    ASSERT_NE(sleeper, 0) << c.name;
    EXPECT_TRUE(test::ProcessEnded(shell)) << c.name;
    EXPECT_TRUE(test::ProcessEnded(sleeper)) << c.name;
  }
}

TEST_F(ExternalConverterTest, ExitCodeTakenBySystemIsReported) {
  // With SIGCHLD ignored the system reaps the child itself and its exit code is lost.
  const auto previous = ::signal(SIGCHLD, SIG_IGN);
  const ExternalConversion blocking = Convert(Direction::ToEscaped, "true", "");
  const ExternalConversion polling = Convert(Direction::ToEscaped, "sleep 0.1", "", [](milliseconds) { return false; });
  ::signal(SIGCHLD, previous);
  for (const ExternalConversion& outcome : {blocking, polling}) {
    EXPECT_EQ(outcome.status, ConversionStatus::ExitCodeUnavailable);
    EXPECT_EQ(outcome.systemError, ECHILD);
  }
}

// Converts under an address-space limit far below the command's output and exits with the
// status as its code.
[[noreturn]] void ConvertUnderAddressLimit(const std::string& command) {
  std::ifstream status("/proc/self/status");
  std::string field;
  rlim_t used = 0;
  while (status >> field && field != "VmSize:") {}
  status >> used;
  const rlim_t limit = used * 1024 + (rlim_t{1} << 30);
  const rlimit bounded{limit, limit};
  ::setrlimit(RLIMIT_AS, &bounded);
  const ExternalConversion outcome = Convert(Direction::ToEscaped, command, "");
  std::_Exit(outcome.output.empty() ? static_cast<int>(outcome.status) : 100);
}

TEST_F(ExternalConverterTest, OutputBeyondMemoryIsOutOfMemory) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the address sanitizer needs more address space than the limit leaves";
#endif
  // A sparse 4 GiB output: its size needs 64 bits and no memory can be had for it.
  const std::string huge = sandbox_.Script("huge", "exec truncate -s 4G /dev/stdout");
  EXPECT_EXIT(ConvertUnderAddressLimit(huge), ::testing::ExitedWithCode(static_cast<int>(ConversionStatus::OutOfMemory)),
              "");
}

}  // namespace
}  // namespace propdesk
