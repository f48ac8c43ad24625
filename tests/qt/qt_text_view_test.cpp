// The core's byte view of the Qt edit view: offsets, line and column, whole-text edits and undo.
#include "qt/qt_text_view.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTextBlock>

#include <random>
#include <string>
#include <vector>

#include "convert/cp932.h"
#include "qt/edit_view_widget.h"

namespace propdesk {
namespace {

using namespace std::string_literals;

class QtTextViewTest : public ::testing::Test {
 protected:
  std::string Selected() {
    const ByteRange range = view.GetSelection();
    return view.GetText().substr(range.start, range.end - range.start);
  }

  EditViewWidget widget;
  TextView& view = widget.textView();
};

// "line:column" as the status bar shows it, 1-based.
std::string Position(const TextView& view) {
  const LineColumn at = view.GetSelectionStartLineColumn();
  return std::to_string(at.line + 1) + ":" + std::to_string(at.column + 1);
}

TEST_F(QtTextViewTest, OffsetsCountDoubleByteCharactersAndLineBreaksAsTwo) {
  const std::string text = "\x82\xA0\x82\xA2z\r\nabc\r\n\x95\x5C\\";  // あいz / abc / 表\ .
  view.SetText(text);
  struct Case {
    std::size_t start, end;
    std::string selected, position;
  };
  const std::vector<Case> cases = {
      {0, 0, "", "1:1"},
      {4, 4, "", "1:5"},
      {2, 4, "\x82\xA2", "1:3"},
      {10, 10, "", "2:4"},
      {7, 10, "abc", "2:1"},
      {3, 5, "\x82\xA2z", "1:3"},         // inside a character: back to its start
      {5, 7, "\r\n", "1:6"},
      {6, 6, "", "1:6"},                 // between CR and LF: the end of the line
      {5, 6, "", "1:6"},
      {12, 15, "\x95\x5C\\", "3:1"},
      {14, 99, "\\", "3:3"},             // past the end: the end
      {99, 100, "", "3:4"},
  };
  for (const Case& c : cases) {
    view.SetSelection(c.start, c.end);
    EXPECT_EQ(Selected(), c.selected) << c.start << '-' << c.end;
    EXPECT_EQ(Position(view), c.position) << c.start << '-' << c.end;
  }
  EXPECT_EQ(view.GetText(), text);
}

TEST_F(QtTextViewTest, SelectionStartGivesThePositionWhicheverEndHasTheCaret) {
  view.SetText("one\r\ntwo\r\nthree");
  QTextCursor cursor = widget.textCursor();
  cursor.setPosition(13);                          // end of line 3 ...
  cursor.setPosition(5, QTextCursor::KeepAnchor);  // ... back up to column 2 of line 2
  widget.setTextCursor(cursor);
  EXPECT_EQ(Position(view), "2:2");
  EXPECT_EQ(view.GetSelection().start, 6u);
  EXPECT_EQ(view.GetSelection().end, 15u);
}

TEST_F(QtTextViewTest, ReplaceAllTextSignalsTheModifiedFlagOnceAndPutsTheCaretAtTheStart) {
  view.SetText("a.a\r\na");
  view.SetModified(false);
  view.EmptyUndoBuffer();
  view.SetSelection(3, 3);
  QSignalSpy modified(&widget, &QPlainTextEdit::modificationChanged);

  view.ReplaceAllText("bb.bb\r\nbb");
  EXPECT_EQ(view.GetText(), "bb.bb\r\nbb");
  EXPECT_EQ(view.GetSelection().start, 0u);
  EXPECT_EQ(view.GetSelection().end, 0u);
  EXPECT_TRUE(view.IsModified());
  ASSERT_EQ(modified.count(), 1);
  EXPECT_EQ(modified.at(0).at(0).toBool(), true);

  ASSERT_TRUE(view.CanUndo());
  view.Undo();
  EXPECT_EQ(view.GetText(), "a.a\r\na");
  EXPECT_FALSE(view.CanUndo());
}

TEST_F(QtTextViewTest, ReplaceAllTextOfAnEmptyTextWithNothingStillModifies) {
  view.SetText("");
  view.SetModified(false);
  view.ReplaceAllText("");
  EXPECT_TRUE(view.IsModified());
}

TEST_F(QtTextViewTest, SetTextPutsTheCaretAtTheStartAndLeavesTheModifiedFlagAsItWas) {
  for (const bool modified : {false, true}) {
    view.SetText("old");
    view.SetModified(modified);
    view.SetSelection(2, 3);
    view.SetText("new\r\ntext");
    EXPECT_EQ(view.GetText(), "new\r\ntext");
    EXPECT_EQ(view.GetSelection().end, 0u);
    EXPECT_EQ(view.IsModified(), modified);
  }
}

TEST_F(QtTextViewTest, EmptyingTheUndoBufferKeepsTheModifiedFlag) {
  view.SetText("x");
  view.SetModified(false);
  view.ReplaceSelection("y");
  view.EmptyUndoBuffer();
  EXPECT_FALSE(view.CanUndo());
  EXPECT_TRUE(view.IsModified());
  view.SetModified(false);
  EXPECT_FALSE(view.IsModified());
}

// Read-only is the widget's mode, greyed so that nobody types into it unawares.
TEST_F(QtTextViewTest, ReadOnlyIsTheWidgetsGreyedReadOnlyMode) {
  for (const bool readOnly : {true, true, false}) {
    view.SetReadOnly(readOnly);
    EXPECT_EQ(view.IsReadOnly(), readOnly);
    EXPECT_EQ(widget.isReadOnly(), readOnly);
    EXPECT_EQ(widget.viewport()->backgroundRole(), readOnly ? QPalette::Window : QPalette::Base);
  }
}

// Bytes of a random edit: ASCII, double-byte characters, line breaks, lone CRs and NULs.
std::string RandomNative(std::mt19937& random) {
  static const std::vector<std::string> pieces = {"a", "Z", "\x82\xA0", "\x95\x5C", "\r\n", "\r", "\0"s, "\xB1"};
  std::string text;
  const int count = std::uniform_int_distribution<int>(0, 6)(random);
  for (int i = 0; i < count; ++i) text += pieces[std::uniform_int_distribution<std::size_t>(0, pieces.size() - 1)(random)];
  return text;
}

// The byte offsets at which a character starts, and the line and column there, from the text.
struct Boundary {
  std::size_t offset;
  LineColumn position;
};
std::vector<Boundary> Boundaries(const std::string& text) {
  std::vector<Boundary> boundaries;
  LineColumn at;
  for (std::size_t i = 0; i <= text.size();) {
    boundaries.push_back({i, at});
    if (i == text.size()) break;
    const auto b = static_cast<std::uint8_t>(text[i]);
    std::size_t width = 1;
    if (text.compare(i, 2, "\r\n") == 0) {
      width = 2;
    } else if (cp932::IsLeadByte(b) && i + 1 < text.size() && cp932::IsTrailByte(static_cast<std::uint8_t>(text[i + 1]))) {
      width = 2;
    }
    if (width == 2 && text[i] == '\r') {
      ++at.line;
      at.column = 0;
    } else {
      at.column += width;
    }
    i += width;
  }
  return boundaries;
}

TEST_F(QtTextViewTest, OffsetsStayRightThroughEditsAndUndo) {
  // The byte length of each line is remembered between walks; every kind of edit must make the
  // view forget the lengths of the lines it touched.
  std::mt19937 random(4);
  view.SetText("first\r\n\x82\xA0\x82\xA2\r\nthird");
  for (int step = 0; step < 300; ++step) {
    const std::size_t size = view.GetText().size();
    const auto at = [&] { return std::uniform_int_distribution<std::size_t>(0, size)(random); };
    switch (std::uniform_int_distribution<int>(0, 4)(random)) {
      case 0:
        if (view.CanUndo()) view.Undo();
        break;
      case 1:
        view.ReplaceAllText(view.GetText() + RandomNative(random));
        break;
      default:
        view.SetSelection(at(), at());
        view.ReplaceSelection(RandomNative(random));
        break;
    }
    const std::string text = view.GetText();
    const std::vector<Boundary> boundaries = Boundaries(text);
    for (int probe = 0; probe < 5; ++probe) {
      const Boundary& b = boundaries[std::uniform_int_distribution<std::size_t>(0, boundaries.size() - 1)(random)];
      view.SetSelection(b.offset, text.size());
      ASSERT_EQ(view.GetSelection().start, b.offset) << "step " << step;
      ASSERT_EQ(view.GetSelection().end, text.size()) << "step " << step;
      const LineColumn position = view.GetSelectionStartLineColumn();
      ASSERT_EQ(position.line, b.position.line) << "step " << step;
      ASSERT_EQ(position.column, b.position.column) << "step " << step;
    }
  }
}

}  // namespace
}  // namespace propdesk
