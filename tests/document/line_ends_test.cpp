#include "document/line_ends.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace propdesk {
namespace {

using namespace std::string_literals;

TEST(LineEnds, ExpandTurnsBareLineFeedsIntoCrLfAndTellsTheFirstBreaksStyle) {
  struct Case {
    std::string text, expanded;
    bool lfStyle;
  };
  const Case cases[] = {
      {"", "", false},
      {"abc", "abc", false},
      {"\n", "\r\n", true},
      {"a\nb\r\nc\n", "a\r\nb\r\nc\r\n", true},
      {"a\r\nb\nc", "a\r\nb\r\nc", false},
      {"a\r\n", "a\r\n", false},
      {"\r", "\r", false},
      {"a\rb\r", "a\rb\r", false},
      {"\r\r\n\n", "\r\r\n\r\n", false},
      {"\n\r\n", "\r\n\r\n", true},
      {"\r\n\n\n", "\r\n\r\n\r\n", false},
      {"a\0\nb\0"s, "a\0\r\nb\0"s, true},
      {"\n\n", "\r\n\r\n", true},
      {"\n\r\r\n\n\rkey=value\nlonger than a short string's room\n",
       "\r\n\r\r\n\r\n\rkey=value\r\nlonger than a short string's room\r\n", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.text));
    std::string text = c.text;
    bool lfStyle = !c.lfStyle;
    ASSERT_TRUE(ExpandLineEnds(text, lfStyle));
    EXPECT_EQ(text, c.expanded);
    EXPECT_EQ(lfStyle, c.lfStyle);
  }
}

// Every text of up to seven characters made of 'a', CR and LF.
std::vector<std::string> ShortTexts() {
  constexpr char kAlphabet[] = {'a', '\r', '\n'};
  std::vector<std::string> texts{""};
  for (std::size_t begin = 0; texts.back().size() < 7;) {
    const std::size_t end = texts.size();
    for (std::size_t i = begin; i < end; ++i) {
      for (char c : kAlphabet) texts.push_back(texts[i] + c);
    }
    begin = end;
  }
  return texts;
}

// Checked against plain forward loops, one character at a time.
TEST(LineEnds, ExpandAndCollapseAgreeWithACharacterWalkOnEveryShortText) {
  for (const std::string& text : ShortTexts()) {
    std::string expected;
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) expected += '\r';
      expected += text[i];
    }
    std::string expanded = text;
    bool lfStyle = false;
    ASSERT_TRUE(ExpandLineEnds(expanded, lfStyle));
    EXPECT_EQ(expanded, expected) << ::testing::PrintToString(text);

    expected.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] != '\r' || i + 1 == text.size() || text[i + 1] != '\n') expected += text[i];
    }
    std::string collapsed = text;
    CollapseLineEnds(collapsed);
    EXPECT_EQ(collapsed, expected) << ::testing::PrintToString(text);
  }
}

TEST(LineEnds, ExpandUsesTheRoomTheTextHasWithoutMovingIt) {
  std::string text = "key=value\n";
  text.reserve(64);
  const char* const buffer = text.data();
  bool lfStyle = false;
  ASSERT_TRUE(ExpandLineEnds(text, lfStyle));
  EXPECT_EQ(text, "key=value\r\n");
  EXPECT_EQ(text.data(), buffer);
}

TEST(LineEnds, CollapseTurnsCrLfIntoLfAndKeepsLoneBreaks) {
  struct Case {
    std::string text, collapsed;
  };
  const Case cases[] = {
      {"", ""},
      {"a\r\nb\r\n", "a\nb\n"},
      {"\r\r\n", "\r\n"},
      {"\r\n\r\n", "\n\n"},
      {"a\rb\nc\r", "a\rb\nc\r"},
      {"\0\r\n\0"s, "\0\n\0"s},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.text));
    std::string text = c.text;
    CollapseLineEnds(text);
    EXPECT_EQ(text, c.collapsed);
  }
}

}  // namespace
}  // namespace propdesk
