// The check of native text against its encoding, whole and fed one byte at a time.
#include "convert/native_check.h"

#include <gtest/gtest.h>

#include <string>

#include "convert/utf8_escape_codec.h"

namespace propdesk {
namespace {

struct Expected {
  std::uint64_t count;
  std::uint64_t first;
  bool looksLikeUtf8;
};

// Runs the check on the whole text and on the text fed a byte at a time, which must agree.
void ExpectCheck(NativeEncoding encoding, const std::string& text, Expected expected) {
  NativeTextCheck whole(encoding);
  whole.Feed(text);
  whole.Finish();
  NativeTextCheck bytewise(encoding);
  for (const char c : text) bytewise.Feed(std::string_view(&c, 1));
  bytewise.Finish();
  for (const NativeTextCheck* check : {&whole, &bytewise}) {
    EXPECT_EQ(check->invalidCount(), expected.count) << text;
    EXPECT_EQ(check->firstInvalidOffset(), expected.first) << text;
    EXPECT_EQ(check->LooksLikeUtf8(), expected.looksLikeUtf8) << text;
  }
}

TEST(NativeTextCheckTest, FindsUndefinedPairsAndLoneLeadBytesOfCodePage932) {
  // 93 FA 96 7B: two kanji; 81 45: the one defined pair that reads as U+30FB; 95 5C: a pair with a
  // backslash byte; B1: half-width katakana; 80, A0, FD: single bytes the code page maps.
  ExpectCheck(NativeEncoding::kCp932, "key=\x93\xFA\x96\x7B\x81\x45\x95\\\xB1\x80\xA0\xFD \\u65e5\n", {0, 0, false});
  // 85 40 undefined, 81 before a line feed and 81 at the very end alone.
  ExpectCheck(NativeEncoding::kCp932, "ab\x85\x40 \x93\xFA\x81\n\x81", {3, 2, false});
  // UTF-8 read as code page 932: here all of it pairs up into defined characters.
  ExpectCheck(NativeEncoding::kCp932, "k=\xE6\x97\xA5\xE6\x9C\xAC\n", {0, 0, true});
  // A byte-order mark counts only at the start.
  ExpectCheck(NativeEncoding::kCp932, "\xEF\xBB\xBF" "k=\x93\xFA\n", {1, 0, true});
  ExpectCheck(NativeEncoding::kCp932, "k=\x93\xFA\xEF\xBB\xBF\n", {1, 4, false});
}

TEST(NativeTextCheckTest, CountsInvalidUtf8BytesAsTheEncoderReplacesThem) {
  for (const std::string text : {"ok \xE6\x97\xA5 \xF0\x9F\x98\x80", "a\xFF\xE3\x81z\n", "\xE0\x80\xAF",
                                 "x\xED\xA0\x80", "\xF4\x90\x80\x80", "\xF5\xC2\xA9", "\xF0\x9F\x98"}) {
    Utf8EscapeEncoder encoder;
    std::string encoded = text;
    ASSERT_TRUE(ConvertWholeText(encoder, encoded));
    const std::uint64_t replaced = encoder.ReplacedCount();
    const auto first = replaced == 0 ? 0 : static_cast<std::uint64_t>(text.find_first_not_of("ax"));
    ExpectCheck(NativeEncoding::kUtf8, text, {replaced, first, false});
  }
}

}  // namespace
}  // namespace propdesk
