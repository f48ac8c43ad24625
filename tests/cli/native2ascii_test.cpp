// propdesk-native2ascii end to end, run as a child process on real files.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "common/version.h"
#include "convert/escape_codec.h"
#include "support/temp_dir.h"

extern char** environ;

namespace propdesk {
namespace {

using namespace std::string_literals;

struct Outcome {
  int exitCode = -1;
  std::string out;
  std::string err;
};

class Native2AsciiTest : public testing::Test {
 protected:
  // Runs the converter with standard input from stdinPath and standard output to stdoutPath
  // (a capture file when empty).
  Outcome Run(const std::vector<std::string>& arguments, const std::string& stdinPath = "/dev/null",
              const std::string& stdoutPath = "") {
    const std::string outPath = stdoutPath.empty() ? folder_.File("stdout.capture") : stdoutPath;
    const std::string errPath = folder_.File("stderr.capture");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, stdinPath.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<std::string> command = {PROPDESK_NATIVE2ASCII};
    command.insert(command.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& argument : command) argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t child = 0;
    Outcome outcome;
    const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
      ADD_FAILURE() << "cannot start " << argv[0];
      return outcome;
    }
    int status = 0;
    if (waitpid(child, &status, 0) == child && WIFEXITED(status)) outcome.exitCode = WEXITSTATUS(status);
    if (stdoutPath.empty()) outcome.out = test::ReadFileBytes(outPath);
    outcome.err = test::ReadFileBytes(errPath);
    return outcome;
  }

  std::string Write(const std::string& name, const std::string& content) {
    test::WriteFileBytes(folder_.File(name), content);
    return folder_.File(name);
  }

  // Expects a failure with exit code 1 and one line that names the file and the reason.
  static void ExpectFailure(const Outcome& outcome, const std::string& file, const std::string& reason) {
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_TRUE(outcome.err.ends_with('\n') && std::count(outcome.err.begin(), outcome.err.end(), '\n') == 1)
        << outcome.err;
    EXPECT_NE(outcome.err.find(file), std::string::npos) << outcome.err;
    EXPECT_NE(outcome.err.find(reason), std::string::npos) << outcome.err;
  }

  test::TempDir folder_;
};

const std::string kEscaped = "# \\u6ce8\\u6587\nkey=\\u65e5\\u672c {0}\\n\\\n  \\uff71\\u00e9\r\n";
const std::string kCp932 = "# \x92\x8D\x95\xB6\nkey=\x93\xFA\x96\x7B {0}\\n\\\n  \xB1\\u00e9\r\n";
const std::string kEscapedWithPair = "\\u65e5\\u00e9\\ud83d\\ude00 \\ud83d!\n";
const std::string kUtf8 = "\xE6\x97\xA5\xC3\xA9\xF0\x9F\x98\x80 \\ud83d!\n";

TEST_F(Native2AsciiTest, ConvertsBothWaysInBothEncodings) {
  const struct {
    std::vector<std::string> options;
    std::string input;
    std::string expected;
  } conversions[] = {
      {{"-reverse"}, kEscaped, kCp932},
      {{}, kCp932, kEscaped},
      {{"-reverse", "-encoding", "UTF-8"}, kEscapedWithPair, kUtf8},
      {{"-encoding", "UTF-8"}, kUtf8, kEscapedWithPair},
  };
  for (const auto& [options, input, expected] : conversions) {
    const std::string inputPath = Write("input", input);
    const Outcome piped = Run(options, inputPath);
    EXPECT_EQ(piped.exitCode, 0) << piped.err;
    EXPECT_EQ(piped.out, expected);
    EXPECT_EQ(piped.err, "");

    std::vector<std::string> withFiles = options;
    withFiles.insert(withFiles.end(), {inputPath, folder_.File("output")});
    const Outcome named = Run(withFiles);
    EXPECT_EQ(named.exitCode, 0) << named.err;
    EXPECT_EQ(named.out, "");
    EXPECT_EQ(test::ReadFileBytes(folder_.File("output")), expected);
  }
}

TEST_F(Native2AsciiTest, AcceptsEncodingNamesInAnyCase) {
  const std::string inputPath = Write("input", kEscaped);
  for (const std::string name : {"MS932", "ms932", "windows-31j", "Windows-31J", "cp932", "CP932"}) {
    EXPECT_EQ(Run({"-reverse", "-encoding", name, inputPath}).out, kCp932) << name;
  }
  for (const std::string name : {"UTF-8", "utf-8", "UTF8"}) {
    EXPECT_EQ(Run({"-encoding", name, "-reverse", inputPath}).exitCode, 0) << name;
  }
}

TEST_F(Native2AsciiTest, UsageErrorsShowTheUsage) {
  const std::string inputPath = Write("input", kEscaped);
  const std::vector<std::vector<std::string>> mistakes = {
      {"-encoding"}, {"-encoding", "EUC-JP"}, {"-encoding", "utf16"}, {"-x"}, {"-reverse", "--reverse"},
      {inputPath, folder_.File("output"), folder_.File("third")},
  };
  for (const auto& arguments : mistakes) {
    const Outcome outcome = Run(arguments);
    EXPECT_EQ(outcome.exitCode, 2) << arguments.back();
    EXPECT_EQ(outcome.out, "");
    EXPECT_NE(outcome.err.find("Usage: propdesk-native2ascii"), std::string::npos);
  }
  EXPECT_FALSE(std::filesystem::exists(folder_.File("output")));
}

TEST_F(Native2AsciiTest, HelpAndVersionGoToStandardOutput) {
  for (const std::string option : {"-h", "--help"}) {
    const Outcome outcome = Run({"-reverse", option});
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.out.rfind("Usage: propdesk-native2ascii [-reverse] [-encoding NAME] [INPUT [OUTPUT]]", 0), 0u);
    EXPECT_EQ(outcome.err, "");
  }
  for (const std::string option : {"-version", "--version"}) {
    const Outcome outcome = Run({option, "no-such-input"});
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.out, "propdesk-native2ascii "s + kVersion + "\n");
    EXPECT_EQ(outcome.err, "");
  }
}

