// propdesk-native2ascii end to end, run as a child process on real files.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sys/xattr.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "cli/command_line.h"
#include "cli/file_batch.h"
#include "cli/file_walk.h"
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
  // Starts the converter (behind launcher_, when set) with the given standard streams.
  pid_t Start(const std::vector<std::string>& arguments, const posix_spawn_file_actions_t& actions) {
    std::vector<std::string> command = launcher_;
    command.push_back(PROPDESK_NATIVE2ASCII);
    command.insert(command.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& argument : command) argv.push_back(argument.data());
    argv.push_back(nullptr);
    // Termination signals act as they do by default, even when the test runs with them ignored.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&defaults, signal);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
    pid_t child = 0;
    const int spawned = posix_spawnp(&child, argv[0], &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    if (spawned != 0) {
      ADD_FAILURE() << "cannot start " << argv[0];
      return -1;
    }
    return child;
  }

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
    const pid_t child = Start(arguments, actions);
    posix_spawn_file_actions_destroy(&actions);
    Outcome outcome;
    if (child < 0) return outcome;
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

  // What the converter runs behind, such as a command that changes its user.
  std::vector<std::string> launcher_;
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
      {"-check"}, {"-inplace", "-check", inputPath}, {"-keepsyntax", "-reverse", "-encoding", "UTF-8"}, {"-include", "*.txt", inputPath}, {"-check", "-include"},
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
  std::filesystem::create_symlink("loop", folder_.File("loop"));
  ExpectFailure(Run({inputPath, folder_.File("loop")}), "loop", "Too many levels of symbolic links");
  EXPECT_TRUE(std::filesystem::is_symlink(folder_.File("loop")));
  EXPECT_EQ(test::ReadFileBytes(inputPath), kEscaped);
  EXPECT_FALSE(std::filesystem::exists(folder_.File("missing")));
}

TEST_F(Native2AsciiTest, ChecksAndConvertsATreeInPlace) {
  namespace fs = std::filesystem;
  fs::create_directories(folder_.File("tree/sub/deep"));
  const std::string escaped = Write("tree/escaped.properties", "a=\\u65e5\n");
  const std::string native = Write("tree/sub/native.properties", "b=\x93\xFA\r\n");
  const std::string mixed = Write("tree/sub/deep/mixed.properties", "c=\\u65e5 \x96\x7B\n");
  const std::string text = Write("tree/notes.txt", "\x93\xFA");
  const std::string twoLines = Write("tree/sub/new\nline.properties", "d=\x93\xFA\n");
  const auto anHourAgo = fs::file_time_type::clock::now() - std::chrono::hours(1);
  for (const auto& path : {escaped, native, mixed, text}) fs::last_write_time(path, anHourAgo);
  const std::string tree = folder_.File("tree");

  // In name order, a file reached twice listed once, and one name on one line.
  const Outcome check = Run({"-check", tree, native, tree + "/sub"});
  EXPECT_EQ(check.exitCode, 1);
  EXPECT_EQ(check.out, mixed + "\n" + native + "\n" + tree + "/sub/new\\nline.properties\n");
  EXPECT_EQ(Run({"-check", "-reverse", tree}).out, escaped + "\n" + mixed + "\n");
  EXPECT_EQ(Run({"-check", "-include", "*.txt", tree + "/"}).out, text + "\n");
  const Outcome nothingToDo = Run({"-check", escaped, "-include", "*.txt"});
  EXPECT_EQ(nothingToDo.exitCode, 0);
  EXPECT_EQ(nothingToDo.out, "");

  const Outcome converted = Run({"-inplace", tree});
  EXPECT_EQ(converted.exitCode, 0) << converted.err;
  EXPECT_EQ(converted.out + converted.err, "");
  EXPECT_EQ(test::ReadFileBytes(native), "b=\\u65e5\r\n");
  EXPECT_EQ(test::ReadFileBytes(mixed), "c=\\u65e5 \\u672c\n");
  EXPECT_EQ(test::ReadFileBytes(twoLines), "d=\\u65e5\n");
  EXPECT_EQ(fs::last_write_time(escaped), anHourAgo);
  EXPECT_EQ(fs::last_write_time(text), anHourAgo);
  EXPECT_EQ(Run({"-check", tree}).exitCode, 0);

  EXPECT_EQ(Run({"-inplace", "-reverse", mixed}).exitCode, 0);
  EXPECT_EQ(test::ReadFileBytes(mixed), "c=\x93\xFA \x96\x7B\n");
}

