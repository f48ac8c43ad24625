#include "common/string_table.h"

#include <gtest/gtest.h>

namespace propdesk {
namespace {

TEST(StringTable, LoadsKnownTextsAndRejectsUnknownIds) {
  std::string text = "stale";
  EXPECT_TRUE(LoadText(IDS_READ_FAILED, text));
  EXPECT_EQ(text, "ファイルの読み込みに失敗しました。");
  EXPECT_FALSE(LoadText(4242, text));
  EXPECT_TRUE(text.empty());
  EXPECT_EQ(GetAppTitle(), "Propdesk");
}

TEST(StringTable, CutsToCapacityOnCharacterBoundary) {
  std::string text;
  // "(無題)": '(' then a three-byte character; four bytes of room leave only '('.
  EXPECT_TRUE(LoadText(IDS_UNTITLED, text, 4));
  EXPECT_EQ(text, "(");
  EXPECT_TRUE(LoadText(IDS_UNTITLED, text, 5));
  EXPECT_EQ(text, "(無");
  EXPECT_FALSE(LoadText(IDS_UNTITLED, text, 1));
  EXPECT_TRUE(text.empty());
}

}  // namespace
}  // namespace propdesk
