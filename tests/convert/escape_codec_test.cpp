// The code page 932 escape codec on whole texts: decoding, encoding, and their round trip.
#include "convert/escape_codec.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "convert/cp932.h"

namespace propdesk {
namespace {

using namespace std::string_literals;

struct Example {
  std::string input;
  std::string expected;
};

std::string Decoded(std::string text) {
  EXPECT_TRUE(DecodeEscapes(text));
  return text;
}

std::string Encoded(std::string text) {
  EXPECT_TRUE(EncodeEscapes(text));
  return text;
}

TEST(DecodeEscapesTest, DecodesEscapesAndCopiesEverythingElse) {
  const std::vector<Example> examples = {
      {"", ""},
      {"key=\\u65e5\\u672c", "key=\x93\xFA\x96\x7B"},
      {"\\u65E5", "\x93\xFA"},
      {"\\u65e5", "\x93\xFA"},
      {"\\u0041", "A"},
      {"\\uff71", "\xB1"},
      {"\\u000a", "\n"},
      {"\\u0000", "\0"s},
      {"a\\\\u0041", "a\\A"},
      {"\\u005cu0041", "\\u0041"},
      {"plain text, no backslash\r\n", "plain text, no backslash\r\n"},
      {"a=\\n\\t\\r\\f\\=\\:\\#\\!\\ b\\\r\n", "a=\\n\\t\\r\\f\\=\\:\\#\\!\\ b\\\r\n"},
      {"\x93\xFA\xB1\xFF", "\x93\xFA\xB1\xFF"},
      // The second byte of a raw double-byte character may be a backslash that starts an escape.
      {"\x95\\u0041", "\x95"
                      "A"},
      {"\\u0041\\u0042\\u0043", "ABC"},
  };
  for (const auto& [input, expected] : examples) EXPECT_EQ(Decoded(input), expected) << input;
}

TEST(DecodeEscapesTest, CopiesMalformedAndTruncatedEscapes) {
  for (const std::string input : {"\\U65E5", "\\u12G4", "\\u 123", "\\u00", "\\u65e", "x\\u65e", "\\u", "\\",
                                  "abc\\", "\\u\x93\xFA\x96\x7B", "\\uFFFG", "\\u-123", "\\\\\\"}) {
    EXPECT_EQ(Decoded(input), input);
  }
}

// Escapes of code units without an exact native form would come back changed (or, for the yen
// sign, as a backslash that escapes the next character), so they stay as text.
TEST(DecodeEscapesTest, KeepsEscapesWithoutExactNativeFormAsText) {
  const std::vector<Example> examples = {
      {"caf\\u00e9", "caf\\u00e9"},
      {"\\u00a5100", "\\u00a5100"},
      {"\\uac00", "\\uac00"},
      {"\\ud83d\\ude00", "\\ud83d\\ude00"},
      {"\\u00E9\\u65e5", "\\u00E9\x93\xFA"},
  };
  for (const auto& [input, expected] : examples) {
    const std::string decoded = Decoded(input);
    EXPECT_EQ(decoded, expected) << input;
    EXPECT_EQ(Encoded(decoded), input) << "saving changed " << input;
  }
}

TEST(EncodeEscapesTest, EscapesEveryNonAsciiCharacter) {
  const std::vector<Example> examples = {
      {"", ""},
      {"\x93\xFA\x96\x7B", "\\u65e5\\u672c"},
      {"\xB1", "\\uff71"},
      {"\x95\x5C", "\\u8868"},
      {"\x83\xBF", "\\u03b1"},
      {"key=a\\b\r\n", "key=a\\b\r\n"},
      {"\\u0041 stays", "\\u0041 stays"},
      {"\0\x7F"s, "\0\x7F"s},
      // A lead byte on its own: at the end, or before a byte that cannot trail it.
      {"a\x93", "a\\u30fb"},
      {"\x93\n", "\\u30fb\n"},
      {"\x80\xA0\xFD\xFF", "\\u0080\\uf8f0\\uf8f1\\uf8f3"},
      {"\x81\xAD", "\\u30fb"},
  };
  for (const auto& [input, expected] : examples) EXPECT_EQ(Encoded(input), expected);
}

TEST(EncodeEscapesTest, HalfWidthKatakanaGrowsSixfold) {
  const std::string katakana(1000, '\xB1');
  const std::string encoded = Encoded(katakana);
  ASSERT_EQ(encoded.size(), 6 * katakana.size());
  EXPECT_EQ(encoded.substr(0, 12), "\\uff71\\uff71");
}

// Random native text made of ASCII, half-width katakana and double-byte characters whose code
// units map back to the same bytes. It never spells an escape in ASCII, which decoding would turn
// into the character it names.
std::string RandomNativeText(std::mt19937& random, std::size_t characters) {
  std::vector<std::string> doubleByte;
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      const auto leadByte = static_cast<std::uint8_t>(lead), trailByte = static_cast<std::uint8_t>(trail);
      if (!cp932::IsLeadByte(leadByte) || !cp932::IsTrailByte(trailByte)) continue;
      const char16_t unit = cp932::DecodePair(leadByte, trailByte);
      char bytes[2];
      if (cp932::RoundTrips(unit) && cp932::EncodeUnit(unit, bytes) == 2 &&
          bytes[0] == static_cast<char>(lead) && bytes[1] == static_cast<char>(trail)) {
        doubleByte.push_back(std::string(bytes, 2));
      }
    }
  }
  std::string text;
  bool afterBackslash = false;
  for (std::size_t i = 0; i < characters; ++i) {
    const bool wasAfterBackslash = afterBackslash;
    afterBackslash = false;
    switch (random() % 3) {
      case 0: {
        const auto ascii = static_cast<char>(random() % 0x80);
        text += wasAfterBackslash && ascii == 'u' ? 'v' : ascii;
        afterBackslash = ascii == '\\';
        break;
      }
      case 1:
        text += static_cast<char>(0xA1 + random() % (0xDF - 0xA1 + 1));
        break;
      default:
        text += doubleByte[random() % doubleByte.size()];
    }
  }
  return text;
}

TEST(EscapeCodecTest, DecodingEncodedRandomTextGivesItBack) {
  std::mt19937 random(932);
  for (int round = 0; round < 20; ++round) {
    const std::string text = RandomNativeText(random, 20000);
    EXPECT_EQ(Decoded(Encoded(text)), text);
  }
}

TEST(EscapeCodecTest, LongTextsCrossInternalBlocksIntact) {
  const std::size_t count = 100001;
  std::string escaped = "x", native = "x";
  for (std::size_t i = 0; i < count; ++i) {
    escaped += "\\u65e5";
    native += "\x93\xFA";
  }
  EXPECT_EQ(Decoded(escaped), native);
  EXPECT_EQ(Encoded(native), escaped);
}

}  // namespace
}  // namespace propdesk
