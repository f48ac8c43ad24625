// The document's state after each operation, and the bytes it reads and writes.
#include <filesystem>
#include <functional>

#include "convert/external_converter.h"
#include "document_fixture.h"

namespace propdesk::test {
namespace {

using namespace std::string_literals;

constexpr const char* kA = "\x82\xa0";  // a double-byte character, escaped as \u3042

// Starts from a named LF-style document that has been edited and then made edit-forbidden, so
// that every field of the state has a value an operation could visibly change.
class DocumentLifecycleTest : public DocumentTest {
 protected:
  DocumentLifecycleTest() {
    startPath = MakeFile("start.properties", "a=\\u3042\nb=1\r\n");
    settings.ReadOnlyOpen = false;
    EXPECT_TRUE(document.OpenDocument(startPath, false));
    settings.ReadOnlyOpen = true;
    Type("c");
    document.SetEditForbidden(true);
    started = {"a="s + kA + "\r\nb=1\r\nc", startPath, true, true, true, true, true,
               startPath + "(更新) - Propdesk"};
    EXPECT_EQ(State(), started);
  }

  std::string startPath;
  DocumentState started;
};

TEST_F(DocumentLifecycleTest, NewEmptiesTheDocumentAndMakesItEditable) {
  document.NewDocument();
  EXPECT_EQ(State(), (DocumentState{"", std::nullopt, false, false, false, false, false, "(無題) - Propdesk"}));
  EXPECT_EQ(frame.editForbiddenChanges.back(), false);
}

TEST_F(DocumentLifecycleTest, OpenTakesTheFilesNameAndStyleAndReadOnlyOpen) {
  const std::string other = MakeFile("other.properties", "x=\\u3044\r\ny\n");
  for (const bool readOnlyOpen : {true, false}) {
    settings.ReadOnlyOpen = readOnlyOpen;
    Type("!");
    ASSERT_TRUE(document.OpenDocument(other, false));
    EXPECT_EQ(State(), (DocumentState{"x=\x82\xa2\r\ny\r\n", other, false, false, readOnlyOpen, readOnlyOpen,
                                      false, other + " - Propdesk"}));
    EXPECT_EQ(frame.editForbiddenChanges.back(), readOnlyOpen);
  }
  EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(DocumentLifecycleTest, ImportTakesPlainTextUntitledModifiedAndEditable) {
  const std::string plain = MakeFile("plain.txt", "p=\\u3042\n"s + kA);
  ASSERT_TRUE(document.OpenDocument(plain, true));
  EXPECT_EQ(State(), (DocumentState{"p=\\u3042\r\n"s + kA, std::nullopt, true, false, false, false, false,
                                    "(無題)(更新) - Propdesk"}));
}

TEST_F(DocumentLifecycleTest, SaveWritesEscapedTextInTheFilesStyleAndCleans) {
  ASSERT_TRUE(document.SaveCurrent());
  EXPECT_EQ(ReadFileBytes(startPath), "a=\\u3042\nb=1\nc");
  DocumentState expected = started;
  expected.modified = false;
  expected.canUndo = false;
  expected.title = startPath + " - Propdesk";
  EXPECT_EQ(State(), expected);
  EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(DocumentLifecycleTest, SaveAsAdoptsTheChosenNameAndKeepsTheLineEndStyle) {
  const std::string target = dir.File("saved.properties");
  prompts.chosenPaths.push_back(target);
  ASSERT_TRUE(document.ChooseAndSave(false));
  EXPECT_EQ(ReadFileBytes(target), "a=\\u3042\nb=1\nc");
  EXPECT_EQ(ReadFileBytes(startPath), "a=\\u3042\nb=1\r\n");
  DocumentState expected = started;
  expected.path = target;
  expected.modified = false;
  expected.canUndo = false;
  expected.title = target + " - Propdesk";
  EXPECT_EQ(State(), expected);
  ASSERT_EQ(prompts.choosers.size(), 1u);
  EXPECT_TRUE(prompts.choosers[0].forSaving);
  EXPECT_EQ(prompts.choosers[0].filter, "Javaリソース (*.properties)|*.properties|すべてのファイル (*.*)|*.*|");
  EXPECT_EQ(prompts.choosers[0].defaultExtension, "properties");
}

TEST_F(DocumentLifecycleTest, ExportWritesTheViewsBytesAndChangesNothing) {
  const std::string target = dir.File("export.txt");
  prompts.chosenPaths.push_back(target);
  ASSERT_TRUE(document.ChooseAndSave(true));
  EXPECT_EQ(ReadFileBytes(target), "a="s + kA + "\r\nb=1\r\nc");
  EXPECT_EQ(State(), started);

  // A later Save writes the document's own file, not the exported one.
  ASSERT_TRUE(document.SaveCurrent());
  EXPECT_EQ(ReadFileBytes(startPath), "a=\\u3042\nb=1\nc");
  EXPECT_EQ(ReadFileBytes(target), "a="s + kA + "\r\nb=1\r\nc");
}

TEST_F(DocumentLifecycleTest, FailuresShowOneMessageAndLeaveEverythingAsItWas) {
  const std::string readOnlyFile = MakeFile("locked.properties", "old");
  SetWritable(readOnlyFile, false);
  std::filesystem::create_directory(FileSystemPath(dir.File("folder")));
  // An existing file whose path is longer than a document's path may be.
  std::filesystem::create_directory(FileSystemPath(dir.File(std::string(200, 'd'))));
  const std::string tooLong = dir.File(std::string(200, 'd') + "/" + std::string(100, 'n'));
  WriteFileBytes(tooLong, "long");

  struct Failure {
    const char* name;
    std::function<bool()> run;
    std::string message;
  };
  const auto chooseAndSave = [this](const std::string& target, bool asExport) {
    return [this, target, asExport] {
      prompts.chosenPaths.push_back(target);
      return document.ChooseAndSave(asExport);
    };
  };
  const auto withoutMemory = [this](std::function<bool()> run) {
    return [this, run] {
      view.outOfMemory = true;
      const bool result = run();
      view.outOfMemory = false;
      return result;
    };
  };
  const Failure failures[] = {
      {"open a missing file", [&] { return document.OpenDocument(dir.File("missing"), false); }, kReadFailed},
      {"import a missing file", [&] { return document.OpenDocument(dir.File("missing"), true); }, kReadFailed},
      {"open a folder", [&] { return document.OpenDocument(dir.File("folder"), false); }, kReadFailed},
      {"open an empty path", [&] { return document.OpenDocument("", false); }, kReadFailed},
      {"open a path too long", [&] { return document.OpenDocument(tooLong, false); }, kReadFailed},
      {"open without memory", withoutMemory([&] { return document.OpenDocument(startPath, false); }), kReadFailed},
      {"save as over a read-only file", chooseAndSave(readOnlyFile, false), kWriteFailed},
      {"save as into a missing folder", chooseAndSave(dir.File("missing/x.properties"), false), kWriteFailed},
      {"save as under a path too long", chooseAndSave(tooLong, false), kWriteFailed},
      {"export over a read-only file", chooseAndSave(readOnlyFile, true), kWriteFailed},
      {"save without memory", withoutMemory([&] { return document.SaveCurrent(); }), kWriteFailed},
  };
  for (const Failure& failure : failures) {
    SCOPED_TRACE(failure.name);
    prompts.messages.clear();
    EXPECT_FALSE(failure.run());
    EXPECT_EQ(State(), started);
    EXPECT_EQ(prompts.MessageTexts(), std::vector<std::string>{failure.message});
  }
  EXPECT_EQ(ReadFileBytes(readOnlyFile), "old");
  EXPECT_EQ(ReadFileBytes(startPath), "a=\\u3042\nb=1\r\n");
  EXPECT_EQ(ReadFileBytes(tooLong), "long");
}

TEST_F(DocumentLifecycleTest, AConversionFailureShowsTheConvertersMessage) {
  settings.UseNative2Ascii = true;
  const struct {
    std::string command;
    std::string message;
  } converters[] = {
      // 2: a missing file, as ENOENT and as ERROR_FILE_NOT_FOUND.
      {dir.File("no-such-converter"), ConversionMessage(ConversionStatus::LaunchFailed, 2)},
      {PROPDESK_COMMAND_HELPER " silent", ConversionMessage(ConversionStatus::CommandFailed, 0)},
  };
  for (const auto& converter : converters) {
    settings.Native2AsciiPath = converter.command;
    for (const bool saving : {false, true}) {
      prompts.messages.clear();
      EXPECT_FALSE(saving ? document.SaveCurrent() : document.OpenDocument(startPath, false));
      EXPECT_EQ(State(), started);
      EXPECT_EQ(prompts.MessageTexts(), std::vector<std::string>{converter.message});
    }
  }
  EXPECT_EQ(ReadFileBytes(startPath), "a=\\u3042\nb=1\r\n");
}

TEST_F(DocumentLifecycleTest, SaveAsksBeforeOverwritingAFileChangedOnDisk) {
  const std::string elsewhere = "written=elsewhere\n";
  WriteFileBytes(startPath, elsewhere);
  prompts.answers = {MessageResult::No};
  EXPECT_FALSE(document.SaveCurrent());
  EXPECT_EQ(State(), started);
  EXPECT_EQ(ReadFileBytes(startPath), elsewhere);
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0].style, MessageStyle::YesNo);
  EXPECT_NE(prompts.messages[0].text.find(startPath), std::string::npos);

  prompts.answers = {MessageResult::Yes};
  EXPECT_TRUE(document.SaveCurrent());
  EXPECT_EQ(ReadFileBytes(startPath), "a=\\u3042\nb=1\nc");
  // The file is the document's own again: the next save asks nothing.
  EXPECT_TRUE(document.SaveCurrent());
  EXPECT_EQ(prompts.messages.size(), 2u);
}

TEST_F(DocumentTest, SaveAsksAboutAnEditedLineWithAnEscapeJavaRefuses) {
  settings.ReadOnlyOpen = false;
  const std::string path = MakeFile("refused.properties", "old=\\u00E\n");
  ASSERT_TRUE(document.OpenDocument(path, false));
  // Not refused: after an escaped backslash, after the trail byte 5C of "ソ", in a comment (the line
  // before ends in an escaped backslash, not a continuation).
  Type("\r\nb=\\\\u00\r\nc=\x83\x5cu0\r\nd=\\u00e9\\\\\r\n# \\u0");
  ASSERT_TRUE(document.SaveCurrent()) << "the refused escape stands on a line nobody edited";
  EXPECT_TRUE(prompts.messages.empty());

  view.SetSelection(9, 9);
  view.ReplaceSelection("x");  // old=\u00Ex
  const std::string edited = view.GetText();
  prompts.answers = {MessageResult::No};
  EXPECT_FALSE(document.SaveCurrent());
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0].style, MessageStyle::YesNo);
  EXPECT_NE(prompts.messages[0].text.find("1 行目に Java が読み込めない \\u エスケープ「\\u00E」"), std::string::npos)
      << prompts.messages[0].text;
  EXPECT_EQ(view.GetSelection().start, 4u);
  EXPECT_EQ(view.GetSelection().end, 9u);
  EXPECT_NE(ReadFileBytes(path).substr(0, 10), "old=\\u00Ex");

