#include "platform/posix/command_splitter.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace propdesk {
namespace {

using Arguments = std::vector<std::string>;

TEST(SplitCommandLine, FollowsTheWindowsArgumentConvention) {
  const struct {
    std::string_view line;
    Arguments expected;
  } cases[] = {
      {"", {}},
      {" \t ", {}},
      {"a b\tc", {"a", "b", "c"}},
      {"  lead   trail  ", {"lead", "trail"}},
      {"-encoding MS932 -reverse", {"-encoding", "MS932", "-reverse"}},
      {R"("a b" c)", {"a b", "c"}},
      {R"(a"b c"d)", {"ab cd"}},
      {R"("" x)", {"", "x"}},
      {R"("open to the end)", {"open to the end"}},
      {R"(C:\dir\tool.exe)", {R"(C:\dir\tool.exe)"}},
      {R"(a\"b)", {R"(a"b)"}},
      {R"(a\\"b c")", {R"(a\b c)"}},
      {R"(a\\\"b)", {R"(a\"b)"}},
      {R"("ends with\\" next)", {R"(ends with\)", "next"}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitCommandLine(c.line), c.expected) << c.line;
}

class CommandArgumentsTest : public ::testing::Test {
 protected:
  CommandArgumentsTest() : folder_(dir_.File("my tools")), tool_(folder_ + "/n2a") {
    std::filesystem::create_directory(folder_);
    test::WriteFileBytes(tool_, "");
  }

  test::TempDir dir_;
  std::string folder_;
  std::string tool_;
};

TEST_F(CommandArgumentsTest, AnExistingPathWithBlanksIsTheProgramAndTheRestIsSplit) {
  EXPECT_EQ(CommandArguments(tool_), Arguments{tool_});
  EXPECT_EQ(CommandArguments(tool_ + " -reverse"), (Arguments{tool_, "-reverse"}));
  EXPECT_EQ(CommandArguments(tool_ + R"( -encoding "MS 932" -reverse)"),
            (Arguments{tool_, "-encoding", "MS 932", "-reverse"}));
  EXPECT_EQ(CommandArguments(tool_ + "  "), Arguments{tool_});
}

TEST_F(CommandArgumentsTest, TheLongestExistingFileWins) {
  const std::string longer = tool_ + " -reverse";
  test::WriteFileBytes(longer, "");
  EXPECT_EQ(CommandArguments(longer), Arguments{longer});
  EXPECT_EQ(CommandArguments(longer + " -reverse"), (Arguments{longer, "-reverse"}));
}

TEST_F(CommandArgumentsTest, WithoutAnExistingFileTheWholeLineIsSplit) {
  // A folder is not a program; a name without a slash is left to the PATH search.
  EXPECT_EQ(CommandArguments(folder_ + " x"), (Arguments{dir_.path() + "/my", "tools", "x"}));
  EXPECT_EQ(CommandArguments(folder_ + "/missing -reverse"),
            (Arguments{dir_.path() + "/my", "tools/missing", "-reverse"}));
  EXPECT_EQ(CommandArguments("native2ascii -reverse"), (Arguments{"native2ascii", "-reverse"}));
  EXPECT_EQ(CommandArguments('"' + tool_ + "\" -reverse"), (Arguments{tool_, "-reverse"}));
  EXPECT_EQ(CommandArguments(""), Arguments{});
}

}  // namespace
}  // namespace propdesk