TEST_F(Native2AsciiTest, KeepSyntaxLeavesTheEscapesThatWouldReadAsSyntax) {
  // Kept as well: an escape after an escaped backslash, a digit that would complete a short \u.
  const std::string kept = "m=\\\\u30E2\\uab\\u0063d\n";
  const std::string decodable = Write("decodable.properties", "k\\u003dx=\\u65e5\\u000a\n" + kept);
  const Outcome decoded = Run({"-reverse", "-keepsyntax", decodable});
  EXPECT_EQ(decoded.exitCode, 0) << decoded.err;
  EXPECT_EQ(decoded.out, "k\\u003dx=\x93\xFA\\u000a\n" + kept);
  const std::string syntaxOnly = Write("syntax.properties", "a\\u0020b=\\u005c\n");
  EXPECT_EQ(Run({"-check", "-reverse", "-keepsyntax", folder_.path()}).out, decodable + "\n");
  EXPECT_EQ(Run({"-check", "-reverse", syntaxOnly}).exitCode, 1);
}

TEST_F(Native2AsciiTest, AFileThatFailsDoesNotStopTheOthers) {
  const std::string locked = Write("locked.properties", "\x93\xFA");
  ASSERT_EQ(::chmod(locked.c_str(), 0444), 0);
  const std::string good = Write("good.properties", "\x93\xFA");
  const Outcome outcome = Run({"-inplace", folder_.File("missing"), locked, good});
  EXPECT_EQ(outcome.exitCode, 1);
  EXPECT_EQ(outcome.err,
            "propdesk-native2ascii: cannot read '" + folder_.File("missing") + "': No such file or directory\n"
            "propdesk-native2ascii: cannot write '" + locked + "': Permission denied\n");
  EXPECT_EQ(test::ReadFileBytes(locked), "\x93\xFA");
  EXPECT_EQ(test::ReadFileBytes(good), "\\u65e5");
}

TEST_F(Native2AsciiTest, WarnsOfInputTheEncodingDoesNotDefineAndFailsOnItWhenStrict) {
  const std::string utf8Path = Write("utf8", "a\xFF\xE3\x81z\n");
  const Outcome utf8 = Run({"-encoding", "utf8", utf8Path});
  EXPECT_EQ(utf8.exitCode, 0);
  EXPECT_EQ(utf8.out, "a\\ufffd\\ufffd\\ufffdz\n");
  EXPECT_NE(utf8.err.find("'" + utf8Path + "': 3 invalid UTF-8 bytes, the first at byte offset 1"), std::string::npos)
      << utf8.err;

  // 85 40 is a pair code page 932 does not define; 81 before the line feed is a lone lead byte.
  const std::string cp932Path = Write("cp932.properties", "k=\x93\xFA \\u65e5 \x85\x40\x81\n");
  const Outcome piped = Run({"-reverse"}, cp932Path);
  EXPECT_EQ(piped.exitCode, 0);
  EXPECT_EQ(piped.out, "k=\x93\xFA \x93\xFA \x85\x40\x81\n");
  EXPECT_NE(piped.err.find("standard input: 2 characters undefined in code page 932, the first at byte offset 12"),
            std::string::npos)
      << piped.err;

  const std::string outputPath = Write("output", "old");
  const Outcome strict = Run({"-strict", cp932Path, outputPath});
  EXPECT_EQ(strict.exitCode, 1);
  EXPECT_NE(strict.err.find("error: '" + cp932Path + "': 2 characters"), std::string::npos) << strict.err;
  EXPECT_EQ(test::ReadFileBytes(outputPath), "old");
  const Outcome toStdout = Run({"-strict", "-encoding", "UTF-8"}, utf8Path);
  EXPECT_EQ(toStdout.exitCode, 1);
  EXPECT_EQ(toStdout.out, "");
  const Outcome inPlace = Run({"-inplace", "-strict", cp932Path, utf8Path});
  EXPECT_EQ(inPlace.exitCode, 1);
  EXPECT_EQ(test::ReadFileBytes(cp932Path), "k=\x93\xFA \\u65e5 \x85\x40\x81\n");

  // UTF-8 read as code page 932 may pair up into defined characters: only the hint tells.
  const std::string mistakenPath = Write("mistaken", "k=\xE6\x97\xA5\xE6\x9C\xAC\n");
  EXPECT_NE(Run({mistakenPath}).err.find("looks like UTF-8: use -encoding UTF-8"), std::string::npos);
  EXPECT_EQ(Run({"-strict", mistakenPath}).exitCode, 1);
  EXPECT_EQ(Run({"-strict", "-encoding", "UTF-8", mistakenPath}).exitCode, 0);
}

