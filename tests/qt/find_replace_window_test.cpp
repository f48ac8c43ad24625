// Find, find up and down, Replace and Replace All through the main window as a person uses them:
// the keys, the menu's enabling, the dialogs over the real text view, the messages and the focus.
#include <QAction>
#include <QApplication>
#include <QInputMethodEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "qt/qt_find_replace_dialog_host.h"
#include "search/find_steps.h"
#include "qt/dialogs/search_text_field.h"
#include "settings/settings.h"
#include "qt/edit_view_widget.h"
#include "qt/main_frame.h"
#include "qt/dialogs/native_qstring.h"
#include "support/menu_command.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"

namespace propdesk {
namespace {

using test::ScriptedPrompts;

struct Selection {
  std::size_t start, end;
  bool operator==(const Selection&) const = default;
};

}  // namespace
}  // namespace propdesk

Q_DECLARE_METATYPE(std::string)
Q_DECLARE_METATYPE(std::vector<propdesk::Selection>)

namespace QTest {
template <>
inline char* toString(const propdesk::Selection& s) {
  return qstrdup(QByteArray::number(qulonglong(s.start)) + "-" + QByteArray::number(qulonglong(s.end)));
}
}  // namespace QTest

namespace propdesk {

class FindReplaceWindowTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<ScriptedPrompts> prompts_;
  std::unique_ptr<MainFrame> frame_;

  QAction* Action(CommandId id) { return test::MenuCommand(*frame_, id); }
  TextView& Text() { return frame_->View().textView(); }
  FindReplaceDialog* Dialog() { return frame_->FindReplaceDialogs().Dialog(); }
  Selection Selected() { return {Text().GetSelection().start, Text().GetSelection().end}; }

