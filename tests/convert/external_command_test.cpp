// The external converter with the test helper program as its command, on every platform: commands
// that fail or cannot be found, a cancelled command and what it started, and what a successful
// command leaves running. Every test checks that no temporary file is left.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "convert/external_converter.h"
#include "private_temp_folder.h"

namespace propdesk {
namespace {

using std::chrono::milliseconds;
using Direction = ConversionDirection;

const std::string kHelper = PROPDESK_COMMAND_HELPER;
// The system's code for a file that does not exist: ENOENT and ERROR_FILE_NOT_FOUND alike.
constexpr int kFileNotFound = 2;

class ExternalCommandTest : public ::testing::Test {
 protected:
  void TearDown() override {
    const std::vector<std::string> leftovers = temp_.Leftovers();
    EXPECT_TRUE(leftovers.empty()) << "temporary file left: " << leftovers.front();
  }

  test::TempDir dir_;
  test::PrivateTempFolder temp_;
};

TEST_F(ExternalCommandTest, FailuresLeaveOneStatusAndNoOutput) {
  // A program in a folder whose name has a blank needs no quotes, and any character works in it.
  const std::string tools = dir_.File("ソ表 tools");
  std::filesystem::create_directory(test::FileSystemPath(tools));
  const std::string helperCopy = tools + "/" + test::Utf8Path(test::FileSystemPath(kHelper).filename());
  std::filesystem::copy_file(test::FileSystemPath(kHelper), test::FileSystemPath(helperCopy));
  const struct {
    std::string command;
    ConversionStatus status;
    int systemError;
  } cases[] = {
      {kHelper + " fail", ConversionStatus::CommandFailed, 0},
      {helperCopy + " fail", ConversionStatus::CommandFailed, 0},
      {dir_.File("no-such-command"), ConversionStatus::LaunchFailed, kFileNotFound},
      {"", ConversionStatus::LaunchFailed, kFileNotFound},
  };
  for (const auto& c : cases) {
    for (const Direction direction : {Direction::ToEscaped, Direction::ToNative}) {
      const ExternalConversion outcome = ConvertExternally(direction, c.command, "input", {});
      EXPECT_EQ(outcome.status, c.status) << c.command;
      EXPECT_EQ(outcome.systemError, c.systemError) << c.command;
      EXPECT_EQ(outcome.output, "") << c.command;
    }
  }
}

// The ids of the hanging command and of the copy of itself it started, once it has written them.
bool ReadIds(const std::string& path, long& command, long& copy) {
  std::ifstream in(path);
  return static_cast<bool>(in >> command >> copy);
}

TEST_F(ExternalCommandTest, CancelEndsTheCommandAndWhatItStarted) {
  const std::string ids = dir_.File("ids");
  long command = 0;
  long copy = 0;
  const ExternalConversion outcome =
      ConvertExternally(Direction::ToNative, kHelper + " hang " + ids, "text", [&](milliseconds elapsed) {
        return ReadIds(ids, command, copy) || elapsed > std::chrono::seconds(30);
      });
  EXPECT_EQ(outcome.status, ConversionStatus::Cancelled);
  EXPECT_EQ(outcome.systemError, 0);
  EXPECT_EQ(outcome.output, "");
  ASSERT_NE(copy, 0) << "the command did not start its copy in time";
  EXPECT_TRUE(test::ProcessEnded(command));
  EXPECT_TRUE(test::ProcessEnded(copy));
}

TEST_F(ExternalCommandTest, ProcessesLeftBehindBySuccessfulCommandAreEnded) {
  const ExternalConversion outcome = ConvertExternally(Direction::ToEscaped, kHelper + " detach", "", {});
  ASSERT_TRUE(outcome.Succeeded());
  const long copy = std::stol(outcome.output);
  ASSERT_NE(copy, 0);
  EXPECT_TRUE(test::ProcessEnded(copy));
}

}  // namespace
}  // namespace propdesk
