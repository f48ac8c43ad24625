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
#include "qt/readable_colour.h"

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
    // The palette's colours, as made readable on the view's background.
    const PropertiesColouring::Formats formats(widget.palette(), Background());
    const std::pair<const QTextCharFormat&, QPalette::ColorRole> roles[] = {
        {formats.key, QPalette::Link}, {formats.comment, QPalette::PlaceholderText},
        {formats.escape, QPalette::LinkVisited}, {formats.keptEscape, QPalette::LinkVisited}};
    for (const QTextLayout::FormatRange& range : block.layout()->formats()) {
      QPalette::ColorRole role = QPalette::NoRole;
      for (const auto& [format, candidate] : roles) {
        if (range.format.foreground() == format.foreground()) role = candidate;
      }
      ranges.push_back({range.start, range.length, role, range.format.hasProperty(QTextFormat::BackgroundBrush)});
    }
    return ranges;
  }

  QColor Background() const { return widget.viewport()->palette().color(widget.viewport()->backgroundRole()); }

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

TEST_F(PropertiesColouringTest, ColoursStayReadableOnADarkPaletteEditableOrNot) {
  // A dark palette whose link and placeholder colours stand out too little from its background.
  QPalette dark = widget.palette();
  dark.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x1e));
  dark.setColor(QPalette::Window, QColor(0x3c, 0x3c, 0x3c));
  dark.setColor(QPalette::Text, QColor(0xdd, 0xdd, 0xdd));
  dark.setColor(QPalette::Link, QColor(0x1a, 0x3d, 0x8a));
  dark.setColor(QPalette::LinkVisited, QColor(0x55, 0x1a, 0x8b));
  dark.setColor(QPalette::PlaceholderText, QColor(0x5a, 0x5a, 0x5a));
  dark.setColor(QPalette::Highlight, QColor(0x26, 0x4f, 0x78));
  widget.setPalette(dark);
  Open("# note\r\n" + kJapaneseLine + "\\n\\u00\r\n");
  for (const bool readOnly : {false, true}) {
    widget.setReadOnly(readOnly);
    const QColor background = readOnly ? dark.color(QPalette::Window) : dark.color(QPalette::Base);
    PaintUntil(1, 5);
    const QImage shown = widget.viewport()->grab().toImage();
    EXPECT_EQ(shown.pixelColor(shown.width() - 4, shown.height() - 4), background) << readOnly;
    for (int line : {0, 1}) {
      const QList<QTextLayout::FormatRange> formats = widget.document()->findBlockByNumber(line).layout()->formats();
      ASSERT_FALSE(formats.empty());
      for (const QTextLayout::FormatRange& range : formats) {
        const QColor under = range.format.hasProperty(QTextFormat::BackgroundBrush) ? range.format.background().color()
                                                                                    : background;
        EXPECT_GE(ContrastRatio(range.format.foreground().color(), under), kMinimumTextContrast)
            << "line " << line << " at " << range.start << (readOnly ? ", read-only" : "");
      }
    }
  }
}

TEST_F(PropertiesColouringTest, CaretCharacterNamesTheCharacterOrWhatAKeptEscapeStandsFor) {
  Open(kJapaneseLine + "\r\nk\\u003d=\\ud83d\\ude00 \\\\u00e9\r\nc=\\u000a\t");
  EXPECT_EQ(CharacterAt(0), QStringLiteral("U+30AD \\u30ad"));
  EXPECT_EQ(CharacterAt(4), QStringLiteral("U+003D \\u003d"));
  EXPECT_EQ(CharacterAt(9), QStringLiteral("U+00E9 é — コードページ 932 にない文字"));
  EXPECT_EQ(CharacterAt(13), QString());
  EXPECT_EQ(CharacterAt(18), QStringLiteral("U+003D = — ファイルの意味を保つためエスケープのまま"));
  EXPECT_EQ(CharacterAt(31), QStringLiteral("U+1F600 😀 — コードページ 932 にない文字"));
  EXPECT_EQ(CharacterAt(38), QStringLiteral("U+0075 \\u0075")) << "an escaped backslash, then text";
  // Control characters by their abbreviations: fonts have no glyph for them.
  EXPECT_EQ(CharacterAt(47), QStringLiteral("U+000A LF — ファイルの意味を保つためエスケープのまま"));
  EXPECT_EQ(CharacterAt(53), QStringLiteral("U+0009 TAB \\u0009"));

  QTextCursor inEscape(widget.document());
  inEscape.setPosition(5);
  const QPoint point = widget.cursorRect(inEscape).center() + QPoint(2, 0);
  QHelpEvent hover(QEvent::ToolTip, point, widget.viewport()->mapToGlobal(point));
  QApplication::sendEvent(widget.viewport(), &hover);
  EXPECT_EQ(QToolTip::text(), QStringLiteral("U+00E9 é — コードページ 932 にない文字"));
}

}  // namespace
}  // namespace propdesk
