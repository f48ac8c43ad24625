// Files that are not plain escaped ASCII: UTF-8 files, byte-order marks, and native bytes that code
// page 932 does not define.
#include "document_fixture.h"

namespace propdesk::test {
namespace {

using namespace std::string_literals;
using Encoding = FileFormat::Encoding;

constexpr const char* kBom = "\xef\xbb\xbf";
constexpr const char* kUndefinedBytesMessage =
    "このファイルにはコードページ 932 (シフトJIS) として正しくないバイトが含まれています。\n"
    "保存すると「・」に置き換わるため、編集禁止で開きます。";
constexpr const char* kRawBytesMessage =
    "このファイルには ASCII 以外のバイトがエスケープされずに含まれています。Java はこれらのバイトを ISO-8859-1 "
    "の文字として読みますが、ここではコードページ 932 (シフトJIS) の文字として表示しています。\n"
    "保存すると表示どおりの文字のエスケープが書き込まれるため、編集禁止で開きます。";

class FileFormatTest : public DocumentTest {
 protected:
  FileFormatTest() { settings.ReadOnlyOpen = false; }

  // Opens bytes as a file and saves it unedited; the file must come back byte for byte.
  void ExpectRoundTrip(const std::string& bytes, const std::string& shown, FileFormat format) {
    const std::string path = MakeFile("file.properties", bytes);
    ASSERT_TRUE(document.OpenDocument(path, false));
    EXPECT_EQ(view.GetText(), shown);
    EXPECT_EQ(frame.fileFormat, format);
    EXPECT_FALSE(document.IsEditForbidden());
    ASSERT_TRUE(document.SaveCurrent());
    EXPECT_EQ(ReadFileBytes(path), bytes);
    EXPECT_TRUE(prompts.messages.empty());
  }
};

TEST_F(FileFormatTest, Utf8AndMarkedFilesShowNativeTextAndComeBackByteForByte) {
  // é, 😀 and 〜 (U+301C) have no exact native form; あ has; an escape already in a UTF-8 file is
  // text like any other, and one after an escaped backslash stays that text.
  const std::string utf8 = "k=\xc3\xa9\xf0\x9f\x98\x80\xe3\x80\x9c\xe3\x81\x82\\u3042\\\\u00e9\n#\xe3\x81\x82";
  const std::string shown = "k=\\u00e9\\ud83d\\ude00\\u301c\x82\xa0\\u3042\\\\u00e9\r\n#\x82\xa0";
  ExpectRoundTrip(utf8, shown, {Encoding::kUtf8, false, true});
  ExpectRoundTrip(kBom + utf8, shown, {Encoding::kUtf8, true, true});
  ExpectRoundTrip(kBom + "a=\\u3042\r\n"s, "a=\x82\xa0\r\n", {Encoding::kEscaped, true, false});
  // Native bytes that happen to be valid UTF-8 are not taken for it without a multi-byte sequence.
  ExpectRoundTrip(kBom + "a=b\n"s, "a=b\r\n", {Encoding::kEscaped, true, true});

  // The external converter never sees the mark, nor a UTF-8 file, which it would read as code
  // page 932; the helper's copy mode copies its input in both directions.
  settings.UseNative2Ascii = true;
  settings.Native2AsciiPath = PROPDESK_COMMAND_HELPER " copy";
  ExpectRoundTrip(kBom + "a=\\u3042\n"s, "a=\\u3042\r\n", {Encoding::kEscaped, true, true});
  ExpectRoundTrip(kBom + utf8, shown, {Encoding::kUtf8, true, true});
}

TEST_F(FileFormatTest, EditsAreSavedAsUtf8AndSaveAsKeepsTheForm) {
  const std::string path = MakeFile("utf8.properties", kBom + "a=\xc3\xa9\n"s);
  ASSERT_TRUE(document.OpenDocument(path, false));
  // A typed escape of a character without a native form becomes that character; a lone
  // surrogate's and an uppercase escape stay text.
  Type("b=\x82\xa2\\u00fc\\ud83d\\u00FC");
  const std::string target = dir.File("copy.properties");
  prompts.chosenPaths.push_back(target);
  ASSERT_TRUE(document.ChooseAndSave(false));
  EXPECT_EQ(ReadFileBytes(target), kBom + "a=\xc3\xa9\nb=\xe3\x81\x84\xc3\xbc\\ud83d\\u00FC"s);
  EXPECT_EQ(frame.fileFormat, (FileFormat{Encoding::kUtf8, true, true}));
}

TEST_F(FileFormatTest, NewAndImportStartEscapedWithoutMark) {
  const std::string utf8 = kBom + "a=\xc3\xa9\n"s;
  ASSERT_TRUE(document.OpenDocument(MakeFile("utf8.properties", utf8), false));
  ASSERT_TRUE(document.OpenDocument(MakeFile("plain.txt", "a=\xc3\xa9\n"), true));
  EXPECT_EQ(view.GetText(), "a=\xc3\xa9\r\n");
  EXPECT_EQ(frame.fileFormat, FileFormat{});
  const std::string target = dir.File("imported.properties");
  prompts.chosenPaths.push_back(target);
  ASSERT_TRUE(document.ChooseAndSave(false));
  EXPECT_EQ(ReadFileBytes(target), "a=\\uff83\\uff69\r\n");

  ASSERT_TRUE(document.OpenDocument(MakeFile("utf8.properties", utf8), false));
  document.NewDocument();
  EXPECT_EQ(frame.fileFormat, FileFormat{});
}

TEST_F(FileFormatTest, RawNativeBytesAreToldOnceAndOpenEditForbidden) {
  // A lone lead byte and the undefined pair 85 40 are undefined; "än" in ISO-8859-1 (E4 6E) and
  // the middle dot 81 45 are defined pairs, which Java still reads as ISO-8859-1.
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"a=\x82\n", kUndefinedBytesMessage},
      {"a=\x85\x40\xe4n", kUndefinedBytesMessage},
      {"k=\xe4n", kRawBytesMessage},
      {"a=\x81\x45\x82\xa0\xb1", kRawBytesMessage},
  };
  for (const auto& [bytes, message] : cases) {
    prompts.messages.clear();
    const std::string path = MakeFile("native.properties", bytes);
    ASSERT_TRUE(document.OpenDocument(path, false));
    EXPECT_EQ(prompts.MessageTexts(), std::vector<std::string>{message});
    EXPECT_TRUE(document.IsEditForbidden());
    EXPECT_TRUE(view.IsReadOnly());
    document.OnFileSave();
    EXPECT_EQ(ReadFileBytes(path), bytes);
  }
  // Switched off, saving writes the escapes of what is shown.
  ASSERT_TRUE(document.OpenDocument(MakeFile("latin1.properties", "k=\xe4n"), false));
  document.SetEditForbidden(false);
  document.OnFileSave();
  EXPECT_EQ(ReadFileBytes(dir.File("latin1.properties")), "k=\\u8205");
  // Imported plain text is native text by choice.
  prompts.messages.clear();
  ASSERT_TRUE(document.OpenDocument(MakeFile("native.txt", "k=\xe4n"), true));
  EXPECT_TRUE(prompts.messages.empty());
  EXPECT_FALSE(document.IsEditForbidden());
}

}  // namespace
}  // namespace propdesk::test
