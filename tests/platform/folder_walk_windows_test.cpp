// Folder walks on Windows: names outside every code page, patterns without regard to case, and
// what is not a regular file.
#include "platform/folder_walk.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/atomic_file.h"
#include "platform/whole_file.h"
#include "support/temp_dir.h"

namespace propdesk {
namespace {

namespace fs = std::filesystem;

// The paths under folder, below prefix, of the files whose names match pattern.
void CollectMatches(const SharedFolder& folder, const std::string& prefix, const std::string& pattern,
                    std::vector<std::string>& found) {
  std::vector<FolderEntry> entries;
  ASSERT_TRUE(ListFolder(*folder, entries).ok());
  for (const FolderEntry& entry : entries) {
    EXPECT_EQ(entry.error, 0) << entry.name;
    if (entry.kind == EntryKind::kFolder) {
      SharedFolder subfolder;
      ASSERT_TRUE(HoldSubfolder(*folder, entry.name, subfolder).ok());
      CollectMatches(subfolder, prefix + entry.name + "/", pattern, found);
    } else if (entry.kind == EntryKind::kFile && NameMatches(pattern, entry.name)) {
      found.push_back(prefix + entry.name);
    }
  }
}

TEST(FolderWalkWindowsTest, ListsNamesOutsideTheCodePageAndMatchesWithoutRegardToCase) {
  const test::TempDir root;
  for (const char* folder : {"ソ表", "été", "été/日本"}) fs::create_directory(test::FileSystemPath(root.File(folder)));
  for (const char* file : {"日本.properties", "ソ表/café.PROPERTIES", "ソ表/readme.txt", "été/日本/Ä.Properties",
                           "été/.properties.bak"}) {
    test::WriteFileBytes(root.File(file), "a=b\n");
  }
  SharedFolder folder;
  ASSERT_TRUE(HoldFolder(root.path(), folder).ok());
  std::vector<std::string> found;
  CollectMatches(folder, "", "*.PROPERTIES", found);
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, (std::vector<std::string>{"été/日本/Ä.Properties", "ソ表/café.PROPERTIES", "日本.properties"}));

  FolderEntry entry;
  ASSERT_TRUE(ExaminePath(root.File("ソ表/café.PROPERTIES"), entry).ok());
  EXPECT_EQ(entry.kind, EntryKind::kFile);
  EXPECT_EQ(entry.size, 4u);
}

TEST(FolderWalkWindowsTest, NamesMatchPatternsAsTheShellReadsThemWithoutRegardToCase) {
  const struct {
    const char* pattern;
    const char* name;
    bool matches;
  } cases[] = {
      {"*.properties", "MESSAGES.Properties", true}, {"*.properties", "a.properties.bak", false},
      {"CAFÉ", "café", true},                         {"?表", "ソ表", true},
      {"?.txt", "\xF0\xA0\xAE\xB7.txt", true},        {"[a-c]*", "Bob", true},
      {"[!a-c]*", "bob", false},                      {"[^a-c]*", "dan", true},
      {"[]x]", "]", true},                            {"[", "[", true},
      {"a*b*c", "aXbYc", true},                       {"a*b", "ab c", false},
      {"*", "", true},                                {"?", "", false},
  };
  for (const auto& [pattern, name, matches] : cases) {
    EXPECT_EQ(NameMatches(pattern, name), matches) << pattern << " " << name;
  }
}

TEST(FolderWalkWindowsTest, HeldFolderReachesItsFilesAndRefusesWhatIsNotARegularFile) {
  const test::TempDir root;
  fs::create_directory(test::FileSystemPath(root.File("sub")));
  test::WriteFileBytes(root.File("sub/messages.properties"), "old");
  for (const auto& [path, held] : {std::pair{root.File("sub"), root.File("sub") + "\\"},
                                   std::pair{root.File("sub/"), root.File("sub/")}, std::pair{std::string(), std::string()}}) {
    SharedFolder folder;
    ASSERT_TRUE(HoldFolder(path, folder).ok()) << path;
    EXPECT_EQ(folder->path, held);
  }
  SharedFolder folder;
  EXPECT_FALSE(HoldFolder(root.File("sub/messages.properties"), folder).ok());
  ASSERT_TRUE(HoldFolder(root.path(), folder).ok());
  SharedFolder sub;
  ASSERT_TRUE(HoldSubfolder(*folder, "sub", sub).ok());

  FileHandle file;
  bool notRegular = true;
  ASSERT_TRUE(OpenFileIn(*sub, "messages.properties", file, notRegular).ok());
  EXPECT_FALSE(notRegular);
  std::string text;
  ASSERT_TRUE(ReadToEnd(file.get(), text).ok());
  EXPECT_EQ(text, "old");
  // A folder, and the null device that every folder shows under the name NUL.
  for (const char* name : {"sub", "NUL"}) {
    EXPECT_FALSE(OpenFileIn(*folder, name, file, notRegular).ok()) << name;
    EXPECT_TRUE(notRegular) << name;
  }

  AtomicFile replacement;
  ASSERT_TRUE(replacement.OpenIn(*sub, "messages.properties").ok());
  ASSERT_TRUE(replacement.Write("new").ok());
  ASSERT_TRUE(replacement.Commit().ok());
  EXPECT_EQ(test::ReadFileBytes(root.File("sub/messages.properties")), "new");
  EXPECT_FALSE(replacement.OpenIn(*sub, "missing.properties").ok());
}

}  // namespace
}  // namespace propdesk
