// With KeepUntouchedLines on, saving writes the lines the person did not change exactly as they
// stand in the file, and encodes only changed and new lines.
#include "document_fixture.h"
#include "search/replace_all.h"

namespace propdesk::test {
namespace {

// Mostly uppercase hex, a lowercase escape kept as text, mixed line ends (CR LF, LF, a lone CR),
// trailing spaces, a continuation line, an escape of ASCII, and no line end at the end.
constexpr std::string_view kMixedFile =
    "# \\u30B3\\u30E1\\u30F3\\u30C8\r\n"
    "a=\\u30A2\n"
    "b=\\u30A4  \r\n"
    "c=\\u00e9\\u0020\r"
    "d=x\\\n"
    "  \\u30AB\n"
    "e=\\u0041";

class UntouchedLinesTest : public DocumentTest {
 protected:
  UntouchedLinesTest() { settings.KeepUntouchedLines = true; }

  // Replaces the first occurrence of what in the view's text, as one edit.
  void Replace(std::string_view what, std::string_view with) {
    const std::size_t at = view.GetText().find(what);
    ASSERT_NE(at, std::string::npos) << what;
    view.SetSelection(at, at + what.size());
    view.ReplaceSelection(with);
  }
};

TEST_F(UntouchedLinesTest, AnUneditedSaveWritesTheFileByteForByte) {
  std::vector<std::string> files = {std::string(kMixedFile), "\xEF\xBB\xBFk=\\u30A2\r\n", "",
                                    // UTF-8 with a mark, a character without a native form, and
                                    // escape text in uppercase that a full conversion would decode.
                                    "\xEF\xBB\xBFk=\xE3\x82\xA2\\u00E9 \xC3\xA9\n"};
  for (const char* name : {"errors_upper_crlf.properties", "messages_ja.properties", "tricky.properties"}) {
    files.push_back(ReadFileBytes(std::string(PROPDESK_TEST_DATA) + "/" + name));
  }
  for (const std::string& bytes : files) {
    SCOPED_TRACE(bytes);
    const std::string path = MakeFile("file.properties", bytes);
    ASSERT_TRUE(document.OpenDocument(path, false));
    ASSERT_TRUE(document.SaveCurrent());
    EXPECT_EQ(ReadFileBytes(path), bytes);
    const std::string other = dir.File("other.properties");
    prompts.chosenPaths.push_back(other);
    ASSERT_TRUE(document.ChooseAndSave(false));
    EXPECT_EQ(ReadFileBytes(other), bytes);
  }
  EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(UntouchedLinesTest, OnlyChangedAndNewLinesAreEncodedInTheFilesHexCaseAndLineEnd) {
  const std::string path = MakeFile("mixed.properties", kMixedFile);
  ASSERT_TRUE(document.OpenDocument(path, false));
  // Edits undone to the last one give the file back as it was.
  Replace("a=", "a=x");
  Replace("b=\x83\x43  \r\n", "");
  Type("\r\n");
  while (view.CanUndo()) view.Undo();
  ASSERT_TRUE(document.SaveCurrent());
  EXPECT_EQ(ReadFileBytes(path), kMixedFile);

  Replace("a=\x83\x41", "a=\x83\x41\x83\x43");
  Replace("b=\x83\x43  \r\n", "");
  Replace("\\u0020\r", "\\u0020\rn=\x83\x45\r\n");
  Type("\r\nf=\x83\x4c");
  ASSERT_TRUE(document.SaveCurrent());
  std::string expected =
      "# \\u30B3\\u30E1\\u30F3\\u30C8\r\n"
      "a=\\u30A2\\u30A4\r\n"
      "c=\\u00e9\\u0020\r"
      "n=\\u30A6\r\n"
      "d=x\\\n"
      "  \\u30AB\n"
      "e=\\u0041\r\n"
      "f=\\u30AD";
  EXPECT_EQ(ReadFileBytes(path), expected);

  // The next save compares with the file as this one wrote it.
  Replace("\\u0020\r", "\\u0020!\r");
  ASSERT_TRUE(document.SaveCurrent());
  expected.replace(expected.find("\\u0020\r"), 7, "\\u0020!\r\n");
  EXPECT_EQ(ReadFileBytes(path), expected);

  // Deleting the line between a lone CR and an empty line must not join their line ends into one.
  const std::string lone = MakeFile("lone.properties", "a\r\\u30A2\n\nb");
  ASSERT_TRUE(document.OpenDocument(lone, false));
  Replace("\x83\x41\r\n", "");
  ASSERT_TRUE(document.SaveCurrent());
  EXPECT_EQ(ReadFileBytes(lone), "a\r\r\nb");

  // A UTF-8 file takes its new lines in UTF-8.
  const std::string utf8 = MakeFile("utf8.properties", "k=\xE3\x82\xA2\r\nl=\xC3\xA9\n");
  ASSERT_TRUE(document.OpenDocument(utf8, false));
  Type("m=\x83\x43");
  ASSERT_TRUE(document.SaveCurrent());
  EXPECT_EQ(ReadFileBytes(utf8), "k=\xE3\x82\xA2\r\nl=\xC3\xA9\nm=\xE3\x82\xA4");
  EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(UntouchedLinesTest, EqualLinesTheDiffCannotPairBetweenEditsKeepTheirBytesInOrder) {
  // No line here is in both versions once: the diff pairs none.
  const std::string path = MakeFile("equal.properties", "a=\\u30A2\r\nk=\\u30a4\nk=\\u30A4\rb=\\u30AB\r\n");
  ASSERT_TRUE(document.OpenDocument(path, false));
  Replace("a=", "a=1");
  Replace("b=", "k=\x83\x43\r\nb=1");
  ASSERT_TRUE(document.SaveCurrent());
  EXPECT_EQ(ReadFileBytes(path), "a=1\\u30A2\r\nk=\\u30a4\nk=\\u30A4\rk=\\u30A4\r\nb=1\\u30AB\r\n");
}

TEST_F(UntouchedLinesTest, ReplaceAllRewritesOnlyTheLinesItChanged) {
  const std::string path = MakeFile("replace.properties",
                                    "a1=\\u30a2\r\nb=\\u30AB\\u30AD\nc=\\u30a4\nd1=\\u30CA\ne=\\u30CB");
  ASSERT_TRUE(document.OpenDocument(path, false));
  ASSERT_EQ(ReplaceAll(view, SearchState{"1", "9"}), 2u);
  ASSERT_TRUE(document.SaveCurrent());
  EXPECT_EQ(ReadFileBytes(path), "a9=\\u30A2\r\nb=\\u30AB\\u30AD\nc=\\u30a4\nd9=\\u30CA\r\ne=\\u30CB");
}

TEST_F(UntouchedLinesTest, NeitherTheExternalConverterNorASaveWithTheOptionOffKeepsLines) {
  const std::string path = MakeFile("upper.properties", "a=\\u30A2\nb=\\u30AB\n");
  ASSERT_TRUE(document.OpenDocument(path, false));
  settings.UseNative2Ascii = true;
  settings.Native2AsciiPath = PROPDESK_COMMAND_HELPER " copy";  // writes the native text as it is
  ASSERT_TRUE(document.SaveCurrent());
  EXPECT_EQ(ReadFileBytes(path), "a=\x83\x41\nb=\x83\x4a\n");
  settings.UseNative2Ascii = false;
  settings.KeepUntouchedLines = false;
  ASSERT_TRUE(document.SaveCurrent());
  EXPECT_EQ(ReadFileBytes(path), "a=\\u30a2\nb=\\u30ab\n");
}

}  // namespace
}  // namespace propdesk::test
