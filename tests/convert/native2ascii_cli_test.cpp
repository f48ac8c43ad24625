// The project's own propdesk-native2ascii as the external command: the editor gets exactly the
// bytes of its built-in codec in both directions.
#include <gtest/gtest.h>

#include <cstdio>

#include "command_sandbox.h"
#include "convert/conversion_front.h"
#include "settings/settings.h"

namespace propdesk {
namespace {

using ConvertFunction = bool (*)(std::string&, std::string*);

// The example file, every UTF-16 code unit as an escape with lower and upper case digits, both
// line-end styles and broken escapes.
std::string EscapedCorpus() {
  std::string text = test::ReadFileBytes(PROPDESK_EXAMPLE_FILE);
  for (unsigned unit = 0; unit < 0x10000; ++unit) {
    char escape[8];
    std::snprintf(escape, sizeof escape, unit % 2 == 0 ? "\\u%04x" : "\\u%04X", unit);
    text += escape;
    if (unit % 32 == 31) text += unit % 64 == 31 ? "\r\n" : "\n";
  }
  return text + "broken=\\u12 \\uXYZW \\\\u3042 tail\\u30";
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

class Native2AsciiCliTest : public ::testing::Test {
 protected:
  Native2AsciiCliTest() : saved_(GetSettings()) {}

  void TearDown() override {
    GetSettings() = saved_;
    EXPECT_TRUE(sandbox_.TempLeftovers().empty());
  }

  Settings saved_;
  test::CommandSandbox sandbox_;
};

TEST_F(Native2AsciiCliTest, GivesTheBuiltInCodecsBytesInBothDirections) {
  std::string native = test::ReadFileBytes(PROPDESK_EXAMPLE_FILE);
  GetSettings().UseNative2Ascii = false;
  ASSERT_TRUE(ConvertToNative(native, nullptr));
  native += NativeCorpus();

  const struct {
    ConvertFunction convert;
    std::string input;
  } directions[] = {{&ConvertToNative, EscapedCorpus()}, {&ConvertToEscaped, native}};
  const std::string program = PROPDESK_NATIVE2ASCII;
  for (const auto& direction : directions) {
    std::string builtIn = direction.input;
    GetSettings().UseNative2Ascii = false;
    ASSERT_TRUE(direction.convert(builtIn, nullptr));
    ASSERT_NE(builtIn, direction.input);
    GetSettings().UseNative2Ascii = true;
    for (const std::string& command : {program, program + " -encoding MS932"}) {
      GetSettings().Native2AsciiPath = command;
      std::string external = direction.input;
      std::string errorText;
      ASSERT_TRUE(direction.convert(external, &errorText)) << command << ": " << errorText;
      EXPECT_TRUE(external == builtIn) << command;
    }
  }
}

}  // namespace
}  // namespace propdesk