  prompts.answers = {MessageResult::Yes};
  ASSERT_TRUE(document.SaveCurrent());
  EXPECT_EQ(ReadFileBytes(path).substr(0, 10), "old=\\u00Ex");
  // Agreed to once, the line does not ask again.
  ASSERT_TRUE(document.SaveCurrent());
  EXPECT_EQ(prompts.messages.size(), 2u);
}

TEST_F(DocumentLifecycleTest, CancelledChoosersDoNothing) {
  prompts.chosenPaths = {std::nullopt, std::nullopt, std::nullopt};
  document.ChooseAndOpen(false);
  document.ChooseAndOpen(true);
  EXPECT_FALSE(document.ChooseAndSave(true));
  EXPECT_EQ(State(), started);
  EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(DocumentTest, APathOfTheLongestLengthOpensAndSaves) {
  std::string path = dir.File("");
  path += std::string(kMaxPathBytes - path.size(), 'p');
  WriteFileBytes(path, "k=v");
  ASSERT_TRUE(document.OpenDocument(path, false));
  document.SetEditForbidden(false);
  Type("w");
  EXPECT_TRUE(document.SaveCurrent());
  EXPECT_EQ(ReadFileBytes(path), "k=vw");
}

TEST_F(DocumentTest, OpenAndImportUseTheOpenChooserWithThePropertiesFilter) {
  const std::string path = MakeFile("a.properties", "k=\\u3042");
  prompts.chosenPaths = {path, path};
  document.ChooseAndOpen(false);
  EXPECT_EQ(view.GetText(), "k="s + kA);
  document.ChooseAndOpen(true);
  EXPECT_EQ(view.GetText(), "k=\\u3042");
  ASSERT_EQ(prompts.choosers.size(), 2u);
  for (const auto& chooser : prompts.choosers) {
    EXPECT_FALSE(chooser.forSaving);
    EXPECT_EQ(chooser.filter, "Javaリソース (*.properties)|*.properties|すべてのファイル (*.*)|*.*|");
    EXPECT_EQ(chooser.defaultExtension, "properties");
  }
}

// Each file is opened, a line is added at the end, and the file is saved.
TEST_F(DocumentTest, LineEndStyleOfTheFirstBreakIsRestoredOnSave) {
  struct Case {
    const char* name;
    std::string file, view;
    bool lfStyle;
    std::string saved;
  };
  const Case cases[] = {
      {"LF first", "a=1\nb=2\r\nc=3\n", "a=1\r\nb=2\r\nc=3\r\n", true, "a=1\nb=2\nc=3\n\nz"},
      {"CR LF first", "a=1\r\nb=2\nc=3", "a=1\r\nb=2\r\nc=3", false, "a=1\r\nb=2\r\nc=3\r\nz"},
      {"no break", "a=1", "a=1", false, "a=1\r\nz"},
      {"lone CRs, LF first", "a\rb\nc\r\r\nd", "a\rb\r\nc\r\r\nd", true, "a\rb\nc\r\nd\nz"},
      {"lone CRs, CR LF first", "a\r\nb\rc\r", "a\r\nb\rc\r", false, "a\r\nb\rc\r\r\nz"},
      {"escaped LF stays an escape", "a=x\\u000ay\r\nb", "a=x\\u000ay\r\nb", false, "a=x\\u000ay\r\nb\r\nz"},
      {"NULs keep what follows", "a=\0b\nc\0d"s, "a=\0b\r\nc\0d"s, true, "a=\0b\nc\0d\nz"s},
      {"empty", "", "", false, "\r\nz"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = MakeFile("style.properties", c.file);
    ASSERT_TRUE(document.OpenDocument(path, false));
    EXPECT_EQ(view.GetText(), c.view);
    EXPECT_EQ(frame.fileFormat.lfLineEnds, c.lfStyle);
    Type("\r\nz");
    ASSERT_TRUE(document.SaveDocument(path, false));
    EXPECT_EQ(ReadFileBytes(path), c.saved);
  }
}

TEST_F(DocumentTest, AnImportedDocumentIsSavedEscapedUnderANewName) {
  const std::string plain = MakeFile("plain.txt", "k="s + kA + "\n");
  ASSERT_TRUE(document.OpenDocument(plain, true));
  const std::string target = dir.File("imported.properties");
  prompts.chosenPaths.push_back(target);
  ASSERT_TRUE(document.SaveCurrent());
  EXPECT_EQ(ReadFileBytes(target), "k=\\u3042\r\n");
  EXPECT_EQ(ReadFileBytes(plain), "k="s + kA + "\n");
  EXPECT_EQ(document.DocumentPath(), target);
}

TEST_F(DocumentTest, ARelativePathStaysRelativeInTitleAndSaves) {
  std::filesystem::create_directory(FileSystemPath(dir.File("sub")));
  const std::string absolute = MakeFile("sub/rel.properties", "k=v\n");
  // Run from the temporary folder, which may be on another drive than the test's own folder.
  struct InFolder {
    explicit InFolder(const std::string& folder) { std::filesystem::current_path(FileSystemPath(folder)); }
    ~InFolder() { std::filesystem::current_path(previous); }
    const std::filesystem::path previous = std::filesystem::current_path();
  } inFolder(dir.path());
  const std::string relative = "sub/rel.properties";
  ASSERT_TRUE(document.OpenDocument(relative, false));
  EXPECT_EQ(frame.title, relative + " - Propdesk");
  document.SetEditForbidden(false);
  Type("w");
  EXPECT_EQ(frame.title, relative + "(更新) - Propdesk");
  ASSERT_TRUE(document.SaveCurrent());
  EXPECT_EQ(ReadFileBytes(absolute), "k=v\nw");
  EXPECT_EQ(document.DocumentPath(), relative);
}

TEST_F(DocumentTest, TheTitleFollowsTheModifiedFlagBothWays) {
  EXPECT_EQ(frame.title, "(無題) - Propdesk");
  Type("x");
  EXPECT_EQ(frame.title, "(無題)(更新) - Propdesk");
  view.Undo();
  EXPECT_EQ(frame.title, "(無題) - Propdesk");
  document.MarkModified();
  EXPECT_TRUE(view.IsModified());
  EXPECT_EQ(frame.title, "(無題)(更新) - Propdesk");
}

TEST_F(DocumentTest, SaveAndSaveAsLeaveNothingToUndoWhileExportKeepsIt) {
  const std::string path = MakeFile("u.properties", "k=v");
  ASSERT_TRUE(document.OpenDocument(path, false));
  Type("1");
  prompts.chosenPaths.push_back(dir.File("u.txt"));
  ASSERT_TRUE(document.ChooseAndSave(true));
  EXPECT_TRUE(view.CanUndo());
  ASSERT_TRUE(document.SaveCurrent());
  EXPECT_FALSE(view.CanUndo());
  Type("2");
  prompts.chosenPaths.push_back(dir.File("u2.properties"));
  ASSERT_TRUE(document.ChooseAndSave(false));
  EXPECT_FALSE(view.CanUndo());
  EXPECT_EQ(ReadFileBytes(dir.File("u2.properties")), "k=v12");
}

TEST_F(DocumentTest, SaveIsIgnoredWhileEditForbiddenButSaveAsAndExportWrite) {
  const std::string path = MakeFile("f.properties", "k=v");
  ASSERT_TRUE(document.OpenDocument(path, false));
  ASSERT_TRUE(document.IsEditForbidden());
  Type("1");
  document.OnFileSave();
  EXPECT_EQ(ReadFileBytes(path), "k=v");
  EXPECT_TRUE(view.IsModified());

  prompts.chosenPaths = {dir.File("f.txt"), dir.File("g.properties")};
  EXPECT_TRUE(document.ChooseAndSave(true));
  EXPECT_TRUE(document.ChooseAndSave(false));
  EXPECT_EQ(ReadFileBytes(dir.File("f.txt")), "k=v1");
  EXPECT_EQ(ReadFileBytes(dir.File("g.properties")), "k=v1");

  document.SetEditForbidden(false);
  Type("2");
  document.OnFileSave();
  EXPECT_EQ(ReadFileBytes(dir.File("g.properties")), "k=v12");
}

}  // namespace
}  // namespace propdesk::test
