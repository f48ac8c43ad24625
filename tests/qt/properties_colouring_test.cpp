// The edit view's colouring of .properties lines and its words for the character at the caret,
// through the shown widget.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QHelpEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <QTest>
#include <QToolTip>

#include <string>

#include "qt/edit_view_widget.h"

namespace propdesk {
namespace {

using namespace std::string_literals;

// "キー=値" followed by the kept escape of é.
const std::string kJapaneseLine = "\x83\x4c\x81\x5b=\x92\x6c\\u00e9";

struct Range {
  int start;
  int length;
  QPalette::ColorRole colour;
  bool marked;  // with a background of its own
  bool operator==(const Range&) const = default;
};

class PropertiesColouringTest : public ::testing::Test {
 protected:
  void SetUp() override {
    widget.resize(400, 300);
    widget.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
  }

  // Puts text in as an opened document is: unmodified, nothing to undo.
  void Open(const std::string& text) {
    view.SetText(text);
    view.SetModified(false);
    view.EmptyUndoBuffer();
  }

  // Lets the widget paint until the line has count format ranges.
  void PaintUntil(int line, std::size_t count) {
    widget.viewport()->update();
    const QDeadlineTimer deadline(5000);
    while (RangesOf(line).size() != count && !deadline.hasExpired()) QApplication::processEvents();
  }

  // The formats of a line, as ranges of palette colours.
  std::vector<Range> RangesOf(int line) {
    const QTextBlock block = widget.document()->findBlockByNumber(line);
    std::vector<Range> ranges;
    for (const QTextLayout::FormatRange& range : block.layout()->formats()) {
      QPalette::ColorRole role = QPalette::NoRole;
      for (QPalette::ColorRole candidate : {QPalette::Link, QPalette::LinkVisited, QPalette::PlaceholderText}) {
        if (range.format.foreground().color() == widget.palette().color(candidate)) role = candidate;
      }
      ranges.push_back({range.start, range.length, role, range.format.hasProperty(QTextFormat::BackgroundBrush)});
    }
    return ranges;
  }

  QString CharacterAt(std::size_t byteOffset) {
    view.SetSelection(byteOffset, byteOffset);
    return widget.CaretCharacterText();
  }

  EditViewWidget widget;
  TextView& view = widget.textView();
};

TEST_F(PropertiesColouringTest, ShownLinesAreColouredWithoutTouchingTextPositionsOrUndo) {
  const std::string text = "# note\r\nkey = v\\\r\n  #more\r\n" + kJapaneseLine + "\r\n";
  Open(text);
  view.SetSelection(9, 9);
  const auto link = QPalette::Link, visited = QPalette::LinkVisited, grey = QPalette::PlaceholderText;
  PaintUntil(0, 1);

  EXPECT_EQ(RangesOf(0), (std::vector<Range>{{0, 6, grey, false}}));
  EXPECT_EQ(RangesOf(1), (std::vector<Range>{{0, 3, link, false}, {3, 3, grey, false}, {7, 1, visited, false}}));
  EXPECT_TRUE(RangesOf(2).empty()) << "a '#' in a continued value is no comment";
  // Byte offsets become character indexes: the key's two double-byte characters are two indexes.
  EXPECT_EQ(RangesOf(3), (std::vector<Range>{{0, 2, link, false}, {2, 1, grey, false}, {4, 6, visited, true}}));

  EXPECT_EQ(view.GetText(), text);
  EXPECT_EQ(view.GetSelection().start, 9u);
  EXPECT_FALSE(view.IsModified());
  EXPECT_FALSE(view.CanUndo());

  // An edit recolours its line: the key line becomes a comment, and so does not continue.
  QTextCursor cursor(widget.document()->findBlockByNumber(1));
  cursor.insertText(QStringLiteral("#"));
  PaintUntil(1, 1);
  EXPECT_EQ(RangesOf(1), (std::vector<Range>{{0, 9, grey, false}}));
  view.Undo();
  EXPECT_EQ(view.GetText(), text);
}

TEST_F(PropertiesColouringTest, CaretCharacterNamesTheCharacterOrWhatAKeptEscapeStandsFor) {
  Open(kJapaneseLine + "\r\nk\\u003d=\\ud83d\\ude00 \\\\u00e9");
  EXPECT_EQ(CharacterAt(0), QStringLiteral("U+30AD \\u30ad"));
  EXPECT_EQ(CharacterAt(4), QStringLiteral("U+003D \\u003d"));
  EXPECT_EQ(CharacterAt(9), QStringLiteral("U+00E9 é — コードページ 932 にない文字"));
  EXPECT_EQ(CharacterAt(13), QString());
  EXPECT_EQ(CharacterAt(18), QStringLiteral("U+003D = — ファイルの意味を保つためエスケープのまま"));
  EXPECT_EQ(CharacterAt(31), QStringLiteral("U+1F600 😀 — コードページ 932 にない文字"));
  EXPECT_EQ(CharacterAt(38), QStringLiteral("U+0075 \\u0075")) << "an escaped backslash, then text";

  QTextCursor inEscape(widget.document());
  inEscape.setPosition(5);
  const QPoint point = widget.cursorRect(inEscape).center() + QPoint(2, 0);
  QHelpEvent hover(QEvent::ToolTip, point, widget.viewport()->mapToGlobal(point));
  QApplication::sendEvent(widget.viewport(), &hover);
  EXPECT_EQ(QToolTip::text(), QStringLiteral("U+00E9 é — コードページ 932 にない文字"));
}

}  // namespace
}  // namespace propdesk
