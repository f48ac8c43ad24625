// The edit control's form of the view text: line breaks as CR LF, lone CR, LF and NUL as
// placeholders. (The text document's form is checked through the Qt view's wrappers.)
#include "convert/view_text.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace propdesk {
namespace {

using namespace std::string_literals;
constexpr ViewLineBreak kCrLf = ViewLineBreak::CrLf;

TEST(ViewTextCrLf, NativeAndViewTextMapCharacterByCharacter) {
  const std::u16string cr(1, kLoneCrPlaceholder);
  const std::u16string lf(1, kLoneLfPlaceholder);
  const std::u16string nul(1, kNulPlaceholder);
  const std::vector<std::pair<std::string, std::u16string>> cases = {
      {"a\r\nb", u"a\r\nb"},
      {"\r\r\n\n", cr + u"\r\n" + lf},
      {"a\r", u"a" + cr},
      {"\0x\0"s, nul + u"x" + nul},
      {"\x95\x5C\x83\x5C\\", u"表ソ\\"},
      {"\x82\xA0\r\n\xB1\xDE", u"あ\r\nｱﾞ"},
  };
  for (const auto& [native, view] : cases) {
    EXPECT_EQ(NativeToViewText(native, kCrLf), view) << native;
    EXPECT_EQ(ViewTextToNative(view, kCrLf), native) << native;
    EXPECT_EQ(NativeLength(view, kCrLf), native.size()) << native;
  }
}

TEST(ViewTextCrLf, ByteOffsetsFindTheirCharacter) {
  const std::u16string text = u"aあ\r\nb";  // bytes: a, 82 A0, CR LF, b
  // A byte inside a character or a line break finds the character's or the break's start.
  const std::vector<std::pair<std::size_t, std::size_t>> cases = {
      {0, 0}, {1, 1}, {2, 1}, {3, 2}, {4, 2}, {5, 4}, {6, 5}, {100, 5}};
  for (const auto& [offset, index] : cases) EXPECT_EQ(IndexOfNativeOffset(text, offset, kCrLf), index) << offset;
  const std::vector<std::size_t> offsetOfIndex = {0, 1, 3, 4, 5, 6};
  for (std::size_t index = 0; index <= text.size(); ++index)
    EXPECT_EQ(NativeLength(text.substr(0, index), kCrLf), offsetOfIndex[index]) << index;
}

TEST(ViewTextCrLf, EnteredTextKeepsEveryCharacterWithEditControlLineBreaks) {
  const std::vector<std::pair<std::u16string, std::u16string>> cases = {
      {u"あ表ｱ①～", u"あ表ｱ①～"},
      {u"é😀", u"\\u00e9\\ud83d\\ude00"},
      {u"a\r\nb\nc\u2028d\u2029e", u"a\r\nb\r\nc\r\nd\r\ne"},
      {u"a\rb\uFDED", u"a\uFDEEb\\ufded"},
  };
  for (const auto& [entered, kept] : cases) EXPECT_EQ(EnteredViewText(entered, kCrLf), kept);
}

}  // namespace
}  // namespace propdesk