TEST_F(Native2AsciiTest, WritesIntoAPipeNamedAsTheOutput) {
  const std::string inputPath = Write("input", kEscaped);
  launcher_ = {"/bin/sh", "-c", R"({ "$0" "$@"; echo "exit $?" >&2; } | cat)"};
  const Outcome outcome = Run({"-reverse", inputPath, "/dev/stdout"});
  EXPECT_EQ(outcome.err, "exit 0\n");
  EXPECT_EQ(outcome.out, kCp932);
}

TEST_F(Native2AsciiTest, OutputOnAReadOnlyFileSystemNamesThatCause) {
  if (::geteuid() != 0) GTEST_SKIP() << "mounting a file system needs a privileged user";
  const std::string inputPath = Write("input", kEscaped);
  const std::string mountPoint = folder_.File("mounted");
  std::filesystem::create_directory(mountPoint);
  // In a mount namespace of its own: a memory file system holding "out", then made read-only.
  launcher_ = {"unshare", "--mount", "/bin/sh", "-c",
               R"(mount -t tmpfs tmpfs "$1" && echo old > "$1/out" && mount -o remount,ro "$1" || exit 77
                  shift; exec "$0" "$@")"};
  const Outcome outcome = Run({mountPoint, "-reverse", inputPath, mountPoint + "/out"});
  if (outcome.exitCode == 77 || outcome.err.starts_with("unshare")) {
    GTEST_SKIP() << "mounts are not allowed here: " << outcome.err;
  }
  ExpectFailure(outcome, "out", "Read-only file system");
}

// An access ACL in the kernel's attribute form: owner rw-, user nobody rw-, group ---, mask rw-,
// other ---.
std::string AccessAclGrantingNobody() {
  struct Entry {
    std::uint16_t tag, permissions;
    std::uint32_t id;
  };
  const Entry entries[] = {{0x01, 6, ~0u}, {0x02, 6, 65534}, {0x04, 0, ~0u}, {0x10, 6, ~0u}, {0x20, 0, ~0u}};
  const std::uint32_t version = 2;
  std::string bytes(reinterpret_cast<const char*>(&version), sizeof version);
  bytes.append(reinterpret_cast<const char*>(entries), sizeof entries);
  return bytes;
}

