// Walks every code unit, single byte and byte pair of code page 932 and compares the project's
// tables with the reference conversion.
#include "convert/cp932.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>


namespace propdesk {
namespace {

std::vector<std::vector<std::string>> ReferenceRows(const std::string& name) {
  std::ifstream in(std::string(PROPDESK_TEST_DATA) + "/cp932/" + name);
  std::vector<std::vector<std::string>> rows;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> fields;
    std::istringstream split(line);
    std::string field;
    while (std::getline(split, field, '\t')) fields.push_back(field);
    rows.push_back(fields);
  }
  return rows;
}

unsigned Hex(const std::string& digits) { return static_cast<unsigned>(std::stoul(digits, nullptr, 16)); }

TEST(Cp932, EveryCodeUnitEncodesLikeTheReference) {
  const auto rows = ReferenceRows("unicode-to-cp932.tsv");
  ASSERT_EQ(rows.size(), 0x10000u) << "reference data missing under " << PROPDESK_TEST_DATA;
  for (const auto& row : rows) {
    const auto unit = static_cast<char16_t>(Hex(row[0].substr(2)));
    std::string expected = row[2];
    std::erase(expected, ' ');
    char bytes[2];
    const int count = cp932::EncodeUnit(unit, bytes);
    ASSERT_EQ(count, std::stoi(row[1])) << row[0];
    std::string actual;
    for (int i = 0; i < count; ++i) {
      char hex[3];
      std::snprintf(hex, sizeof hex, "%02X", static_cast<unsigned char>(bytes[i]));
      actual += hex;
    }
    ASSERT_EQ(actual, expected) << row[0];
  }
}

TEST(Cp932, EverySingleByteDecodesLikeTheReference) {
  const auto rows = ReferenceRows("cp932-single-to-unicode.tsv");
  ASSERT_EQ(rows.size(), 0x100u);
  for (const auto& row : rows) {
    ASSERT_EQ(static_cast<unsigned>(cp932::DecodeSingle(static_cast<std::uint8_t>(Hex(row[0])))), Hex(row[2]))
        << row[0];
  }
}

TEST(Cp932, EveryPairDecodesLikeTheReference) {
  const auto rows = ReferenceRows("cp932-pair-to-unicode.tsv");
  ASSERT_EQ(rows.size(), 60u * 188u);
  for (const auto& row : rows) {
    const unsigned pair = Hex(row[0]);
    const auto lead = static_cast<std::uint8_t>(pair >> 8);
    const auto trail = static_cast<std::uint8_t>(pair & 0xFF);
    ASSERT_TRUE(cp932::IsLeadByte(lead) && cp932::IsTrailByte(trail)) << row[0];
    ASSERT_EQ(static_cast<unsigned>(cp932::DecodePair(lead, trail)), Hex(row[2])) << row[0];
  }
}

TEST(Cp932, RoundTripHoldsExactlyWhenBytesConvertBack) {
  int round_trips = 0;
  for (unsigned u = 0; u < 0x10000; ++u) {
    const auto unit = static_cast<char16_t>(u);
    char bytes[2];
    const int count = cp932::EncodeUnit(unit, bytes);
    const auto first = static_cast<std::uint8_t>(bytes[0]);
    const char16_t back = count == 1 ? cp932::DecodeSingle(first)
                                     : cp932::DecodePair(first, static_cast<std::uint8_t>(bytes[1]));
    ASSERT_EQ(cp932::RoundTrips(unit), back == unit) << std::hex << u;
    round_trips += back == unit;
  }
  // Spot checks: a kanji and ASCII survive; best fits, unmapped units and surrogates do not.
  EXPECT_TRUE(cp932::RoundTrips(u'\u65e5'));
  EXPECT_TRUE(cp932::RoundTrips(u'A'));
  EXPECT_FALSE(cp932::RoundTrips(u'\u00e9'));
  EXPECT_FALSE(cp932::RoundTrips(u'\u00a5'));
  EXPECT_FALSE(cp932::RoundTrips(u'\uac00'));
  EXPECT_FALSE(cp932::RoundTrips(static_cast<char16_t>(0xD83D)));
  EXPECT_GT(round_trips, 7000);
}

TEST(Cp932, ALeadByteWithoutATrailByteIsACharacterOfItsOwn) {
  using namespace std::string_view_literals;
  EXPECT_EQ(cp932::CharacterLength("\x93\xfa"sv, 0), 2u);  // 日
  EXPECT_EQ(cp932::CharacterLength("\x88\x41"sv, 0), 2u);  // a letter can be a second byte
  EXPECT_EQ(cp932::CharacterLength("\x88\x88"sv, 0), 2u);
  EXPECT_EQ(cp932::CharacterLength("\x88\r\n"sv, 0), 1u);  // the line break stays one
  EXPECT_EQ(cp932::CharacterLength("\x88\x7f"sv, 0), 1u);
  EXPECT_EQ(cp932::CharacterLength("\xfc\xfd"sv, 0), 1u);
  EXPECT_EQ(cp932::CharacterLength("\x88"sv, 0), 1u);
  EXPECT_EQ(cp932::CharacterLength("\xb1\x41"sv, 0), 1u);  // half-width kana is one byte
}

}  // namespace
}  // namespace propdesk
