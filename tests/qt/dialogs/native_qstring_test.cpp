// The mapping between native code page 932 bytes and the view's QString.
#include "qt/dialogs/native_qstring.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "convert/cp932.h"

namespace propdesk {
namespace {

using namespace std::string_literals;
using namespace Qt::StringLiterals;

std::string Encoded(char16_t unit) {
  char bytes[2];
  return std::string(bytes, static_cast<std::size_t>(cp932::EncodeUnit(unit, bytes)));
}

TEST(NativeQString, EveryRoundTrippingCharacterSurvivesSideBySide) {
  // All characters in one text, so that every pair also meets its neighbours: a trail byte 0x5C or
  // a single byte after a pair must not be read as part of another character.
  QString text;
  std::string native;
  for (unsigned u = 0; u < 0x10000; ++u) {
    const auto unit = static_cast<char16_t>(u);
    if (!cp932::RoundTrips(unit) || unit == u'\r' || unit == u'\n') continue;
    text += QChar(unit);
    native += Encoded(unit);
  }
  ASSERT_GT(text.size(), 7000);
  EXPECT_EQ(QStringToNative(text), native);
  EXPECT_EQ(NativeToQString(native), text);
  EXPECT_EQ(NativeLength(text), native.size());
}

TEST(NativeQString, NoByteSequenceDecodesToAPlaceholder) {
  // Decoding takes one or two bytes per character, so every sequence of two bytes covers every
  // way a character can be made. A placeholder may only stand for a lone CR or LF.
  EXPECT_FALSE(cp932::RoundTrips(kLoneCrPlaceholder));
  EXPECT_FALSE(cp932::RoundTrips(kLoneLfPlaceholder));
  for (unsigned first = 0; first < 0x100; ++first) {
    for (unsigned second = 0; second < 0x100; ++second) {
      const std::string bytes = {static_cast<char>(first), static_cast<char>(second)};
      const QString text = NativeToQString(bytes);
      const bool loneCr = (first == '\r' && second != '\n') || second == '\r';
      const bool loneLf = first == '\n' || (second == '\n' && first != '\r');
      const bool placeholder = text.contains(QChar(kLoneCrPlaceholder)) || text.contains(QChar(kLoneLfPlaceholder));
      ASSERT_EQ(placeholder, loneCr || loneLf) << std::hex << first << ' ' << second;
    }
  }
}

struct Mapping {
  std::string native;
  std::u16string view;
  std::string backToNative;  // what the view's text is saved as
};

TEST(NativeQString, LineBreaksNulAndDoubleByteCharacters) {
  const std::u16string cr(1, kLoneCrPlaceholder);
  const std::u16string lf(1, kLoneLfPlaceholder);
  const std::vector<Mapping> cases = {
      {"a\r\nb", u"a\nb", "a\r\nb"},
      {"a\rb", u"a" + cr + u"b", "a\rb"},
      {"a\nb", u"a" + lf + u"b", "a\nb"},
      {"\r\r\n\n", cr + u"\n" + lf, "\r\r\n\n"},
      {"a\r", u"a" + cr, "a\r"},
      {"\0x\0"s, u"\0x\0"s, "\0x\0"s},
      {"\x95\x5C\x83\x5C\\", u"表ソ\\", "\x95\x5C\x83\x5C\\"},
      {"\x82\xA0\r\n\x82\xA2", u"あ\nい", "\x82\xA0\r\n\x82\xA2"},
      {"\xB1\xDE", u"ｱﾞ", "\xB1\xDE"},
      {"\x80\xA0\xFD", u"\u0080\uF8F0\uF8F1", "\x80\xA0\xFD"},
      // A lead byte without its trail byte, or with a byte that cannot trail, stands alone and
      // shows as U+30FB, which is saved as its own two bytes.
      {"\x82", u"\u30FB", "\x81\x45"},
      {"\x82\r\n", u"\u30FB\n", "\x81\x45\r\n"},
      {"\x82\x30", u"\u30FB0", "\x81\x45\x30"},
      // An undefined pair shows as U+30FB too.
      {"\x85\x40", u"\u30FB", "\x81\x45"},
  };
  for (const Mapping& c : cases) {
    const QString view = QString::fromStdU16String(c.view);
    EXPECT_EQ(NativeToQString(c.native), view) << c.native;
    EXPECT_EQ(QStringToNative(view), c.backToNative) << c.native;
    EXPECT_EQ(NativeLength(view), c.backToNative.size()) << c.native;
  }
}

TEST(NativeQString, ByteOffsetsFindTheirCharacter) {
  const QString text = u"aあ\nb"_s;  // bytes: a, 82 A0, CR LF, b
  const std::vector<std::pair<std::size_t, qsizetype>> cases = {
      {0, 0}, {1, 1}, {2, 1}, {3, 2}, {4, 2}, {5, 3}, {6, 4}, {100, 4}};
  for (const auto& [offset, index] : cases) EXPECT_EQ(IndexOfNativeOffset(text, offset), index) << offset;
  EXPECT_EQ(IndexOfNativeOffset(QString(), 0), 0);
}

TEST(NativeQString, EnteredTextKeepsEveryCharacterItsOwnOrEscaped) {
  const std::vector<std::pair<std::u16string, std::u16string>> cases = {
      {u"あ表ｱ①～", u"あ表ｱ①～"},
      {u"é¥〜", u"\\u00e9\\u00a5\\u301c"},  // no best fit
      {u"😀\xD800", u"\\ud83d\\ude00\\ud800"},  // per code unit
      {u"a\r\nb\nc\u2028d\u2029e", u"a\nb\nc\nd\ne"},
      {u"a\rb", u"a\uFDEEb"},  // a lone CR stays a lone CR
      {u"\uFDEE", u"\\ufdee"},  // the placeholders cannot be typed
      {std::u16string(u"x\0y", 3), std::u16string(u"x\0y", 3)},
  };
  for (const auto& [entered, kept] : cases) {
    EXPECT_EQ(EnteredViewText(QString::fromStdU16String(entered)), QString::fromStdU16String(kept));
  }
  EXPECT_TRUE(IsEncodable(QString::fromStdU16String(u"a表ｱ\\\r\n"s + u'\0')));
  EXPECT_FALSE(IsEncodable(u"aé"_s));
  EXPECT_FALSE(IsEncodable(u"\uFDEE"_s));
}

TEST(NativeQString, PlainTextForOtherProgramsHasRealLineBreaks) {
  EXPECT_EQ(ExternalPlainText(u"a\u2029b\uFDEEc\uFDEFd"_s), u"a\nb\rc\nd"_s);
}

}  // namespace
}  // namespace propdesk
