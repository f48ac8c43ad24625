// Decoding for the editor: a file saved again without an edit means to a Java reader what it meant.
#include "convert/meaning_safe_decoder.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "convert/escape_codec.h"
#include "convert/utf8_native_codec.h"
#include "document/line_ends.h"
#include "document/untouched_lines.h"
#include "support/properties_reader.h"
#include "support/temp_dir.h"

namespace propdesk {
namespace {

std::string Decoded(std::string text) {
  EXPECT_TRUE(DecodeEscapesKeepingMeaning(text));
  return text;
}

// What the file becomes when the editor opens it and saves it with no edit.
std::string Resaved(const std::string& escaped) {
  std::string text = Decoded(escaped);
  EXPECT_TRUE(EncodeEscapes(text));
  return text;
}

// The file saved with its untouched lines kept. With everyOtherLine, every other line counts as
// changed, so that lines encoded anew stand between lines written back as they were.
std::string ResavedKeepingLines(const std::string& escaped, bool everyOtherLine) {
  std::string shown = Decoded(escaped);
  bool lfStyle = false;
  EXPECT_TRUE(ExpandLineEnds(shown, lfStyle));
  std::string asOpened;
  bool changed = everyOtherLine;
  for (std::size_t i = 0; i < shown.size(); ++i) {
    const bool lineEnd = shown[i] == '\r' || (shown[i] == '\n' && (i == 0 || shown[i - 1] != '\r'));
    if (lineEnd && changed) asOpened += '~';
    asOpened += shown[i];
    if (lineEnd && everyOtherLine) changed = !changed;
  }
  if (changed) asOpened += '~';
  const std::optional<UntouchedLines> kept = UntouchedLines::Keep(escaped, 0, asOpened);
  EXPECT_TRUE(kept);
  return kept ? kept->Rewrite(shown, FileFormat::Encoding::kEscaped).File() : std::string();
}

// Lines encoded anew end like the file's first line. Only in files of one line-end style is that
// sure to keep the meaning: a lone backslash line followed by an empty last line means something
// else to a Java reader after CR LF than after CR or LF.
bool HasOneLineEndStyle(const std::string& file) {
  std::size_t crs = 0, lfs = 0, crLfs = 0;
  for (std::size_t i = 0; i < file.size(); ++i) {
    crs += file[i] == '\r';
    lfs += file[i] == '\n';
    crLfs += file[i] == '\r' && file[i + 1] == '\n';
  }
  return crs == 0 || lfs == 0 || (crLfs == crs && crLfs == lfs);
}

std::string WithCrLf(const std::string& text) {
  std::string crlf;
  for (const char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  return crlf;
}

// Without and with untouched lines kept: unchanged, those come back byte for byte.
void ExpectSameMeaningWhenResaved(const std::string& escaped) {
  for (const std::string& file : {escaped, WithCrLf(escaped)}) {
    const std::string meaning = test::Describe(test::ReadProperties(file));
    EXPECT_EQ(test::Describe(test::ReadProperties(Resaved(file))), meaning) << "file:\n" << file;
    EXPECT_EQ(ResavedKeepingLines(file, false), file);
    if (HasOneLineEndStyle(file)) {
      const std::string mixed = ResavedKeepingLines(file, true);
      EXPECT_EQ(test::Describe(test::ReadProperties(mixed)), meaning) << "file:\n" << file << "\nresaved:\n" << mixed;
    }
  }
}

TEST(DecodeEscapesKeepingMeaningTest, KeepsEscapesWhoseCharacterWouldBeSyntax) {
  const struct {
    std::string escaped;
    std::string decoded;
  } cases[] = {
      // Characters and places that stay as they are.
      {"k=a\\u000ab\\u000D\\u0009\\u0000\\u007f\\u005c", "k=a\\u000ab\\u000D\\u0009\\u0000\\u007f\\u005c"},
      {"a\\u0020b\\u003d\\u003a\\u0023\\u0021=v", "a\\u0020b\\u003d\\u003a\\u0023\\u0021=v"},
      {"\\u0023k=v\n\\u0021k=v", "\\u0023k=v\n\\u0021k=v"},
      {"k=\\u0020\\u0020v\\u0020", "k=\\u0020\\u0020v\\u0020"},
      {"k \\u003dv\nk=\\u0023v", "k \\u003dv\nk=\\u0023v"},
      {"k=a\\\n  \\u0020b", "k=a\\\n  \\u0020b"},
      // An escape after an escaped backslash is text to a reader, whatever its character and case.
      {"k=\\\\u0041\\\\u65E5\\\\\\u0041", "k=\\\\u0041\\\\u65E5\\\\A"},
      // A digit that would complete a short \u before it, also across a continued line.
      {"k=\\uab\\u0063d\\u0063", "k=\\uab\\u0063dc"},
      {"k=\\u\\u0061\\u0062", "k=\\u\\u0061b"},
      {"k=\\ua\\\n  \\u0062\\u0063d", "k=\\ua\\\n  \\u0062cd"},
      // Characters that mean the same wherever they stand, and the middle of a value.
      {"k=\\u0041\\u65e5 \\u0020 \\u003d\\u0023\\u0021:", "k=A\x93\xFA   =#!:"},
      {"k=a\\u0020\\\n  b", "k=a \\\n  b"},
      {"# \\u0020\\u003d\\u65e5\\u000a", "#  =\x93\xFA\\u000a"},
      // Escapes without an exact native form stay, as in the plain decoding.
      {"k=\\u00e9", "k=\\u00e9"},
  };
  for (const auto& c : cases) EXPECT_EQ(Decoded(c.escaped), c.decoded) << c.escaped;
}

TEST(DecodeEscapesKeepingMeaningTest, DecodesOtherFilesAsThePlainDecoder) {
  std::string plain = test::ReadFileBytes(PROPDESK_EXAMPLE_FILE);
  const std::string decoded = Decoded(plain);
  ASSERT_TRUE(DecodeEscapes(plain));
  EXPECT_EQ(decoded, plain);
}

TEST(DecodeEscapesKeepingMeaningTest, RealisticFilesKeepTheirMeaning) {
  for (const char* name : {"messages_ja.properties", "errors_upper_crlf.properties", "tricky.properties"}) {
    SCOPED_TRACE(name);
    const std::string file = test::ReadFileBytes(std::string(PROPDESK_TEST_DATA) + "/" + name);
    ASSERT_FALSE(file.empty());
    ASSERT_EQ(test::ReadProperties(file).error, "");
    ExpectSameMeaningWhenResaved(file);
    // Long texts are decoded a part at a time: no part may cut a line off from what it continues.
    std::string repeated, decodedRepeated;
    for (int i = 0; i < 200; ++i) {
      repeated += file + "\n\n";
      decodedRepeated += Decoded(file + "\n\n");
    }
    EXPECT_EQ(Decoded(repeated), decodedRepeated);
  }
}

// A UTF-8 file opened and saved with no edit keeps its meaning for a reader of UTF-8.
void ExpectSameMeaningWhenResavedAsUtf8(const std::string& utf8) {
  const auto meaning = [](const std::string& file) {
    return test::Describe(test::ReadProperties(file, test::PropertiesEncoding::Utf8));
  };
  const std::string resaved = NativeToUtf8Text(Utf8TextToNative(utf8));
  EXPECT_EQ(meaning(resaved), meaning(utf8)) << "file:\n" << utf8 << "\nresaved:\n" << resaved;
}

// Random files of keys, separators, whitespace, comments, continuations, and escapes of the
// characters that are syntax somewhere, at every kind of place; with characters of UTF-8 in
// some, which are opened as UTF-8 files.
TEST(DecodeEscapesKeepingMeaningTest, GeneratedFilesKeepTheirMeaning) {
  const std::string pieces[] = {
      "k", "key.a", " ", "\t", "\f", "=", ":", "#", "!", "\\\\", "\\\\u0041", "\\ ", "\\=", "\\:", "\\#", "\\t", "\\n",
      "\\u0020", "\\u003d", "\\u003A", "\\u0023", "\\u0021", "\\u005c", "\\u005C", "\\u000a", "\\u000D",
      "\\u0009", "\\u000c", "\\u0000", "\\u007f", "\\u0041", "\\u0075", "\\u65e5", "\\u65E5", "\\u00e9",
      "\\u", "\\ua", "a", "\\u0063", "\\u30E2", "\\\\u30E2",
      "\n", "\n", "\r\n", "\r", "\\\n", "\\\n   ", "\\\r\n\t", "\n# c\\\n", "\n!\\u0020c\n", "\n\n",
  };
  // é and 😀 have no native form, あ has.
  const std::string utf8Pieces[] = {"\xc3\xa9", "\\\xc3\xa9", "\\\\\xc3\xa9", "\xe3\x81\x82", "\\\xf0\x9f\x98\x80", "\\u00e9", "\\\\u00e9"};
  std::mt19937 random(17);
  for (int file = 0; file < 4000; ++file) {
    std::string text;
    bool utf8 = false;
    for (int i = static_cast<int>(random() % 30); i >= 0; --i) {
      utf8 = utf8 || random() % 16 == 0;
      text += utf8 && random() % 4 == 0 ? utf8Pieces[random() % std::size(utf8Pieces)] : pieces[random() % std::size(pieces)];
    }
    if (utf8) {
      ExpectSameMeaningWhenResavedAsUtf8(text);
    } else {
      ExpectSameMeaningWhenResaved(text);
    }
    if (HasFailure()) break;
  }
}

}  // namespace
}  // namespace propdesk