TEST_F(Native2AsciiTest, AnUnprivilegedWriterLeavesOtherUsersTheirFiles) {
  if (::geteuid() != 0) GTEST_SKIP() << "running the converter as another user needs a privileged user";
  namespace fs = std::filesystem;
  ASSERT_EQ(::chmod(folder_.path().c_str(), 0777), 0);
  const std::string native = "k=\x93\xFA\n";
  // Only an ACL lets nobody write the first file; anyone may write the second, root's, with setuid.
  const std::string granted = Write("granted.properties", native);
  ASSERT_EQ(::chown(granted.c_str(), 1234, 1234), 0);
  ASSERT_EQ(::chmod(granted.c_str(), 0600), 0);
  const std::string acl = AccessAclGrantingNobody();
  if (::setxattr(granted.c_str(), "system.posix_acl_access", acl.data(), acl.size(), 0) != 0) {
    GTEST_SKIP() << "no ACLs on the file system of " << granted;
  }
  struct stat info {};
  ASSERT_EQ(::stat(granted.c_str(), &info), 0);
  const mode_t grantedMode = info.st_mode & 07777;  // the group bits show the ACL's mask
  const std::string shared = Write("shared.properties", native);
  ASSERT_EQ(::chmod(shared.c_str(), 04666), 0);
  // A file anyone may write, in a folder where only root may make files.
  fs::create_directory(folder_.File("shut"));
  ASSERT_EQ(::chmod(folder_.File("shut").c_str(), 0755), 0);
  const std::string shut = Write("shut/open.properties", native);
  ASSERT_EQ(::chmod(shut.c_str(), 0666), 0);

  launcher_ = {"setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups"};
  const Outcome outcome = Run({"-inplace", granted, shared, shut});
  EXPECT_EQ(outcome.exitCode, 1);
  EXPECT_EQ(outcome.err,
            "propdesk-native2ascii: cannot write '" + shut + "': its folder refuses new files, which a safe save needs\n");
  // The same reason when the file is the output of a single conversion.
  const Outcome toOutput = Run({shared, shut});
  EXPECT_EQ(toOutput.exitCode, 1);
  EXPECT_EQ(toOutput.err, outcome.err);
  ASSERT_EQ(::stat(granted.c_str(), &info), 0);
  EXPECT_EQ(info.st_uid, 1234u);
  EXPECT_EQ(info.st_gid, 1234u);
  EXPECT_EQ(info.st_mode & 07777, grantedMode);
  char kept[256];
  const ssize_t keptSize = ::getxattr(granted.c_str(), "system.posix_acl_access", kept, sizeof kept);
  EXPECT_EQ(std::string(kept, static_cast<std::size_t>(std::max<ssize_t>(keptSize, 0))), acl);
  EXPECT_EQ(test::ReadFileBytes(granted), "k=\\u65e5\n");
  ASSERT_EQ(::stat(shared.c_str(), &info), 0);
  EXPECT_EQ(info.st_uid, 0u);
  EXPECT_EQ(info.st_mode & S_ISUID, 0u);  // the system drops it when someone else writes the file
  EXPECT_EQ(test::ReadFileBytes(shared), "k=\\u65e5\n");
  EXPECT_EQ(test::ReadFileBytes(shut), native);
  std::vector<std::string> names;
  for (const auto& entry : fs::recursive_directory_iterator(folder_.path())) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"granted.properties", "open.properties", "shared.properties", "shut",
                                             "stderr.capture", "stdout.capture"}));
}

TEST_F(Native2AsciiTest, ALinkPutInPlaceOfAListedFileOrFolderIsNotFollowed) {
  namespace fs = std::filesystem;
  fs::create_directories(folder_.File("tree/sub"));
  fs::create_directory(folder_.File("outside"));
  const std::string native = "k=\x93\xFA\n";
  for (const std::string name : {"tree/a.properties", "tree/sub/b.properties", "outside/a.properties",
                                 "outside/b.properties"}) {
    Write(name, native);
  }
  cli::CommandLine commandLine;
  commandLine.mode = cli::Mode::kInPlace;
  commandLine.paths = {folder_.File("tree")};
  commandLine.includes = {"*.properties"};
  std::string problems;
  const std::vector<cli::ListedFile> files = cli::CollectFiles(commandLine.paths, commandLine.includes, problems);
  ASSERT_EQ(files.size(), 2u) << problems;
  // Between the walk and the writes, the file turns into a link out of the tree, and the folder is
  // moved away for one.
  fs::remove(folder_.File("tree/a.properties"));
  fs::create_symlink(folder_.File("outside/a.properties"), folder_.File("tree/a.properties"));
  fs::rename(folder_.File("tree/sub"), folder_.File("tree/moved"));
  fs::create_symlink(folder_.File("outside"), folder_.File("tree/sub"));

  EXPECT_EQ(cli::RunOnFiles(commandLine, files), 1);
  EXPECT_EQ(test::ReadFileBytes(folder_.File("outside/a.properties")), native);
  EXPECT_EQ(test::ReadFileBytes(folder_.File("outside/b.properties")), native);
  EXPECT_TRUE(fs::is_symlink(folder_.File("tree/a.properties")));
  EXPECT_EQ(test::ReadFileBytes(folder_.File("tree/moved/b.properties")), "k=\\u65e5\n");
}

