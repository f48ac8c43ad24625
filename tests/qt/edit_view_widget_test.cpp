// The edit view widget as a person uses it: typing, input method, clipboard, read-only mode, the
// caret position refresh, ESC and dropped files.
#include "qt/edit_view_widget.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>

#include <string>
#include <vector>

namespace propdesk {
namespace {

using namespace std::string_literals;
using namespace Qt::StringLiterals;

class EditViewWidgetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    widget.resize(400, 300);
    widget.show();
    widget.setFocus();
  }

  // A key press carrying text, as a keyboard layout that produces the character sends it.
  void TypeCharacter(const QString& text) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
    QApplication::sendEvent(&widget, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, text);
    QApplication::sendEvent(&widget, &release);
  }

  EditViewWidget widget;
  TextView& view = widget.textView();
};

TEST_F(EditViewWidgetTest, TypedCharactersWithoutANativeFormEnterAsEscapes) {
  const std::vector<std::pair<std::u16string, std::string>> cases = {
      {u"a", "a"},
      {u"あ", "\x82\xA0"},
      {u"表", "\x95\x5C"},
      {u"é", "\\u00e9"},
      {u"😀", "\\ud83d\\ude00"},
  };
  for (const auto& [typed, saved] : cases) {
    view.SetText("");
    TypeCharacter(QString::fromStdU16String(typed));
    EXPECT_EQ(view.GetText(), saved);
  }
}

TEST_F(EditViewWidgetTest, TheTextFollowsEveryEditAfterItWasRead) {
  view.SetText("ab");
  EXPECT_EQ(view.GetText(), "ab");
  QTest::keyClick(&widget, Qt::Key_End);
  QTest::keyClicks(&widget, "c");
  EXPECT_EQ(view.GetText(), "abc");
  widget.undo();
  EXPECT_EQ(view.GetText(), "ab");
  QTest::keyClick(&widget, Qt::Key_Return);
  EXPECT_EQ(view.GetText(), "ab\r\n");
  // The text handed out may itself become the new text.
  view.SetText(view.GetText());
  EXPECT_EQ(view.GetText(), "ab\r\n");
  view.ReplaceAllText(std::string_view(view.GetText()).substr(1));
  EXPECT_EQ(view.GetText(), "b\r\n");
}

TEST_F(EditViewWidgetTest, InputMethodTextWithoutANativeFormEntersAsEscapes) {
  QInputMethodEvent compose(u"へん"_s, {});
  QApplication::sendEvent(&widget, &compose);
  QInputMethodEvent commit;
  commit.setCommitString(QString::fromStdU16String(u"変換😀"));
  QApplication::sendEvent(&widget, &commit);
  EXPECT_EQ(view.GetText(), "\x95\xCF\x8A\xB7\\ud83d\\ude00");
}

TEST_F(EditViewWidgetTest, ShiftEnterBreaksTheLineLikeEnter) {
  QTest::keyClicks(&widget, "ab");
  QTest::keyClick(&widget, Qt::Key_Return, Qt::ShiftModifier);
  QTest::keyClick(&widget, Qt::Key_Return);
  QTest::keyClicks(&widget, "c");
  EXPECT_EQ(view.GetText(), "ab\r\n\r\nc");
  EXPECT_EQ(widget.document()->blockCount(), 3);
}

TEST_F(EditViewWidgetTest, PastedTextIsOneUndoableEdit) {
  QApplication::clipboard()->setText(QString::fromStdU16String(u"a😀\r\nb\nc\rd\u00E9"));
  view.SetText("[]");
  view.SetSelection(1, 1);
  widget.paste();
  EXPECT_EQ(view.GetText(), "[a\\ud83d\\ude00\r\nb\r\nc\rd\\u00e9]");
  ASSERT_TRUE(view.CanUndo());
  view.Undo();
  EXPECT_EQ(view.GetText(), "[]");
}

