// The registry export text: reading values as an import would see them, and editing the text so
// that every line not set is written back unchanged.
#include "settings/reg_file.h"

#include <gtest/gtest.h>

#include <random>

#include "settings/utf16le.h"

namespace propdesk {
namespace {

constexpr std::string_view kKey = "HKEY_CURRENT_USER\\Software\\Orvandi\\Propdesk";

std::string Export(std::string_view body) {
  return "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Orvandi\\Propdesk]\r\n" +
         std::string(body);
}

std::optional<RegValue> QueryIn(std::string_view text, std::string_view name) {
  const auto file = RegFile::Parse(text);
  if (!file) return std::nullopt;
  return file->Query(kKey, name);
}

RegValue Raw(std::uint32_t type, std::string_view data) { return {type, std::string(data)}; }

TEST(RegFile, ReadsEachFormOfValueLine) {
  const struct {
    std::string_view line;
    std::optional<RegValue> expected;
  } cases[] = {
      {"\"A\"=dword:0000002A", RegValue::Dword(42)},
      {"\"A\" = \"x\"  ", RegValue::String("x")},
      {R"("A"="C:\\Program Files\\\"q\"")", RegValue::String(R"(C:\Program Files\"q")")},
      {"\"A\"=hex:01,00,00,00", Raw(kRegBinary, std::string_view("\1\0\0\0", 4))},
      {"\"A\"=hex(4):01,00,00,00", RegValue::Dword(1)},
      {"\"A\"=hex(2):25,00,41,00,00,00", Raw(kRegExpandSz, std::string_view("%A\0", 3))},
      {"\"A\"=hex(1):e5,65,2c,67,00,00", RegValue::String("日本")},
      {"\"A\"=hex(b):01,02,03,04,05,06,07,08", Raw(0xb, "\1\2\3\4\5\6\7\x08")},
      {"\"A\"=hex:01,\\\r\n  02,\\\r\n  03", Raw(kRegBinary, "\1\2\3")},
      // Data that cannot be read, and deleted values, are missing.
      {"\"A\"=-", std::nullopt},
      {"\"A\"=dword:0000", std::nullopt},
      {"\"A\"=dword:0000000g", std::nullopt},
      {"\"A\"=\"open", std::nullopt},
      {R"("A"="C:\dir")", std::nullopt},
      {"\"A\"=\"x\" trailing", std::nullopt},
      {"\"A\"=hex:01,", std::nullopt},
      {"\"A\"=hex:01,\\", std::nullopt},
      {"\"A\"=hex:1ff", std::nullopt},
      {"\"A\"=hex(2):41,00,42", std::nullopt},
      {"\"A\"=text", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(QueryIn(Export(std::string(c.line) + "\r\n"), "A"), c.expected) << c.line;
  }
}

TEST(RegFile, ReadsAsAnImportWould) {
  const struct {
    std::string_view what;
    std::string text;
    std::string_view name;
    std::optional<RegValue> expected;
  } cases[] = {
      {"key ignores case",
       "Windows Registry Editor Version 5.00\n[hkey_current_user\\SOFTWARE\\orvandi\\propdesk]\n\"A\"=\"x\"\n", "A",
       RegValue::String("x")},
      {"unnamed value", Export("@=\"d\"\r\n"), "", RegValue::String("d")},
      {"later line wins", Export("\"A\"=\"1\"\r\n\"A\"=\"2\"\r\n"), "A", RegValue::String("2")},
      {"a damaged later line hides an earlier one", Export("\"A\"=\"1\"\r\n\"A\"=dword:1\r\n"), "A", std::nullopt},
      {"deleted parent", Export("\"A\"=\"1\"\r\n[-HKEY_CURRENT_USER\\Software\\Orvandi]\r\n"), "A", std::nullopt},
      {"deleted sibling with a longer name",
       Export("\"A\"=\"1\"\r\n[-HKEY_CURRENT_USER\\Software\\Orvandi\\Propdesk2]\r\n"), "A", RegValue::String("1")},
      {"key set again after deletion",
       Export("[-HKEY_CURRENT_USER\\Software\\Orvandi]\r\n[HKEY_CURRENT_USER\\Software\\Orvandi\\Propdesk]\r\n"
              "\"A\"=\"2\"\r\n"),
       "A", RegValue::String("2")},
      {"values under a broken header belong nowhere",
       Export("[HKEY_CURRENT_USER\\Software\\Other\r\n\"A\"=\"x\"\r\n"), "A", std::nullopt},
      {"continuation stops at the next value", Export("\"B\"=hex:01,\\\r\n\"A\"=\"x\"\r\n"), "A",
       RegValue::String("x")},
      {"header after a UTF-8 mark and blank lines",
       "\xEF\xBB\xBF\r\nWindows Registry Editor Version 5.00\r\n[HKEY_CURRENT_USER\\Software\\Orvandi\\Propdesk]\r\n"
       "\"A\"=\"x\"",
       "A", RegValue::String("x")},
  };
  for (const auto& c : cases) EXPECT_EQ(QueryIn(c.text, c.name), c.expected) << c.what;
}

TEST(RegFile, RefusesTextThatIsNotAnExport) {
  const std::string utf16Export = Utf8ToUtf16Le("Windows Registry Editor Version 5.00\r\n");
  for (const std::string& text : {std::string(), std::string("REGEDIT4\r\n"), std::string("Windows Registry Ed"),
                                 std::string("\xFF\xFE") + utf16Export, std::string("\0\x01\x02\xFF", 4),
                                 std::string("[HKEY_CURRENT_USER\\Software]\r\n")}) {
    EXPECT_FALSE(RegFile::Parse(text).has_value()) << text;
  }
}

TEST(RegFile, WritesBackEveryLineItDidNotSet) {
  const std::string messy =
      "\xEF\xBB\xBFWindows Registry Editor Version 5.00\n; a comment\n\n[HKEY_CURRENT_USER\\Other]\n"
      "\"Bin\"=hex:01,\\\n  02\ngarbage \x01\x02 line\r\n[broken\n\"X\"=\"y\"\n[-HKEY_CURRENT_USER\\Gone]\n\"Last\"=dword:1";
  auto file = RegFile::Parse(messy);
  ASSERT_TRUE(file);
  EXPECT_EQ(file->Text(), messy);
  file->Set("HKEY_CURRENT_USER\\Other", "Bin", RegValue::Dword(7));
  EXPECT_EQ(file->Text(), "\xEF\xBB\xBFWindows Registry Editor Version 5.00\n; a comment\n\n[HKEY_CURRENT_USER\\Other]\n"
                          "\"Bin\"=dword:00000007\ngarbage \x01\x02 line\r\n[broken\n\"X\"=\"y\"\n"
                          "[-HKEY_CURRENT_USER\\Gone]\n\"Last\"=dword:1");
}

TEST(RegFile, AddsValuesWhereAnImportSeesThemLast) {
  const std::string start = Export("\"A\"=\"1\"\r\n; note\r\n\r\n[HKEY_CURRENT_USER\\Other]\r\n\"Z\"=\"z\"\r\n");
  auto file = RegFile::Parse(start);
  ASSERT_TRUE(file);
  file->Set(kKey, "a", RegValue::String("2"));
  file->Set(kKey, "B", RegValue::Dword(1));
  EXPECT_EQ(file->Text(), Export("\"a\"=\"2\"\r\n\"B\"=dword:00000001\r\n; note\r\n\r\n"
                                 "[HKEY_CURRENT_USER\\Other]\r\n\"Z\"=\"z\"\r\n"));

  // After a deletion of the key the value goes into a new section at the end; LF files stay LF.
  auto deleted = RegFile::Parse(
      "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Orvandi\\Propdesk]\n\"A\"=\"1\"\n\n"
      "[-HKEY_CURRENT_USER\\Software\\Orvandi]");
  ASSERT_TRUE(deleted);
  deleted->Set(kKey, "A", RegValue::String("2"));
  EXPECT_EQ(deleted->Text(),
            "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Orvandi\\Propdesk]\n\"A\"=\"1\"\n\n"
            "[-HKEY_CURRENT_USER\\Software\\Orvandi]\n\n[HKEY_CURRENT_USER\\Software\\Orvandi\\Propdesk]\n\"A\"=\"2\"\n\n");
  EXPECT_EQ(deleted->Query(kKey, "A"), RegValue::String("2"));
}

TEST(RegFile, FormatsValuesAsExportsDoAndReadsThemBack) {
  EXPECT_EQ(FormatRegValue("", RegValue::String(R"(a\"b)"), "\r\n"), R"(@="a\\\"b")");
  EXPECT_EQ(FormatRegValue("N", RegValue::Dword(0xABCDEF01), "\r\n"), "\"N\"=dword:abcdef01");
  EXPECT_EQ(FormatRegValue("N", Raw(kRegDword, "\1\2"), "\r\n"), "\"N\"=hex(4):01,02");
  EXPECT_EQ(FormatRegValue("N", RegValue::String("a\nb"), "\r\n"), "\"N\"=hex(1):61,00,0a,00,62,00,00,00");

  const std::string longText(200, 'x');
  const RegValue values[] = {
      RegValue::Dword(5),
      RegValue::String("日本語 \"quoted\" C:\\dir\\"),
      RegValue::String("line\r\nbreak"),
      Raw(kRegExpandSz, "%SystemRoot%\\system32\\" + longText + '\0'),
      Raw(kRegMultiSz, std::string_view("one\0二\0\0", 9)),
      Raw(kRegBinary, std::string(300, '\xFE')),
      Raw(0xb, std::string(8, '\0')),
      Raw(0, ""),
  };
  for (const RegValue& value : values) {
    RegFile file;
    file.Set(kKey, "Value", value);
    const std::string text = file.Text();
    std::size_t start = 0;
    for (std::size_t end = text.find("\r\n"); end != std::string::npos; end = text.find("\r\n", start)) {
      EXPECT_LE(end - start, 80u) << "line too long in\n" << text;
      start = end + 2;
    }
    EXPECT_EQ(QueryIn(text, "Value"), value) << text;
  }
}

// Random damage anywhere in an export never breaks reading, and a value set afterwards reads back.
TEST(RegFile, DamagedTextStillReadsAndTakesAValue) {
  const std::string valid = Export(
      "\"A\"=hex(2):25,00,50,00,41,00,54,00,48,00,25,00,00,00\r\n\"B\"=hex:00,01,02,\\\r\n  03,04\r\n"
      "\"C\"=\"a\\\\b\\\"c\"\r\n@=dword:00000001\r\n\r\n[-HKEY_CURRENT_USER\\Software\\Orvandi\\Propdesk\\Sub]\r\n");
  std::mt19937 random(12345);
  for (int round = 0; round < 3000; ++round) {
    std::string text = valid.substr(0, random() % (valid.size() + 1));
    for (int hits = random() % 4; hits > 0 && !text.empty(); --hits) {
      text[random() % text.size()] = static_cast<char>(random() % 256);
    }
    auto file = RegFile::Parse(text);
    if (!file) continue;
    for (const std::string_view name : {"A", "B", "C", ""}) file->Query(kKey, name);
    file->Set(kKey, "C", RegValue::String("new"));
    const auto again = RegFile::Parse(file->Text());
    ASSERT_TRUE(again) << text;
    ASSERT_EQ(again->Query(kKey, "C"), RegValue::String("new")) << text;
  }
}

TEST(Utf16Le, ConvertsTextAndReplacesWhatCannotBeConverted) {
  EXPECT_EQ(Utf8ToUtf16Le("a日\xF0\x9F\x98\x80"), std::string("a\0\xE5\x65\x3D\xD8\x00\xDE", 8));
  EXPECT_EQ(Utf16LeToUtf8(std::string("a\0\xE5\x65\x3D\xD8\x00\xDE", 8)), "a日\xF0\x9F\x98\x80");
  EXPECT_EQ(Utf8ToUtf16Le("\xFF\xC3"), std::string("\xFD\xFF\xFD\xFF", 4));
  EXPECT_EQ(Utf8ToUtf16Le("\xED\xA0\x80"), std::string("\xFD\xFF\xFD\xFF\xFD\xFF", 6));  // encoded surrogate
  EXPECT_EQ(Utf8ToUtf16Le("\xC0\xAF"), std::string("\xFD\xFF\xFD\xFF", 4));              // overlong
  EXPECT_EQ(Utf8ToUtf16Le("\xE0\x80\xAF"), std::string("\xFD\xFF\xFD\xFF\xFD\xFF", 6));  // overlong
  EXPECT_EQ(Utf16LeToUtf8(std::string("\x00\xDC" "a", 3)), "\xEF\xBF\xBD");             // lone low surrogate
}

}  // namespace
}  // namespace propdesk
