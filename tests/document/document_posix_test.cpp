// What a document meets only on POSIX systems: named pipes and folders that refuse new files.
#include <sys/stat.h>

#include <filesystem>

#include "document_fixture.h"
#include "support/unprivileged.h"

namespace propdesk::test {
namespace {

TEST_F(DocumentTest, OpeningANamedPipeFailsWithoutWaitingForAWriter) {
  const std::string fifo = dir.File("fifo");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_FALSE(document.OpenDocument(fifo, false));
  EXPECT_EQ(prompts.MessageTexts(), std::vector<std::string>{kReadFailed});
  EXPECT_FALSE(document.DocumentPath());
}

TEST_F(DocumentTest, AFolderThatRefusesNewFilesIsNamedAsTheCauseOfAFailedSave) {
  // A file anyone may write, in a folder where only its owner, root, may make files.
  std::filesystem::create_directory(dir.File("shut"));
  const std::string path = MakeFile("shut/messages.properties", "a=1\n");
  ASSERT_EQ(::chmod(path.c_str(), 0666), 0);
  ASSERT_EQ(::chmod(dir.File("shut").c_str(), 0555), 0);
  ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
  ASSERT_TRUE(document.OpenDocument(path, false));
  Type("b=2\n");
  const std::vector<std::string> refused = {
      "ファイル " + path + " を保存できません。\n安全に保存するには同じフォルダーに一時ファイルを作る必要がありますが、"
      "このフォルダーには新しいファイルを作れません。"};
  EXPECT_TRUE(HoldsForAnUnprivilegedUser([&] { return !document.SaveCurrent() && prompts.MessageTexts() == refused; }));
  EXPECT_EQ(ReadFileBytes(path), "a=1\n");
}

}  // namespace
}  // namespace propdesk::test
