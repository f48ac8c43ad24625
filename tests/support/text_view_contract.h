#pragma once
// The behaviour every TextView must show, run against the test double and the toolkit's view
// alike so that the double cannot drift from the real view. To run it against a view, give a
// factory with `static std::unique_ptr<propdesk::TextView> Create();` (and
// `static constexpr bool kUndoKeepsModified = true;` for a view whose modified flag, like the
// Windows edit control's, stays set when undo returns to the clean text) and write, in one test file:
//   INSTANTIATE_TYPED_TEST_SUITE_P(MyView, TextViewContract, ::testing::Types<MyViewFactory>);
// Texts are code page 932 bytes: "\x82\xa0" is one double-byte character, "\x83\x5c" one whose
// second byte is a backslash.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>

#include "document/text_view.h"

namespace propdesk {

inline bool operator==(const ByteRange& a, const ByteRange& b) { return a.start == b.start && a.end == b.end; }
inline void PrintTo(const ByteRange& range, std::ostream* out) { *out << "[" << range.start << ", " << range.end << ")"; }

namespace test {

using namespace std::string_literals;

template <class Factory>
class TextViewContract : public ::testing::Test {
 protected:
  // Puts text into the view as the document does after opening a file: clean, nothing to undo.
  void Load(std::string_view text) {
    view->SetText(text);
    view->SetModified(false);
    view->EmptyUndoBuffer();
  }
  void Replace(std::size_t start, std::size_t end, std::string_view text) {
    view->SetSelection(start, end);
    view->ReplaceSelection(text);
  }
  void ExpectLineColumn(std::size_t line, std::size_t column) {
    const LineColumn position = view->GetSelectionStartLineColumn();
    EXPECT_EQ(position.line, line);
    EXPECT_EQ(position.column, column);
  }

  // Whether undo back to the clean text clears the modified flag.
  static constexpr bool UndoToCleanTextClearsModified() {
    if constexpr (requires { Factory::kUndoKeepsModified; }) return !Factory::kUndoKeepsModified;
    return true;
  }