TEST_F(EditViewWidgetTest, BackspaceAfterAndDeleteBeforeAKeptEscapeRemoveItWhole) {
  // key=é😀é, each a kept escape.
  const std::string line = "k=\\u00e9\\ud83d\\ude00\\u00E9";
  view.SetText(line);
  view.SetSelection(8, 8);
  QTest::keyClick(&widget, Qt::Key_Backspace);
  EXPECT_EQ(view.GetText(), "k=\\ud83d\\ude00\\u00E9");
  QTest::keyClick(&widget, Qt::Key_Delete);
  EXPECT_EQ(view.GetText(), "k=\\u00E9");
  QTest::keyClick(&widget, Qt::Key_Delete);
  EXPECT_EQ(view.GetText(), "k=");
  view.Undo();
  EXPECT_EQ(view.GetText(), "k=\\u00E9");
  // Inside an escape the keys remove one character, as anywhere else.
  view.SetSelection(5, 5);
  QTest::keyClick(&widget, Qt::Key_Backspace);
  QTest::keyClick(&widget, Qt::Key_Delete);
  EXPECT_EQ(view.GetText(), "k=\\uE9");
  // An escaped backslash before 'u' makes no escape.
  view.SetText("k=\\\\u00e9");
  view.SetSelection(10, 10);
  QTest::keyClick(&widget, Qt::Key_Backspace);
  EXPECT_EQ(view.GetText(), "k=\\\\u00e");
}

TEST_F(EditViewWidgetTest, CopiedTextCarriesLoneCrAndLineBreaksAndPastesBackTheSame) {
  const std::string text = "a\rb\r\n\x82\xA0\0"s;
  view.SetText(text);
  widget.selectAll();
  widget.copy();
  EXPECT_EQ(QApplication::clipboard()->text(), QString::fromStdU16String(u"a\rb\nあ"s + u'\0'));
  view.SetText("");
  widget.paste();
  EXPECT_EQ(view.GetText(), text);
}

TEST_F(EditViewWidgetTest, ReadOnlyKeepsCaretMovementSelectionAndCopyButRefusesEdits) {
  view.SetText("abc\r\n\x82\xA0\x82\xA2");
  view.SetReadOnly(true);
  QTest::keyClick(&widget, Qt::Key_Right);
  QTest::keyClick(&widget, Qt::Key_Down);
  EXPECT_EQ(view.GetSelection().start, 7u);
  QTest::keyClick(&widget, Qt::Key_Left, Qt::ShiftModifier);
  EXPECT_EQ(view.GetSelection().start, 5u);
  EXPECT_EQ(view.GetSelection().end, 7u);
  QTest::keyClick(&widget, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), u"あ"_s);

  QTest::keyClicks(&widget, "x");
  QTest::keyClick(&widget, Qt::Key_Delete);
  QTest::keyClick(&widget, Qt::Key_Backspace);
  QTest::keyClick(&widget, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(view.GetText(), "abc\r\n\x82\xA0\x82\xA2");
  EXPECT_FALSE(view.IsModified());

  view.SetReadOnly(false);
  QTest::keyClicks(&widget, "x");
  EXPECT_EQ(view.GetText(), "abc\r\nx\x82\xA2");
}

TEST_F(EditViewWidgetTest, DeletingTheSelectionIsOneUndoableEditRefusedWhenReadOnly) {
  view.SetText("a\x82\xA0" "b");
  view.SetSelection(1, 3);
  view.SetReadOnly(true);
  widget.deleteSelection();
  EXPECT_EQ(view.GetText(), "a\x82\xA0" "b");
  view.SetReadOnly(false);
  widget.deleteSelection();
  EXPECT_EQ(view.GetText(), "ab");
  view.Undo();
  EXPECT_EQ(view.GetText(), "a\x82\xA0" "b");
}

TEST_F(EditViewWidgetTest, ReadOnlyShowsTheCaretWhereTheKeyboardMovesIt) {
  ASSERT_TRUE(QTest::qWaitForWindowActive(&widget));
  view.SetText("abcd");
  view.SetReadOnly(true);
  // Nothing is selected, so only the caret can change the picture.
  const auto picture = [&] { return widget.viewport()->grab().toImage(); };
  const QImage switched = picture();
  QTest::keyClick(&widget, Qt::Key_Right);
  EXPECT_NE(picture(), switched);
  QTest::keyClick(&widget, Qt::Key_Left);
  EXPECT_EQ(picture(), switched);  // the caret showed from the moment of switching
}

