#include "convert/native_text.h"

#include <gtest/gtest.h>

namespace propdesk {
namespace {

TEST(NativeToUtf8, ConvertsCharactersAsTheCodePageReadsThem) {
  const struct {
    std::string native;
    std::string utf8;
  } cases[] = {
      {"", ""},
      {"key=A", "key=A"},
      {"\x93\xfa\x96\x7b", "日本"},
      {"\xb1", "ｱ"},                   // half-width katakana
      {"\x95\x5c", "表"},              // trail byte 0x5C is not a backslash
      {"\x82\r\n", "\xe3\x83\xbb\r\n"},  // a lead byte before CR LF stands alone and keeps the line break
      {"\x82", "\xe3\x83\xbb"},          // a lead byte at the end
  };
  for (const auto& c : cases) EXPECT_EQ(NativeToUtf8(c.native), c.utf8) << c.utf8;
}

}  // namespace
}  // namespace propdesk