TEST_F(Native2AsciiTest, InterruptedRunsInPlaceLeaveNoTemporaryFile) {
  namespace fs = std::filesystem;
  // Many small files; every fourth has a second name, so that it is rewritten in place.
  fs::create_directory(folder_.File("tree"));
  std::string native;
  for (int line = 0; line < 20; ++line) native += "key" + std::to_string(line) + "=\x93\xFA\x96\x7B\n";
  for (int i = 0; i < 300; ++i) {
    const std::string path = Write("tree/f" + std::to_string(i) + ".properties", native);
    if (i % 4 == 0) {
      ASSERT_EQ(::link(path.c_str(), (path + ".link").c_str()), 0);
    }
  }
  const auto temporaryFiles = [this] {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_.File("tree"))) {
      if (entry.path().filename().string().find(".propdesk-") != std::string::npos) names.push_back(entry.path());
    }
    return names;
  };
  const auto start = [this](bool reverse) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::vector<std::string> arguments = {"-inplace", folder_.File("tree")};
    if (reverse) arguments.push_back("-reverse");
    const pid_t child = Start(arguments, actions);
    posix_spawn_file_actions_destroy(&actions);
    return child;
  };
  // One whole run tells how long a run takes; the others are ended at random moments within it.
  const auto before = std::chrono::steady_clock::now();
  int status = 0;
  const pid_t whole = start(false);
  ASSERT_EQ(::waitpid(whole, &status, 0), whole);
  const auto runTime = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - before);
  std::mt19937 random(std::random_device{}());
  for (int run = 0; run < 24; ++run) {
    const int signal = std::array{SIGTERM, SIGHUP, SIGINT}[run % 3];
    const auto delay = std::chrono::microseconds(random() % (runTime.count() + 1));
    SCOPED_TRACE("signal " + std::to_string(signal) + " after " + std::to_string(delay.count()) + " us");
    const pid_t child = start(run % 2 == 0);
    ASSERT_GT(child, 0);
    std::this_thread::sleep_for(delay);
    ::kill(child, signal);
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_EQ(temporaryFiles(), std::vector<std::string>{});
  }
}

TEST_F(Native2AsciiTest, TerminationDuringAWriteLeavesNoTemporaryFile) {
  const auto leftovers = [this] {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder_.path())) names.push_back(entry.path());
    return names;
  };
  const std::string chunk(1 << 20, 'x');
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    SCOPED_TRACE(signal);
    int input[2];
    ASSERT_EQ(::pipe2(input, O_CLOEXEC), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input[0], 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const pid_t child = Start({"/dev/stdin", folder_.File("out")}, actions);
    posix_spawn_file_actions_destroy(&actions);
    ::close(input[0]);
    ASSERT_GT(child, 0);
    // The converter holds its temporary file while more input may come.
    ASSERT_EQ(::write(input[1], chunk.data(), chunk.size()), static_cast<ssize_t>(chunk.size()));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (leftovers().empty() && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_FALSE(leftovers().empty()) << "no temporary file appeared";
    ::kill(child, signal);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ::close(input[1]);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
    EXPECT_EQ(leftovers(), std::vector<std::string>{});
  }
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