TEST_F(EditViewWidgetTest, ReadOnlyModeLeavesTheViewWhereItWasScrolled) {
  ASSERT_TRUE(QTest::qWaitForWindowActive(&widget));
  std::string text;
  for (int line = 0; line < 500; ++line) text += "line\r\n";
  view.SetText(text);
  widget.verticalScrollBar()->setValue(widget.verticalScrollBar()->maximum());
  const int scrolled = widget.verticalScrollBar()->value();
  ASSERT_GT(scrolled, 0);
  view.SetReadOnly(true);
  QTest::keyClick(&widget, Qt::Key_Space, Qt::ShiftModifier);  // typing, not paging up
  view.SetReadOnly(false);
  EXPECT_EQ(widget.verticalScrollBar()->value(), scrolled);
  EXPECT_EQ(view.GetText(), text);
}

TEST_F(EditViewWidgetTest, PositionRefreshComesBeforeATypedCharacterAndOnRelease) {
  std::vector<std::string> textsAtRefresh;
  QObject::connect(&widget, &EditViewWidget::caretPositionRefreshRequested,
                   [&] { textsAtRefresh.push_back(view.GetText()); });
  QTest::keyPress(&widget, Qt::Key_A, Qt::NoModifier);
  EXPECT_EQ(textsAtRefresh, std::vector<std::string>{""});
  QTest::keyRelease(&widget, Qt::Key_A, Qt::NoModifier);
  EXPECT_EQ(textsAtRefresh, (std::vector<std::string>{"", "a"}));

  // A key without a character refreshes only when released.
  textsAtRefresh.clear();
  QTest::keyPress(&widget, Qt::Key_Left);
  EXPECT_TRUE(textsAtRefresh.empty());
  QTest::keyRelease(&widget, Qt::Key_Left);
  EXPECT_EQ(textsAtRefresh.size(), 1u);
}

TEST_F(EditViewWidgetTest, MouseMovementOverTheTextRefreshesThePosition) {
  QSignalSpy refresh(&widget, &EditViewWidget::caretPositionRefreshRequested);
  QTest::mouseMove(widget.viewport(), QPoint(20, 20));
  QTest::mouseMove(widget.viewport(), QPoint(30, 25));
  EXPECT_GE(refresh.count(), 1);
}

TEST_F(EditViewWidgetTest, EscapeGoesToTheHandlerWhichMayTakeIt) {
  QSignalSpy refresh(&widget, &EditViewWidget::caretPositionRefreshRequested);
  bool takeEscape = true;
  int asked = 0;
  widget.setEscapeHandler([&] {
    ++asked;
    return takeEscape;
  });

  QTest::keyPress(&widget, Qt::Key_Escape);
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(refresh.count(), 0);

  takeEscape = false;
  QTest::keyPress(&widget, Qt::Key_Escape);
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(refresh.count(), 1);
  EXPECT_TRUE(view.IsEmpty());
}

TEST_F(EditViewWidgetTest, ResizingFitsTheScrollBarsToTheNewSize) {
  std::string text;
  for (int line = 0; line < 500; ++line) text += "line " + std::to_string(line) + " " + std::string(line % 80, 'x') + "\r\n";
  view.SetText(text);
  const int pageBefore = widget.verticalScrollBar()->pageStep();
  const int rangeBefore = widget.horizontalScrollBar()->maximum();
  widget.resize(200, 600);
  EXPECT_GT(widget.verticalScrollBar()->pageStep(), pageBefore);
  EXPECT_GT(widget.horizontalScrollBar()->maximum(), rangeBefore);
}

// A window that takes dropped files, as the main window does.
class DropTarget : public QWidget {
 public:
  DropTarget() { setAcceptDrops(true); }
  int dragsEntered = 0;

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override {
    ++dragsEntered;
    event->acceptProposedAction();
  }
};

TEST(EditViewWidgetDrop, DraggedFilesAreLeftToTheWindowAndTextIsTaken) {
  DropTarget window;
  auto* widget = new EditViewWidget(&window);
  window.resize(300, 200);
  widget->resize(300, 200);
  window.show();

  QMimeData file;
  file.setUrls({QUrl::fromLocalFile("/tmp/a.properties")});
  file.setText("/tmp/a.properties");
  QDragEnterEvent fileDrag(QPoint(10, 10), Qt::CopyAction, &file, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(widget->viewport(), &fileDrag);
  EXPECT_EQ(window.dragsEntered, 1);

  QMimeData text;
  text.setText("dragged");
  QDragEnterEvent textDrag(QPoint(10, 10), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(widget->viewport(), &textDrag);
  EXPECT_TRUE(textDrag.isAccepted());
  EXPECT_EQ(window.dragsEntered, 1);
}

}  // namespace
}  // namespace propdesk
