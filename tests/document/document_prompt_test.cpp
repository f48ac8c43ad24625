// The save-changes prompt, the commands that run it, and dropped files.
#include <filesystem>
#include <vector>

#include "document_fixture.h"

namespace propdesk::test {
namespace {

std::string SaveChangesQuestion(const std::string& name) {
  return "ファイル " + name + " の内容は変更されています。\n\n変更を保存しますか？";
}

class PromptTest : public DocumentTest {
 protected:
  // A named, edited, editable document.
  PromptTest() {
    path = MakeFile("doc.properties", "k=v\n");
    EXPECT_TRUE(document.OpenDocument(path, false));
    document.SetEditForbidden(false);
    Type("1");
  }
  void ExpectQuestionFor(const std::string& name) {
    ASSERT_FALSE(prompts.messages.empty());
    EXPECT_EQ(prompts.messages.front().text, SaveChangesQuestion(name));
    EXPECT_EQ(prompts.messages.front().style, MessageStyle::YesNoCancel);
    EXPECT_EQ(prompts.messages.front().owner, MessageOwner::MainFrame);
  }

  std::string path;
};

TEST_F(PromptTest, EachAnswerToTheQuestionBeforeNew) {
  struct Case {
    const char* name;
    MessageResult answer;
    bool saveFails;
    bool goesOn;
    std::string fileAfterwards;
    std::vector<std::string> messages;
  };
  const Case cases[] = {
      {"cancel", MessageResult::Cancel, false, false, "k=v\n", {SaveChangesQuestion(path)}},
      {"no", MessageResult::No, false, true, "k=v\n", {SaveChangesQuestion(path)}},
      {"yes", MessageResult::Yes, false, true, "k=v\n1", {SaveChangesQuestion(path)}},
      {"yes, save fails", MessageResult::Yes, true, false, "k=v\n", {SaveChangesQuestion(path), kWriteFailed}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteFileBytes(path, "k=v\n");
    ASSERT_TRUE(document.OpenDocument(path, false));
    document.SetEditForbidden(false);
    Type("1");
    if (c.saveFails) SetWritable(path, false);
    const DocumentState before = State();
    prompts.messages.clear();
    prompts.answers.push_back(c.answer);

    document.OnFileNew();

    SetWritable(path, true);
    EXPECT_EQ(ReadFileBytes(path), c.fileAfterwards);
    EXPECT_EQ(prompts.MessageTexts(), c.messages);
    if (c.goesOn) {
      EXPECT_EQ(State(), (DocumentState{"", std::nullopt, false, false, false, false, false, "(無題) - Propdesk"}));
    } else {
      EXPECT_EQ(State(), before);
    }
  }
}

TEST_F(PromptTest, YesOnAnUntitledDocumentAsksForAName) {
  document.NewDocument();
  Type("new");
  prompts.answers = {MessageResult::Yes, MessageResult::Yes};
  prompts.chosenPaths = {std::nullopt, dir.File("named.properties")};

  EXPECT_FALSE(document.QuerySaveChanges());
  ExpectQuestionFor("(無題)");
  EXPECT_EQ(view.GetText(), "new");
  EXPECT_TRUE(view.IsModified());

  EXPECT_TRUE(document.QuerySaveChanges());
  EXPECT_EQ(ReadFileBytes(dir.File("named.properties")), "new");
  EXPECT_EQ(document.DocumentPath(), dir.File("named.properties"));
  EXPECT_FALSE(view.IsModified());
}

TEST_F(PromptTest, YesStillWritesWhileEditForbidden) {
  document.SetEditForbidden(true);
  prompts.answers = {MessageResult::Yes};
  EXPECT_TRUE(document.QuerySaveChanges());
  EXPECT_EQ(ReadFileBytes(path), "k=v\n1");
}

TEST_F(PromptTest, NoQuestionForACleanDocumentOrAnEmptiedUntitledOne) {
  document.NewDocument();
  EXPECT_TRUE(document.QuerySaveChanges());
  Type("x");
  view.SetSelection(0, 1);
  view.ReplaceSelection("");
  ASSERT_TRUE(view.IsModified());
  EXPECT_TRUE(document.QuerySaveChanges());
  EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(PromptTest, AnEmptiedNamedDocumentIsAskedAbout) {
  view.SetSelection(0, std::string::npos);
  view.ReplaceSelection("");
  prompts.answers = {MessageResult::Cancel};
  EXPECT_FALSE(document.QuerySaveChanges());
  ExpectQuestionFor(path);
}

TEST_F(PromptTest, ImportedTextIsAskedAboutUnlessItIsEmpty) {
  const std::string empty = MakeFile("empty.txt", "");
  const std::string full = MakeFile("full.txt", "x");
  prompts.answers = {MessageResult::No};
  prompts.chosenPaths = {empty};
  document.OnFileImport();
  EXPECT_TRUE(view.IsModified());
  EXPECT_TRUE(document.QuerySaveChanges());

  ASSERT_TRUE(document.OpenDocument(full, true));
  prompts.messages.clear();
  prompts.answers = {MessageResult::Cancel};
  EXPECT_FALSE(document.QuerySaveChanges());
  ExpectQuestionFor("(無題)");
}

TEST_F(PromptTest, CancelKeepsOpenAndImportFromShowingTheChooser) {
  prompts.answers = {MessageResult::Cancel, MessageResult::Cancel, MessageResult::Cancel};
  const DocumentState before = State();
  document.OnFileOpen();
  document.OnFileImport();
  document.OnFileNew();
  EXPECT_TRUE(prompts.choosers.empty());
  EXPECT_EQ(State(), before);
}

TEST_F(PromptTest, NoLetsOpenGoOn) {
  const std::string other = MakeFile("other.properties", "o=\\u3042");
  prompts.answers = {MessageResult::No};
  prompts.chosenPaths = {other};
  document.OnFileOpen();
  EXPECT_EQ(view.GetText(), "o=\x82\xa0");
  EXPECT_EQ(document.DocumentPath(), other);
  EXPECT_EQ(ReadFileBytes(path), "k=v\n");
}

TEST_F(PromptTest, DroppingSeveralFilesOrNoneDoesNothing) {
  const std::string other = MakeFile("other.properties", "o");
  const DocumentState before = State();
  document.OnDropFiles({other, path});
  document.OnDropFiles({});
  EXPECT_EQ(State(), before);
  EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(PromptTest, DroppingTheDocumentsOwnFileUnderAnyPathDoesNothing) {
  const std::string folder = dir.path();
  std::filesystem::create_hard_link(FileSystemPath(path), FileSystemPath(dir.File("hard.properties")));
  std::vector<std::string> forms = {path, folder + "/./doc.properties", folder + "//doc.properties",
                                    dir.File("hard.properties")};
  // Relative to the current folder, unless that is on another drive.
  if (const std::string relative = Utf8Path(std::filesystem::relative(FileSystemPath(path))); !relative.empty()) {
    forms.push_back(relative);
  }
  // Not every system lets a user make symbolic links.
  std::error_code noLinks;
  std::filesystem::create_symlink(FileSystemPath(path), FileSystemPath(dir.File("link.properties")), noLinks);
  if (!noLinks) forms.push_back(dir.File("link.properties"));
  const DocumentState before = State();
  for (const std::string& form : forms) {
    SCOPED_TRACE(form);
    document.OnDropFiles({form});
    EXPECT_EQ(State(), before);
  }
  EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(PromptTest, DroppingAnotherFileAsksThenOpensItEscaped) {
  // A copy has the same content but is another file.
  const std::string copy = MakeFile("copy.txt", "k=\\u3042\n");
  settings.ReadOnlyOpen = false;
  prompts.answers = {MessageResult::No};
  document.OnDropFiles({copy});
  ExpectQuestionFor(path);
  EXPECT_EQ(State(), (DocumentState{"k=\x82\xa0\r\n", copy, false, true, false, false, false, copy + " - Propdesk"}));
}

TEST_F(PromptTest, DroppingAFolderOrAMissingFileAsksThenReportsTheRead) {
  std::filesystem::create_directory(dir.File("folder"));
  for (const std::string& dropped : {dir.File("folder"), dir.File("missing")}) {
    SCOPED_TRACE(dropped);
    const DocumentState before = State();
    prompts.messages.clear();
    prompts.answers = {MessageResult::No};
    document.OnDropFiles({dropped});
    EXPECT_EQ(prompts.MessageTexts(), (std::vector<std::string>{SaveChangesQuestion(path), kReadFailed}));
    EXPECT_EQ(State(), before);
  }
}

TEST_F(PromptTest, ADropOpensWhenTheDocumentsOwnFileCannotBeExamined) {
  std::filesystem::rename(path, dir.File("moved.properties"));
  prompts.answers = {MessageResult::No};
  document.OnDropFiles({dir.File("moved.properties")});
  EXPECT_EQ(document.DocumentPath(), dir.File("moved.properties"));
}

TEST_F(DocumentTest, DroppingOnAnUntitledCleanDocumentOpensWithoutAsking) {
  const std::string file = MakeFile("d.properties", "d=1");
  document.OnDropFiles({file});
  EXPECT_EQ(document.DocumentPath(), file);
  EXPECT_TRUE(document.IsEditForbidden());
  EXPECT_TRUE(prompts.messages.empty());
}

}  // namespace
}  // namespace propdesk::test