TEST_F(Native2AsciiTest, UnreadableInputLeavesTheOutputAlone) {
  const std::string outputPath = Write("output", "old");
  std::filesystem::create_directory(folder_.File("folder"));
  ExpectFailure(Run({folder_.File("missing"), outputPath}), "missing", "No such file or directory");
  ExpectFailure(Run({"-reverse", folder_.File("folder"), outputPath}), "folder", "Is a directory");
  ExpectFailure(Run({"-reverse"}, folder_.File("folder")), "standard input", "Is a directory");
  EXPECT_EQ(test::ReadFileBytes(outputPath), "old");
}

TEST_F(Native2AsciiTest, UnwritableOutputIsLeftAsItWas) {
  const std::string inputPath = Write("input", kEscaped);
  const std::string lockedPath = Write("locked", "old");
  ASSERT_EQ(::chmod(lockedPath.c_str(), 0444), 0);
  ExpectFailure(Run({"-reverse", inputPath, lockedPath}), "locked", "Permission denied");
  EXPECT_EQ(test::ReadFileBytes(lockedPath), "old");
  ExpectFailure(Run({inputPath, folder_.File("missing/output")}), "missing/output", "No such file or directory");
  ExpectFailure(Run({inputPath, inputPath + "/output"}), "input/output", "Not a directory");
  ExpectFailure(Run({"-reverse", inputPath}, "/dev/null", "/dev/full"), "standard output", "No space left");
  EXPECT_EQ(test::ReadFileBytes(inputPath), kEscaped);
  EXPECT_FALSE(std::filesystem::exists(folder_.File("missing")));
}

TEST_F(Native2AsciiTest, CountsInvalidUtf8BytesInAWarning) {
  const std::string inputPath = Write("input", "a\xFF\xE3\x81z\n");
  const Outcome outcome = Run({"-encoding", "utf8", inputPath});
  EXPECT_EQ(outcome.exitCode, 0);
  EXPECT_EQ(outcome.out, "a\\ufffd\\ufffd\\ufffdz\n");
  EXPECT_NE(outcome.err.find("3 invalid UTF-8 bytes"), std::string::npos) << outcome.err;
}

TEST_F(Native2AsciiTest, StreamsLargeInputLikeTheWholeTextCodec) {
  std::string escaped;
  for (int i = 0; escaped.size() < 3'000'000; ++i) {
    escaped += "key." + std::to_string(i) + "=\\u65e5\\u672c\\u00e9" + std::string(i % 7, 'x') + "\\uff71\\\n";
  }
  std::string native = escaped;
  ASSERT_TRUE(DecodeEscapes(native));
  const std::string escapedPath = Write("large.properties", escaped);
  EXPECT_EQ(Run({"-reverse"}, escapedPath).out, native);
  const std::string nativePath = Write("large.native", native);
  EXPECT_EQ(Run({}, nativePath).out, escaped);
  // Converting a file onto itself reads it whole before the result takes its place.
  EXPECT_EQ(Run({nativePath, nativePath}).exitCode, 0);
  EXPECT_EQ(test::ReadFileBytes(nativePath), escaped);
}

}  // namespace
}  // namespace propdesk