  std::unique_ptr<TextView> view = Factory::Create();
};

TYPED_TEST_SUITE_P(TextViewContract);

TYPED_TEST_P(TextViewContract, KeepsEveryByteAndPutsTheCaretAtTheStart) {
  const std::string texts[] = {
      ""s,        "abc"s,       "\x82\xa0\x82\xa2\x82\xa4"s, "\x83\x5c\x95\x5c\\"s, "a\r\nb\r\n"s,
      "a\rb\r\rc"s, "a\r\r\nb"s,   "x\r"s,                      "a\0b"s,               "\0"s,
      "\r\n\r\n"s};
  for (const std::string& text : texts) {
    SCOPED_TRACE(::testing::PrintToString(text));
    this->view->SetSelection(1, 2);
    this->Load(text);
    EXPECT_EQ(this->view->GetText(), text);
    EXPECT_EQ(this->view->IsEmpty(), text.empty());
    EXPECT_EQ(this->view->GetSelection(), (ByteRange{0, 0}));
  }
}

TYPED_TEST_P(TextViewContract, SelectsAndReplacesByByteOffsets) {
  // Bytes: two double-byte characters 0-3, CR LF 4-5, a double-byte character 6-7, x at 8.
  this->Load("\x82\xa0\x82\xa2\r\n\x82\xa4x");
  this->view->SetSelection(2, 4);
  EXPECT_EQ(this->view->GetSelection(), (ByteRange{2, 4}));
  this->view->ReplaceSelection("\x83\x5c");
  EXPECT_EQ(this->view->GetText(), "\x82\xa0\x83\x5c\r\n\x82\xa4x");
  EXPECT_EQ(this->view->GetSelection(), (ByteRange{4, 4}));
  this->Replace(6, 8, "");
  EXPECT_EQ(this->view->GetText(), "\x82\xa0\x83\x5c\r\nx");
  EXPECT_EQ(this->view->GetSelection(), (ByteRange{6, 6}));
  this->Replace(0, 0, "ab\r\n");
  EXPECT_EQ(this->view->GetText(), "ab\r\n\x82\xa0\x83\x5c\r\nx");
  EXPECT_EQ(this->view->GetSelection(), (ByteRange{4, 4}));
}

TYPED_TEST_P(TextViewContract, ClampsOffsetsPastTheEnd) {
  this->Load("\x82\xa0\x82\xa2x");
  this->view->SetSelection(2, 100);
  EXPECT_EQ(this->view->GetSelection(), (ByteRange{2, 5}));
  this->view->SetSelection(100, 200);
  EXPECT_EQ(this->view->GetSelection(), (ByteRange{5, 5}));
  this->view->ReplaceSelection("y");
  EXPECT_EQ(this->view->GetText(), "\x82\xa0\x82\xa2xy");
}

TYPED_TEST_P(TextViewContract, ReplacingKeepsLoneCarriageReturnsAndNuls) {
  // Bytes: a, lone CR, b, NUL, c.
  this->Load("a\rb\0c"s);
  this->Replace(2, 3, "x\r\ny\r");
  EXPECT_EQ(this->view->GetText(), "a\rx\r\ny\r\0c"s);
  EXPECT_EQ(this->view->GetSelection(), (ByteRange{7, 7}));
  this->Replace(8, 9, "\0"s);
  EXPECT_EQ(this->view->GetText(), "a\rx\r\ny\r\0\0"s);
  EXPECT_EQ(this->view->GetSelection(), (ByteRange{9, 9}));
}

TYPED_TEST_P(TextViewContract, UndoTakesBackOneEdit) {
  this->Load("\x82\xa0\x82\xa2\x82\xa4");
  EXPECT_FALSE(this->view->CanUndo());
  this->Replace(2, 4, "xyz");
  EXPECT_TRUE(this->view->CanUndo());
  this->view->Undo();
  EXPECT_EQ(this->view->GetText(), "\x82\xa0\x82\xa2\x82\xa4");

  this->Replace(0, 2, "\r\n");
  this->view->EmptyUndoBuffer();
  EXPECT_FALSE(this->view->CanUndo());
  this->view->Undo();
  EXPECT_EQ(this->view->GetText(), "\r\n\x82\xa2\x82\xa4");
}

TYPED_TEST_P(TextViewContract, EditsSetTheModifiedFlagAndUndoToTheCleanTextClearsIt) {
  this->Load("abc");
  EXPECT_FALSE(this->view->IsModified());
  this->Replace(1, 2, "\x82\xa0");
  EXPECT_TRUE(this->view->IsModified());
  this->view->Undo();
  EXPECT_EQ(this->view->IsModified(), !this->UndoToCleanTextClearsModified());

  this->Replace(3, 3, "d");
  this->view->SetModified(false);
  EXPECT_FALSE(this->view->IsModified());
  this->view->Undo();
  EXPECT_EQ(this->view->GetText(), "abc");
  EXPECT_TRUE(this->view->IsModified());

  this->view->SetModified(false);
  this->view->SetModified(true);
  EXPECT_TRUE(this->view->IsModified());
}

TYPED_TEST_P(TextViewContract, ReplaceAllTextIsOneUndoableEditThatLeavesTheViewModified) {
  this->Load("a\r\nb");
  this->view->ReplaceAllText("\x82\xa0\r\n\0\r"s);
  EXPECT_EQ(this->view->GetText(), "\x82\xa0\r\n\0\r"s);
  EXPECT_TRUE(this->view->IsModified());
  ASSERT_TRUE(this->view->CanUndo());
  this->view->Undo();
  EXPECT_EQ(this->view->GetText(), "a\r\nb");
  EXPECT_EQ(this->view->IsModified(), !this->UndoToCleanTextClearsModified());
}

TYPED_TEST_P(TextViewContract, LineAndByteColumnOfTheSelectionStart) {
  struct Case {
    std::string text;
    std::size_t start, end, line, column;
  };
  const Case cases[] = {
      {"", 0, 0, 0, 0},
      {"abc\r\ndef", 8, 8, 1, 3},                // after three characters on the second line
      {"\x82\xa0\x82\xa2\r\nx", 4, 4, 0, 4},    // after two double-byte characters
      {"ab\r\ncd\r\nef", 5, 10, 1, 1},           // a selection reports its start
      {"a\rb", 3, 3, 0, 3},                      // a lone CR is no line break
      {"a\0b\r\nc"s, 6, 6, 1, 1},
      {"\r\n\r\n\r\n", 6, 6, 3, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.text) + " at " + std::to_string(c.start));
    this->Load(c.text);
    this->view->SetSelection(c.start, c.end);
    this->ExpectLineColumn(c.line, c.column);
  }
}

TYPED_TEST_P(TextViewContract, ReadOnlyRefusesNothingThroughTheInterface) {
  this->Load("abc");
  this->view->SetReadOnly(true);
  EXPECT_TRUE(this->view->IsReadOnly());
  this->Replace(0, 1, "x");
  EXPECT_EQ(this->view->GetText(), "xbc");
  this->view->ReplaceAllText("y");
  EXPECT_EQ(this->view->GetText(), "y");
  this->view->Undo();
  EXPECT_EQ(this->view->GetText(), "xbc");
  this->view->SetReadOnly(false);
  EXPECT_FALSE(this->view->IsReadOnly());
}

REGISTER_TYPED_TEST_SUITE_P(TextViewContract, KeepsEveryByteAndPutsTheCaretAtTheStart,
                            SelectsAndReplacesByByteOffsets, ClampsOffsetsPastTheEnd,
                            ReplacingKeepsLoneCarriageReturnsAndNuls, UndoTakesBackOneEdit,
                            EditsSetTheModifiedFlagAndUndoToTheCleanTextClearsIt,
                            ReplaceAllTextIsOneUndoableEditThatLeavesTheViewModified,
                            LineAndByteColumnOfTheSelectionStart, ReadOnlyRefusesNothingThroughTheInterface);

}  // namespace test
}  // namespace propdesk
