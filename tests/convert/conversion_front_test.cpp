// The conversion front: built-in codec or external command as the caller chooses, and the messages
// of failed conversions.
#include "convert/conversion_front.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>

#include "convert/escape_codec.h"
#include "convert/external_converter.h"
#include "convert/meaning_safe_decoder.h"
#include "private_temp_folder.h"

namespace propdesk {
namespace {

using ConvertFunction = bool (*)(std::string&, std::string*, const ConverterChoice&);

// Escaped text as files hold it: upper and lower case digits, escapes that code page 932 cannot
// hold, escapes the editor keeps, broken escapes, both line-end styles.
const std::string kEscaped =
    "# \\u6ce8\\u6587\\u7BA1\\u7406\r\n"
    "app.title=\\u6ce8\\u6587 \\uff5e \\u00e9 \\ud83d\\ude00\n"
    "kept=\\u0020lead\\u000aline\n"
    "broken=\\u12 \\uXYZW \\\\u3042 tail\\u30";

// The example file, every UTF-16 code unit as an escape with lower and upper case digits, and the
// text above.
std::string EscapedCorpus() {
  std::string text = test::ReadFileBytes(PROPDESK_EXAMPLE_FILE);
  for (unsigned unit = 0; unit < 0x10000; ++unit) {
    char escape[8];
    std::snprintf(escape, sizeof escape, unit % 2 == 0 ? "\\u%04x" : "\\u%04X", unit);
    text += escape;
    if (unit % 32 == 31) text += unit % 64 == 31 ? "\r\n" : "\n";
  }
  return text + kEscaped;
}

// Every single byte, and every byte of the lead range followed by every byte of the trail range.
std::string NativeCorpus() {
  std::string text;
  for (int byte = 0; byte < 256; ++byte) text.push_back(static_cast<char>(byte));
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      text.push_back(static_cast<char>(lead));
      text.push_back(static_cast<char>(trail));
    }
    text += "\r\n";
  }
  return text;
}

const std::string kHelper = PROPDESK_COMMAND_HELPER;

class ConversionFrontTest : public ::testing::Test {
 protected:
  void TearDown() override { EXPECT_TRUE(temp_.Leftovers().empty()); }

  test::TempDir dir_;
  test::PrivateTempFolder temp_;
};

TEST_F(ConversionFrontTest, BuiltInPathGivesTheCodecsResultAndLeavesErrorTextAlone) {
  const std::string never = kHelper + " fail";
  const ConverterChoice builtIn{false, never, {}};

  std::string native = kEscaped;
  std::string codecNative = kEscaped;
  std::string errorText = "untouched";
  ASSERT_TRUE(ConvertToNative(native, &errorText, builtIn));
  ASSERT_TRUE(DecodeEscapesKeepingMeaning(codecNative));
  EXPECT_EQ(native, codecNative);

  std::string escaped = native;
  std::string codecEscaped = native;
  ASSERT_TRUE(ConvertToEscaped(escaped, &errorText, builtIn));
  ASSERT_TRUE(EncodeEscapes(codecEscaped));
  EXPECT_EQ(escaped, codecEscaped);
  EXPECT_EQ(errorText, "untouched");
}

TEST_F(ConversionFrontTest, FailureKeepsTheTextAndGivesTheMessage) {
  const struct {
    std::string path;
    std::string message;
  } cases[] = {
      {dir_.File("no-such-command"), "外部コマンドの呼び出しに失敗しました。[code=2]"},
      {"", "外部コマンドの呼び出しに失敗しました。[code=2]"},
      {kHelper + " fail", "外部コマンドがエラーで終了しました。"},
  };
  for (const auto& c : cases) {
    const ConverterChoice external{true, c.path, {}};
    const ConvertFunction conversions[] = {&ConvertToNative, &ConvertToEscaped};
    for (const ConvertFunction convert : conversions) {
      std::string text = kEscaped;
      std::string errorText = "stale";
      EXPECT_FALSE(convert(text, &errorText, external));
      EXPECT_EQ(text, kEscaped);
      EXPECT_EQ(errorText, c.message);
      EXPECT_FALSE(convert(text, nullptr, external));
      EXPECT_EQ(text, kEscaped);
    }
  }
}

// A cancel check ends the command in either direction; the text stays and the message is the
// cancel's own.
TEST_F(ConversionFrontTest, CancelCheckEndsTheCommandWithItsOwnMessage) {
  const std::string slow = kHelper + " sleep";
  for (const ConvertFunction convert : {&ConvertToNative, &ConvertToEscaped}) {
    int asked = 0;
    const CancelCheck cancelOnThird = [&](std::chrono::milliseconds) { return ++asked == 3; };
    std::string text = kEscaped;
    std::string errorText;
    EXPECT_FALSE(convert(text, &errorText, ConverterChoice{true, slow, cancelOnThird}));
    EXPECT_EQ(asked, 3);
    EXPECT_EQ(text, kEscaped);
    EXPECT_EQ(errorText, "変換を中止しました。");
  }
}

// The project's own propdesk-native2ascii as the external command: it converts as the plain codec
// does (the editor's built-in decoding keeps some escapes that the command decodes).
TEST_F(ConversionFrontTest, OwnCommandLineConverterGivesThePlainCodecsBytes) {
  std::string native = test::ReadFileBytes(PROPDESK_EXAMPLE_FILE);
  ASSERT_TRUE(DecodeEscapes(native));
  native += NativeCorpus();

  const struct {
    ConvertFunction convert;
    bool (*codec)(std::string&);
    std::string input;
  } directions[] = {{&ConvertToNative, &DecodeEscapes, EscapedCorpus()}, {&ConvertToEscaped, &EncodeEscapes, native}};
  const std::string program = PROPDESK_NATIVE2ASCII;
  for (const auto& direction : directions) {
    std::string builtIn = direction.input;
    ASSERT_TRUE(direction.codec(builtIn));
    ASSERT_NE(builtIn, direction.input);
    for (const std::string& command : {program, program + " -encoding MS932"}) {
      std::string external = direction.input;
      std::string errorText;
      ASSERT_TRUE(direction.convert(external, &errorText, ConverterChoice{true, command, {}}))
          << command << ": " << errorText;
      EXPECT_TRUE(external == builtIn) << command;
    }
  }
}

TEST(ConversionMessage, CodesFillThePlaceholderAndUnknownStatusesAreUnexpected) {
  const struct {
    int status;
    int systemError;
    std::string message;
  } cases[] = {
      {0, 5, ""},
      {1, 5, "内部パラメタ異常です。"},
      {2, ENOSPC, "テンポラリファイルの入出力エラーです。[code=28]"},
      {3, -1, "外部コマンドの呼び出しに失敗しました。[code=-1]"},
      {4, 0, "終了コードの取得に失敗しました。[code=0]"},
      {6, 5, "メモリ不足です。"},
      {9, 5, "指定されたパスに外部コマンドがありません。"},
      {10, 5, "変換を中止しました。"},
      {11, 5, "予期しないエラーです。"},
      {-1, 5, "予期しないエラーです。"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ConversionMessage(static_cast<ConversionStatus>(c.status), c.systemError), c.message) << c.status;
  }
}

}  // namespace
}  // namespace propdesk
