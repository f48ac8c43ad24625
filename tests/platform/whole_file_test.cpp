// Whole-file reading and the atomic save, on real files in a temporary folder, on every system.
#include "platform/whole_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "folder_names.h"
#include "platform/atomic_file.h"
#include "platform/file_identity.h"
#include "support/temp_dir.h"

namespace propdesk {
namespace {

using namespace std::string_literals;
namespace fs = std::filesystem;

// The system's error as the standard library's portable condition.
std::error_condition Condition(int systemError) {
  return std::system_category().default_error_condition(systemError);
}

class WholeFileTest : public testing::Test {
 protected:
  std::vector<std::string> FolderEntries() const { return test::FolderNames(folder_.path()); }

  test::TempDir folder_;
};

TEST_F(WholeFileTest, ReadsEveryByteOfAFile) {
  for (const std::string& content : {""s, "key=value\r\n"s, "a\0b\0\0"s, std::string(3'000'000, '\x93')}) {
    const std::string path = folder_.File("in.properties");
    test::WriteFileBytes(path, content);
    std::string text = "left over";
    ASSERT_TRUE(ReadWholeFile(path, text).ok());
    EXPECT_EQ(text, content);
  }
}

TEST_F(WholeFileTest, ReadingWhatIsNotAFileFailsWithEmptyText) {
  fs::create_directory(test::FileSystemPath(folder_.File("folder")));
  for (const std::string& path : {folder_.File("missing"), folder_.File("folder"), ""s}) {
    std::string text = "left over";
    const SystemResult read = ReadWholeFile(path, text);
    EXPECT_FALSE(read.ok()) << path;
    if (path == folder_.File("missing")) {
      EXPECT_EQ(Condition(read.systemError), std::errc::no_such_file_or_directory);
    }
    EXPECT_TRUE(text.empty());
  }
}

TEST_F(WholeFileTest, ExistingFileIsARegularFile) {
  test::WriteFileBytes(folder_.File("file"), "x");
  fs::create_directory(test::FileSystemPath(folder_.File("folder")));
  EXPECT_TRUE(IsExistingFile(folder_.File("file")));
  EXPECT_FALSE(IsExistingFile(folder_.File("folder")));
  EXPECT_FALSE(IsExistingFile(folder_.File("missing")));
  EXPECT_FALSE(IsExistingFile(""));
}

TEST_F(WholeFileTest, WritesNewFilesAndReplacesOldOnesExactly) {
  const std::string path = folder_.File("out.properties");
  ASSERT_TRUE(WriteWholeFile(path, "a much longer first content\r\n").ok());
  ASSERT_TRUE(WriteWholeFile(path, "short\0"s).ok());
  EXPECT_EQ(test::ReadFileBytes(path), "short\0"s);
  ASSERT_TRUE(WriteWholeFile(path, "").ok());
  EXPECT_EQ(test::ReadFileBytes(path), "");
  EXPECT_EQ(FolderEntries(), std::vector<std::string>{"out.properties"});
}

TEST_F(WholeFileTest, ReplacesAFileNamedFromTheCurrentFolder) {
  const fs::path before = fs::current_path();
  fs::current_path(test::FileSystemPath(folder_.path()));
  const bool written = WriteWholeFile("relative.properties", "old").ok() && WriteWholeFile("relative.properties", "new").ok();
  fs::current_path(before);
  EXPECT_TRUE(written);
  EXPECT_EQ(test::ReadFileBytes(folder_.File("relative.properties")), "new");
  EXPECT_EQ(FolderEntries(), std::vector<std::string>{"relative.properties"});
}

TEST_F(WholeFileTest, AFileWithAnotherNameIsRewrittenInPlaceAndBothNamesShowTheNewContent) {
  const std::string path = folder_.File("messages.properties");
  test::WriteFileBytes(path, "a longer old content\n");
  fs::create_hard_link(test::FileSystemPath(path), test::FileSystemPath(folder_.File("other.properties")));
  const std::optional<FileStamp> before = TakeFileStamp(path);
  ASSERT_TRUE(before);
  ASSERT_TRUE(WriteWholeFile(path, "new").ok());
  const std::optional<FileStamp> after = TakeFileStamp(path);
  ASSERT_TRUE(after);
  EXPECT_EQ(after->identity, before->identity);
  EXPECT_EQ(test::ReadFileBytes(path), "new");
  EXPECT_EQ(test::ReadFileBytes(folder_.File("other.properties")), "new");
  EXPECT_EQ(FolderEntries(), (std::vector<std::string>{"messages.properties", "other.properties"}));
}

TEST_F(WholeFileTest, ReadOnlyFileIsNotWrittenEvenByAPrivilegedUser) {
  const std::string path = folder_.File("locked.properties");
  test::WriteFileBytes(path, "old");
  test::SetWritable(path, false);
  const SaveResult saved = WriteWholeFile(path, "new");
  EXPECT_EQ(Condition(saved.systemError), std::errc::permission_denied);
  EXPECT_FALSE(saved.folderRefusedNewFile);
  EXPECT_EQ(test::ReadFileBytes(path), "old");
  EXPECT_EQ(FolderEntries(), std::vector<std::string>{"locked.properties"});
}

TEST_F(WholeFileTest, SavingWhereNoFileCanBeMadeFails) {
  test::WriteFileBytes(folder_.File("plain"), "old");
  fs::create_directory(test::FileSystemPath(folder_.File("folder")));
  for (const std::string& path : {folder_.File("plain/under.properties"), folder_.File("missing/out.properties"),
                                 folder_.File("folder"), folder_.File("folder/"), ""s}) {
    EXPECT_FALSE(WriteWholeFile(path, "new").ok()) << path;
  }
  EXPECT_EQ(test::ReadFileBytes(folder_.File("plain")), "old");
  EXPECT_EQ(FolderEntries(), (std::vector<std::string>{"folder", "plain"}));
}

TEST_F(WholeFileTest, UnfinishedReplacementLeavesTheOldFileAndNoTrace) {
  const std::string path = folder_.File("messages.properties");
  test::WriteFileBytes(path, "old");
  {
    AtomicFile file;
    ASSERT_TRUE(file.Open(path).ok());
    ASSERT_TRUE(file.Write("half of the new").ok());
  }
  EXPECT_EQ(test::ReadFileBytes(path), "old");
  EXPECT_EQ(FolderEntries(), std::vector<std::string>{"messages.properties"});
}

}  // namespace
}  // namespace propdesk
