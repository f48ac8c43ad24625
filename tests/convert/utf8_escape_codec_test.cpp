// The escape codec with UTF-8 as the native encoding.
#include "convert/utf8_escape_codec.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace propdesk {
namespace {

using namespace std::string_literals;

// Input and expected output.
using Examples = std::vector<std::pair<std::string, std::string>>;

std::string Converted(StreamConverter&& converter, std::string text) {
  EXPECT_TRUE(ConvertWholeText(converter, text));
  return text;
}

TEST(Utf8EscapeDecoderTest, DecodesUnitsAndJoinsSurrogatePairs) {
  const Examples examples = {
      {"\\u0041\\u00e9\\u65E5\\uff71", "A\xC3\xA9\xE6\x97\xA5\xEF\xBD\xB1"},
      {"\\u0000", "\0"s},
      {"\\uffff", "\xEF\xBF\xBF"},
      {"\\ud83d\\ude00", "\xF0\x9F\x98\x80"},
      {"\\uD83D\\uDE00", "\xF0\x9F\x98\x80"},
      {"\\ud800\\udc00\\udbff\\udfff", "\xF0\x90\x80\x80\xF4\x8F\xBF\xBF"},
      // Lone surrogates have no UTF-8 form and stay escaped.
      {"\\ud83d", "\\ud83d"},
      {"\\ude00\\ud83d", "\\ude00\\ud83d"},
      {"\\ud83dx\\ude00", "\\ud83dx\\ude00"},
      {"\\ud83d\\u0041", "\\ud83dA"},
      {"\\ud83d\\ud83d\\ude00", "\\ud83d\xF0\x9F\x98\x80"},
      {"\\ud83d\\ude0", "\\ud83d\\ude0"},
      {"a\\\\u0041 \\U0041 \\u12G4 \xE6\x97\xA5", "a\\A \\U0041 \\u12G4 \xE6\x97\xA5"},
  };
  for (const auto& [input, expected] : examples) EXPECT_EQ(Converted(Utf8EscapeDecoder(), input), expected) << input;
}

TEST(Utf8EscapeEncoderTest, EscapesCharactersAboveTheBasicPlaneAsSurrogatePairs) {
  const Examples examples = {
      {"", ""},
      {"key=a\\b\r\n", "key=a\\b\r\n"},
      {"\xC3\xA9\xE6\x97\xA5\xEF\xBD\xB1", "\\u00e9\\u65e5\\uff71"},
      {"\xF0\x9F\x98\x80", "\\ud83d\\ude00"},
      {"\xF0\x90\x80\x80\xF4\x8F\xBF\xBF", "\\ud800\\udc00\\udbff\\udfff"},
      {"\xEF\xBF\xBF", "\\uffff"},
  };
  for (const auto& [input, expected] : examples) EXPECT_EQ(Converted(Utf8EscapeEncoder(), input), expected) << input;
}

TEST(Utf8EscapeEncoderTest, ReplacesAndCountsEachInvalidByte) {
  const struct {
    std::string input;
    std::string expected;
    std::uint64_t replaced;
  } examples[] = {
      {"\xFF", "\\ufffd", 1},
      {"a\x80z", "a\\ufffdz", 1},
      {"\xE3\x81", "\\ufffd\\ufffd", 2},            // cut short at the end
      {"\xE3\x81z", "\\ufffd\\ufffdz", 2},          // cut short before ASCII
      {"\xC0\xAF", "\\ufffd\\ufffd", 2},            // overlong slash
      {"\xE0\x80\xAF", "\\ufffd\\ufffd\\ufffd", 3},  // overlong slash
      {"\xED\xA0\x80", "\\ufffd\\ufffd\\ufffd", 3},  // an encoded surrogate
      {"\xF4\x90\x80\x80", "\\ufffd\\ufffd\\ufffd\\ufffd", 4},  // above U+10FFFF
      {"\xF5\xC2\xA9", "\\ufffd\\u00a9", 1},
  };
  for (const auto& example : examples) {
    Utf8EscapeEncoder encoder;
    std::string text = example.input;
    ASSERT_TRUE(ConvertWholeText(encoder, text));
    EXPECT_EQ(text, example.expected);
    EXPECT_EQ(encoder.ReplacedCount(), example.replaced) << example.expected;
  }
}

TEST(Utf8EscapeCodecTest, DecodingEncodedTextGivesItBack) {
  std::string text;
  for (char32_t c = 1; c < 0x110000; c += 97) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    std::string utf8;
    if (c < 0x80) {
      utf8 = static_cast<char>(c);
    } else if (c < 0x800) {
      utf8 = {static_cast<char>(0xC0 | c >> 6), static_cast<char>(0x80 | (c & 0x3F))};
    } else if (c < 0x10000) {
      utf8 = {static_cast<char>(0xE0 | c >> 12), static_cast<char>(0x80 | (c >> 6 & 0x3F)),
              static_cast<char>(0x80 | (c & 0x3F))};
    } else {
      utf8 = {static_cast<char>(0xF0 | c >> 18), static_cast<char>(0x80 | (c >> 12 & 0x3F)),
              static_cast<char>(0x80 | (c >> 6 & 0x3F)), static_cast<char>(0x80 | (c & 0x3F))};
    }
    text += utf8;
  }
  Utf8EscapeEncoder encoder;
  const std::string escaped = Converted(std::move(encoder), text);
  EXPECT_EQ(escaped.find_first_of("\x80\xFF"), std::string::npos);
  EXPECT_EQ(Converted(Utf8EscapeDecoder(), escaped), text);
}

}  // namespace
}  // namespace propdesk
