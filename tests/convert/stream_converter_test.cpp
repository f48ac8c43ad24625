// Every converter gives the same output however its input is cut into blocks.
#include "convert/stream_converter.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "convert/escape_codec.h"
#include "convert/utf8_escape_codec.h"

namespace propdesk {
namespace {

using namespace std::string_literals;

struct StreamCase {
  const char* name;
  std::function<std::unique_ptr<StreamConverter>()> make;
  std::string input;
  std::string expected;
  std::uint64_t replaced;
};

void PrintTo(const StreamCase& tested, std::ostream* stream) { *stream << tested.name; }

template <class Converter>
std::function<std::unique_ptr<StreamConverter>()> Maker() {
  return [] { return std::make_unique<Converter>(); };
}

const std::vector<StreamCase>& Cases() {
  static const std::vector<StreamCase> cases = {
      {"Cp932Decoding", Maker<EscapeDecoder>(),
       "a\\u65e5\\u672c\\\\u0041\\u00e9\\ud83d\\ude00\\U0041\\u12G4\x95\\u0041 end\\u65e",
       "a\x93\xFA\x96\x7B\\A\\u00e9\\ud83d\\ude00\\U0041\\u12G4\x95"
       "A end\\u65e",
       0},
      {"Cp932Encoding", Maker<EscapeEncoder>(), "a\x93\xFA\x95\x5C\xB1\x93\nb\\u0041\x83\xBF\x93",
       "a\\u65e5\\u8868\\uff71\\u30fb\nb\\u0041\\u03b1\\u30fb", 0},
      {"Utf8Decoding", Maker<Utf8EscapeDecoder>(),
       "x\\ud83d\\ude00\\u65e5\\ud83d\\u0041\\ude00\\ud83d\\ud83d\\ude00\\u00e9\\u0000\\ud83d"s,
       "x\xF0\x9F\x98\x80\xE6\x97\xA5\\ud83dA\\ude00\\ud83d\xF0\x9F\x98\x80\xC3\xA9\0\\ud83d"s, 0},
      {"Utf8Encoding", Maker<Utf8EscapeEncoder>(), "a\xC3\xA9\xE6\x97\xA5\xF0\x9F\x98\x80\xFF\xE3\x81" "b\xF0\x9F\x98",
       "a\\u00e9\\u65e5\\ud83d\\ude00\\ufffd\\ufffd\\ufffdb\\ufffd\\ufffd\\ufffd", 6},
  };
  return cases;
}

// Feeds input cut at the given offsets, each block into an output buffer of exactly the size the
// converter asks for.
std::string ConvertInBlocks(StreamConverter& converter, const std::string& input, const std::vector<std::size_t>& cuts) {
  std::string output;
  std::size_t start = 0;
  const auto feed = [&](std::size_t end) {
    const std::string block = input.substr(start, end - start);
    std::vector<char> buffer(converter.MaxOutput(block.size()));
    const std::size_t written = converter.Convert(block, buffer.data());
    EXPECT_LE(written, buffer.size());
    output.append(buffer.data(), written);
    start = end;
  };
  for (const std::size_t cut : cuts) feed(cut);
  feed(input.size());
  std::vector<char> rest(converter.MaxOutput(0));
  output.append(rest.data(), converter.Finish(rest.data()));
  return output;
}

class StreamConverterTest : public testing::TestWithParam<StreamCase> {};

TEST_P(StreamConverterTest, OneBlockGivesTheExpectedOutput) {
  const auto converter = GetParam().make();
  EXPECT_EQ(ConvertInBlocks(*converter, GetParam().input, {}), GetParam().expected);
  EXPECT_EQ(converter->ReplacedCount(), GetParam().replaced);
}

TEST_P(StreamConverterTest, AnySplitGivesTheSameOutput) {
  const std::string& input = GetParam().input;
  for (std::size_t first = 0; first <= input.size(); ++first) {
    // A second cut close behind the first makes a block shorter than any lookahead.
    for (std::size_t second = first; second <= std::min(input.size(), first + 13); ++second) {
      const auto converter = GetParam().make();
      ASSERT_EQ(ConvertInBlocks(*converter, input, {first, second}), GetParam().expected)
          << "cut at " << first << " and " << second;
      EXPECT_EQ(converter->ReplacedCount(), GetParam().replaced);
    }
  }
}

TEST_P(StreamConverterTest, ByteByByteGivesTheSameOutput) {
  const std::string& input = GetParam().input;
  std::vector<std::size_t> cuts;
  for (std::size_t i = 1; i < input.size(); ++i) cuts.push_back(i);
  const auto converter = GetParam().make();
  EXPECT_EQ(ConvertInBlocks(*converter, input, cuts), GetParam().expected);
}

TEST_P(StreamConverterTest, WholeTextConversionAgreesWithStreaming) {
  std::string text = GetParam().input;
  const auto converter = GetParam().make();
  ASSERT_TRUE(ConvertWholeText(*converter, text));
  EXPECT_EQ(text, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Converters, StreamConverterTest, testing::ValuesIn(Cases()),
                         [](const testing::TestParamInfo<StreamCase>& tested) { return tested.param.name; });

}  // namespace
}  // namespace propdesk