  void ShowActive() {
    frame_->show();
    frame_->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), frame_.get());
    frame_->View().setFocus();
  }
  // A key pressed where the keyboard focus is.
  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
  }
  // Opens a dialog with its key and waits until it has the focus.
  void OpenWithKey(Qt::Key key) {
    Key(key, Qt::ControlModifier);
    QVERIFY(Dialog());
    QTRY_COMPARE(QApplication::activeWindow(), Dialog());
  }
  // Replaces a field's text as an input method would.
  void Fill(const char* field, const QString& text) {
    auto* edit = Dialog()->findChild<SearchTextField*>(QLatin1String(field));
    edit->selectAll();
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QCoreApplication::sendEvent(edit, &commit);
  }
  void Press(const char* button) {
    QTest::mouseClick(Dialog()->findChild<QPushButton*>(QLatin1String(button)), Qt::LeftButton);
  }
  void Load(const std::string& text) {
    Text().SetText(text);
    Text().SetModified(false);
    Text().EmptyUndoBuffer();
  }

 private slots:
  void init() {
    GetSettings() = Settings{};
    prompts_ = std::make_unique<ScriptedPrompts>();
    frame_ = std::make_unique<MainFrame>(*prompts_);
    ShowActive();
  }
  void cleanup() {
    frame_.reset();
    prompts_.reset();
  }

  void oneDialogAtATimeWithTheWindowKeysAsleep() {
    Load("abc abc");
    OpenWithKey(Qt::Key_F);
    QCOMPARE(Dialog()->Kind(), FindReplaceKind::Find);
    QVERIFY(!Action(ID_EDIT_FIND)->isEnabled());
    QVERIFY(!Action(ID_EDIT_REPLACE)->isEnabled());
    QVERIFY(Action(ID_EDIT_FIND_DOWN)->isEnabled());
    Fill("findWhat", "abc");
    Key(Qt::Key_F3);
    Key(Qt::Key_H, Qt::ControlModifier);
    QCOMPARE(Selected(), (Selection{0, 0}));
    QCOMPARE(Dialog()->Kind(), FindReplaceKind::Find);

    Key(Qt::Key_Escape);
    QVERIFY(!Dialog());
    QTRY_COMPARE(QApplication::activeWindow(), frame_.get());
    QVERIFY(Action(ID_EDIT_FIND)->isEnabled());
    QVERIFY(Action(ID_EDIT_REPLACE)->isEnabled());
    OpenWithKey(Qt::Key_H);
    QCOMPARE(Dialog()->Kind(), FindReplaceKind::Replace);
    QVERIFY(prompts_->messages.empty());
  }

  void findKeysWithoutAFindTextOpenTheFindDialogInTheirDirection_data() {
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<bool>("up");
    QTest::newRow("F3") << Qt::KeyboardModifiers() << false;
    QTest::newRow("Shift+F3") << Qt::KeyboardModifiers(Qt::ShiftModifier) << true;
  }
  void findKeysWithoutAFindTextOpenTheFindDialogInTheirDirection() {
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(bool, up);
    Key(Qt::Key_F3, modifiers);
    QVERIFY(Dialog());
    QCOMPARE(Dialog()->Kind(), FindReplaceKind::Find);
    QCOMPARE(Dialog()->findChild<QRadioButton*>("up")->isChecked(), up);
    QVERIFY(prompts_->messages.empty());
  }

  void successfulFindNextClosesTheDialogAndTheKeysCarryOn() {
    Load("abc abc abc");
    OpenWithKey(Qt::Key_F);
    Fill("findWhat", "ABC");
    Key(Qt::Key_Return);
    QVERIFY(!Dialog());
    QCOMPARE(Selected(), (Selection{0, 3}));
    QTRY_COMPARE(QApplication::focusWidget(), &frame_->View());
    Key(Qt::Key_F3);
    Key(Qt::Key_F3);
    QCOMPARE(Selected(), (Selection{8, 11}));
    Key(Qt::Key_F3, Qt::ShiftModifier);
    QCOMPARE(Selected(), (Selection{4, 7}));
    OpenWithKey(Qt::Key_F);
    QVERIFY(Dialog()->findChild<QRadioButton*>("up")->isChecked());
    QCOMPARE(Dialog()->findChild<SearchTextField*>("findWhat")->text(), QString("ABC"));
    QVERIFY(prompts_->messages.empty());
  }

  // With the window's own message boxes: the one of a failed Find Next stands over the dialog, which
  // has the focus back once it is closed; the one of a failed F3 stands over the main window.
  void notFoundMessagesStandOverTheWindowThatAsked() {
    frame_ = std::make_unique<MainFrame>();
    ShowActive();
    Load("abc");
    QWidget* owner = nullptr;
    QString text;
    const auto answerNextBox = [&] {
      QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        owner = box->parentWidget();
        text = box->text();
        box->accept();
      });
    };
    OpenWithKey(Qt::Key_F);
    Fill("findWhat", "ｚｚ");
    answerNextBox();
    Key(Qt::Key_Return);
    QCOMPARE(owner, Dialog());
    QCOMPARE(text, QString("\"ｚｚ\" が見つかりません。"));
    QTRY_COMPARE(QApplication::focusWidget(), Dialog()->findChild<SearchTextField*>("findWhat"));

    Key(Qt::Key_Escape);
    QTRY_COMPARE(QApplication::activeWindow(), frame_.get());
    answerNextBox();
    Key(Qt::Key_F3);
    QCOMPARE(owner, frame_.get());
    QCOMPARE(Selected(), (Selection{0, 0}));
  }

  void editForbiddenClosesTheDialogAndKeepsReplaceGrey() {
    OpenWithKey(Qt::Key_H);
    Action(ID_EDIT_READONLY)->trigger();
    QVERIFY(!Dialog());
    QVERIFY(!Action(ID_EDIT_REPLACE)->isEnabled());
    QVERIFY(Action(ID_EDIT_FIND)->isEnabled());
    QTRY_COMPARE(QApplication::activeWindow(), frame_.get());
    Key(Qt::Key_H, Qt::ControlModifier);
    QVERIFY(!Dialog());
    OpenWithKey(Qt::Key_F);
    Action(ID_EDIT_READONLY)->trigger();  // switching it off leaves the dialog open
    QVERIFY(Dialog());
    QVERIFY(!Action(ID_EDIT_REPLACE)->isEnabled());
  }

  // The byte offsets of the search meet the characters and line breaks of the view.
  void doubleByteSearchesThroughTheView_data() {
    QTest::addColumn<std::string>("text");
    QTest::addColumn<std::size_t>("caret");
    QTest::addColumn<std::string>("findWhat");
    QTest::addColumn<uint>("flags");
    QTest::addColumn<std::vector<Selection>>("steps");  // every match found, in order
    QTest::newRow("ア then A: no match on a second byte")
        << std::string("\x83\x41" "A\x83\x41") << std::size_t{0} << std::string("A") << uint(FR_DOWN)
        << std::vector<Selection>{{2, 3}};
    QTest::newRow("second bytes are never folded")
        << std::string("\x83\x41") << std::size_t{0} << std::string("\x83\x61") << uint(FR_DOWN)
        << std::vector<Selection>{};
    QTest::newRow("full-width letters ignoring case, up")
        << std::string("\x82\x60\x82\x61 \x82\x81\x82\x82") << std::size_t{9} << std::string("\x82\x81\x82\x82")
        << uint(0) << std::vector<Selection>{{5, 9}, {0, 4}};
    QTest::newRow("full-width letters with case, up")
        << std::string("\x82\x60\x82\x61 \x82\x81\x82\x82") << std::size_t{9} << std::string("\x82\x81\x82\x82")
        << uint(FR_MATCHCASE) << std::vector<Selection>{{5, 9}};
    QTest::newRow("CR LF counts two bytes")
        << std::string("ab\r\n\x82\xa0" "ab\r\nab") << std::size_t{0} << std::string("AB") << uint(FR_DOWN)
        << std::vector<Selection>{{0, 2}, {6, 8}, {10, 12}};
  }
  void doubleByteSearchesThroughTheView() {
    QFETCH(std::string, text);
    QFETCH(std::size_t, caret);
    QFETCH(std::string, findWhat);
    QFETCH(uint, flags);
    QFETCH(std::vector<Selection>, steps);
    Load(text);
    Text().SetSelection(caret, caret);
    for (const Selection& expected : steps) {
      QVERIFY(FindNext(Text(), findWhat, flags));
      QCOMPARE(Selected(), expected);
      // The view shows the very characters the bytes name.
      QCOMPARE(frame_->View().textCursor().selectedText(),
               NativeToQString(std::string_view(text).substr(expected.start, expected.end - expected.start)));
    }
    const Selection last = Selected();
    QVERIFY(!FindNext(Text(), findWhat, flags));
    QCOMPARE(Selected(), last);
  }

  void replaceStepsThroughMatchesOfDoubleByteText() {
    Load("\x82\xa0\x82\xa2\x82\xa0\r\n\x82\xa0");  // あいあ / あ
    OpenWithKey(Qt::Key_H);
    Fill("findWhat", "あ");
    Fill("replaceWith", "アア");
    Press("replace");  // the caret is no match: it moves to the first one
    QCOMPARE(Selected(), (Selection{0, 2}));
    Press("replace");
    QCOMPARE(Text().GetText(), std::string("\x83\x41\x83\x41\x82\xa2\x82\xa0\r\n\x82\xa0"));
    QCOMPARE(Selected(), (Selection{6, 8}));
    Press("replace");
    Press("replace");
    QCOMPARE(Text().GetText(), std::string("\x83\x41\x83\x41\x82\xa2\x83\x41\x83\x41\r\n\x83\x41\x83\x41"));
    QCOMPARE(Selected(), (Selection{12, 16}));
    QCOMPARE(prompts_->MessageTexts(), std::vector<std::string>{"\"あ\" が見つかりません。"});
    QCOMPARE(prompts_->messages[0].owner, MessageOwner::FindReplaceDialog);
    QVERIFY(Dialog());
  }

  void replaceAllIsOneUndoableEditThatMarksTheDocumentModified() {
    Load("a.a.\x82\xa0");
    const QString cleanTitle = frame_->windowTitle();
    Text().SetSelection(3, 3);
    OpenWithKey(Qt::Key_H);
    Fill("findWhat", "A");
    Fill("replaceWith", "ｂｂ");
    Press("replaceAll");
    QVERIFY(!Dialog());
    QCOMPARE(Text().GetText(), std::string("\x82\x82\x82\x82.\x82\x82\x82\x82.\x82\xa0"));
    QCOMPARE(Selected(), (Selection{0, 0}));
    QCOMPARE(prompts_->MessageTexts(), std::vector<std::string>{"2 個の文字列を置換しました。"});
    QCOMPARE(prompts_->messages[0].owner, MessageOwner::MainFrame);
    QVERIFY(frame_->windowTitle().contains("(更新)"));
    QVERIFY(Action(ID_EDIT_UNDO)->isEnabled());
    Action(ID_EDIT_UNDO)->trigger();
    QCOMPARE(Text().GetText(), std::string("a.a.\x82\xa0"));
    QCOMPARE(frame_->windowTitle(), cleanTitle);
  }
};

}  // namespace propdesk

QTEST_MAIN(propdesk::FindReplaceWindowTest)
#include "find_replace_window_test.moc"
