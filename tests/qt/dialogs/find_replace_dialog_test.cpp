// The Find and Replace dialogs and their host on the offscreen platform: controls and texts, what
// a press writes into the search state, the byte limit of the fields, the opening and closing of the dialog.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include "qt/qt_find_replace_dialog_host.h"
#include "qt/dialogs/find_replace_dialog.h"
#include "search/search_state.h"
#include "qt/dialogs/search_text_field.h"

Q_DECLARE_METATYPE(propdesk::FindReplaceKind)

namespace propdesk {
namespace {

// The dialog's controls in tab order: texts of labels, buttons and boxes, [name] of fields.
QStringList ControlTexts(const QDialog& dialog) {
  QStringList texts;
  for (QObject* child : dialog.children()) {
    if (auto* label = qobject_cast<QLabel*>(child)) texts << label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(child)) texts << button->text();
    if (auto* group = qobject_cast<QGroupBox*>(child)) texts << group->title();
    if (auto* field = qobject_cast<QLineEdit*>(child)) texts << "[" + field->objectName() + "]";
  }
  return texts;
}

template <class Control>
Control* Find(const QWidget& dialog, const char* name) {
  auto* control = dialog.findChild<Control*>(QLatin1String(name));
  if (!control) qFatal("no control %s", name);
  return control;
}

SearchTextField* Field(const QWidget& dialog, const char* name) { return Find<SearchTextField>(dialog, name); }
QPushButton* Button(const QWidget& dialog, const char* name) { return Find<QPushButton>(dialog, name); }

// Characters typed one key at a time, as a keyboard sends them.
void Type(QWidget* widget, const QString& text) {
  for (const QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QCoreApplication::sendEvent(widget, &press);
  }
}

// Text committed at once by an input method.
void Commit(QWidget* widget, const QString& text) {
  QInputMethodEvent event;
  event.setCommitString(text);
  QCoreApplication::sendEvent(widget, &event);
}

void Paste(QLineEdit* field, const QString& text) {
  QGuiApplication::clipboard()->setText(text);
  field->paste();
}

const QString kA = QStringLiteral("あ");  // two bytes in code page 932

// What the search state held when the dialog reported an action.
struct Report {
  std::string findWhat, replaceWith;
  std::uint32_t flags;
};

}  // namespace

class FindReplaceDialogTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<QWidget> owner_;
  SearchState state_;
  std::unique_ptr<QtFindReplaceDialogHost> host_;
  std::vector<Report> reports_;

  FindReplaceDialog* Open(FindReplaceKind kind) {
    kind == FindReplaceKind::Find ? host_->OpenFindDialog() : host_->OpenReplaceDialog();
    return host_->Dialog();
  }

 private slots:
  void init() {
    owner_ = std::make_unique<QWidget>();
    owner_->show();
    state_ = SearchState{};
    reports_.clear();
    host_ = std::make_unique<QtFindReplaceDialogHost>(*owner_, state_);
    connect(host_.get(), &QtFindReplaceDialogHost::dialogAction, this,
            [this] { reports_.push_back({state_.FindWhat, state_.ReplaceWith, state_.Flags}); });
  }
  void cleanup() {
    host_.reset();
    owner_.reset();
  }

  void showsTheControlsAndTextsOfTheCommonDialogs_data() {
    QTest::addColumn<FindReplaceKind>("kind");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("controls");
    QTest::newRow("find") << FindReplaceKind::Find << "検索"
                          << QStringList{"検索する文字列(&N):", "[findWhat]", "大文字と小文字を区別する(&C)", "方向",
                                         "上へ(&U)", "下へ(&D)", "次を検索(&F)", "キャンセル"};
    QTest::newRow("replace") << FindReplaceKind::Replace << "置換"
                             << QStringList{"検索する文字列(&N):", "[findWhat]", "置換後の文字列(&P):", "[replaceWith]",
                                            "大文字と小文字を区別する(&C)", "次を検索(&F)", "置換して次に(&R)",
                                            "すべて置換(&A)", "キャンセル"};
  }
  void showsTheControlsAndTextsOfTheCommonDialogs() {
    QFETCH(FindReplaceKind, kind);
    QFETCH(QString, caption);
    QFETCH(QStringList, controls);
    FindReplaceDialog* dialog = Open(kind);
    QCOMPARE(dialog->windowTitle(), caption);
    QCOMPARE(ControlTexts(*dialog), controls);
    QVERIFY(!dialog->isModal());
    QVERIFY(Button(*dialog, "findNext")->isDefault());
    for (QLabel* label : dialog->findChildren<QLabel*>()) QVERIFY(qobject_cast<QLineEdit*>(label->buddy()));
    QTRY_COMPARE(QApplication::focusWidget(), Field(*dialog, "findWhat"));
  }

  void opensShowingTheSearchState() {
    state_ = {"\x8C\x9F\x8D\xF5", "\x83\x41", FR_MATCHCASE};  // 検索, ア, upwards
    FindReplaceDialog* find = Open(FindReplaceKind::Find);
    QCOMPARE(Field(*find, "findWhat")->text(), QStringLiteral("検索"));
    QCOMPARE(Field(*find, "findWhat")->selectedText(), QStringLiteral("検索"));
    QVERIFY(Find<QCheckBox>(*find, "matchCase")->isChecked());
    QVERIFY(Find<QRadioButton>(*find, "up")->isChecked());
    QVERIFY(!Find<QRadioButton>(*find, "down")->isChecked());
    host_->CloseDialog();

    state_.Flags = FR_DOWN;
    FindReplaceDialog* replace = Open(FindReplaceKind::Replace);
    QCOMPARE(Field(*replace, "replaceWith")->text(), QStringLiteral("ア"));
    QVERIFY(!Find<QCheckBox>(*replace, "matchCase")->isChecked());
  }

  void searchButtonsWaitForAFindText_data() {
    QTest::addColumn<FindReplaceKind>("kind");
    QTest::newRow("find") << FindReplaceKind::Find;
    QTest::newRow("replace") << FindReplaceKind::Replace;
  }
  void searchButtonsWaitForAFindText() {
    QFETCH(FindReplaceKind, kind);
    FindReplaceDialog* dialog = Open(kind);
    const auto enabledButtons = [dialog] {
      QStringList names;
      for (QPushButton* button : dialog->findChildren<QPushButton*>())
        if (button->isEnabled()) names << button->objectName();
      return names;
    };
    const QStringList all = kind == FindReplaceKind::Find ? QStringList{"findNext", "cancel"}
                                                          : QStringList{"findNext", "replace", "replaceAll", "cancel"};
    QCOMPARE(enabledButtons(), QStringList{"cancel"});
    Type(Field(*dialog, "findWhat"), "a");
    QCOMPARE(enabledButtons(), all);
    QTest::keyClick(Field(*dialog, "findWhat"), Qt::Key_Backspace);
    QCOMPARE(enabledButtons(), QStringList{"cancel"});
  }

  void pressesWriteTheFieldsTheOptionsAndOneAction_data() {
    QTest::addColumn<FindReplaceKind>("kind");
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("up");
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<uint>("flags");
    QTest::newRow("find next down") << FindReplaceKind::Find << "findNext" << false << false << uint(FR_DOWN | FR_FINDNEXT);
    QTest::newRow("find next up, match case")
        << FindReplaceKind::Find << "findNext" << true << true << uint(FR_MATCHCASE | FR_FINDNEXT);
    QTest::newRow("replace dialog searches down")
        << FindReplaceKind::Replace << "findNext" << false << true << uint(FR_DOWN | FR_MATCHCASE | FR_FINDNEXT);
    QTest::newRow("replace") << FindReplaceKind::Replace << "replace" << false << false << uint(FR_DOWN | FR_REPLACE);
    QTest::newRow("replace all")
        << FindReplaceKind::Replace << "replaceAll" << false << false << uint(FR_DOWN | FR_REPLACEALL);
  }
  void pressesWriteTheFieldsTheOptionsAndOneAction() {
    QFETCH(FindReplaceKind, kind);
    QFETCH(QString, button);
    QFETCH(bool, up);
    QFETCH(bool, matchCase);
    QFETCH(uint, flags);
    state_.Flags = FR_HIDEWHOLEWORD | FR_REPLACEALL;  // upwards, with an earlier action
    state_.ReplaceWith = "old";
    FindReplaceDialog* dialog = Open(kind);
    Commit(Field(*dialog, "findWhat"), QStringLiteral("アA"));
    if (kind == FindReplaceKind::Replace) {
      Field(*dialog, "replaceWith")->clear();
      Commit(Field(*dialog, "replaceWith"), QStringLiteral("Ｂ"));
    } else {
      Find<QRadioButton>(*dialog, up ? "up" : "down")->setChecked(true);
    }
    Find<QCheckBox>(*dialog, "matchCase")->setChecked(matchCase);
    QTest::mouseClick(Button(*dialog, button.toLatin1().constData()), Qt::LeftButton);
    QCOMPARE(reports_.size(), 1u);
    QCOMPARE(reports_[0].findWhat, std::string("\x83\x41" "A"));
    QCOMPARE(reports_[0].replaceWith, kind == FindReplaceKind::Replace ? std::string("\x82\x61") : std::string("old"));
    QCOMPARE(reports_[0].flags, flags | FR_HIDEWHOLEWORD);
    QVERIFY(host_->IsDialogOpen());
  }

  // The fields take what fits into 79 bytes of code page 932, as a text limit does: typing past
  // it is refused, a longer insertion is cut at a character boundary, the rest stays in place.
  void fieldsHoldAtMost79BytesOfNativeText() {
    FindReplaceDialog* dialog = Open(FindReplaceKind::Replace);
    for (const char* name : {"findWhat", "replaceWith"}) {
      SearchTextField* field = Field(*dialog, name);
      Type(field, kA.repeated(40));
      QCOMPARE(field->text(), kA.repeated(39));
      Type(field, "ab");
      QCOMPARE(field->text(), kA.repeated(39) + "a");
      QCOMPARE(field->NativeText().size(), kMaxSearchTextBytes);

      field->clear();
      Type(field, "xy");
      field->setCursorPosition(1);
      Paste(field, kA.repeated(50));
      QCOMPARE(field->text(), "x" + kA.repeated(38) + "y");  // 77 bytes: one more byte would split a character
      QCOMPARE(field->cursorPosition(), 39);
      Commit(field, "z");
      QCOMPARE(field->text(), "x" + kA.repeated(38) + "zy");
      QCOMPARE(field->NativeText().size(), kMaxSearchTextBytes);
      field->undo();
      QCOMPARE(field->text(), "x" + kA.repeated(38) + "y");
    }
  }

  void fieldsKeepEveryCharacterOnOneLine() {
    SearchTextField* field = Field(*Open(FindReplaceKind::Find), "findWhat");
    Commit(field, QStringLiteral("é€Ａ①"));  // no exact native form twice, full-width letter, circled digit
    QCOMPARE(field->text(), QStringLiteral("\\u00e9\\u20acＡ①"));
    QCOMPARE(field->NativeText(), std::string("\\u00e9\\u20ac\x82\x60\x87\x40"));
    // An escape that does not fit whole is not taken.
    field->clear();
    Commit(field, QString(74, u'a'));
    Paste(field, QStringLiteral("bé"));
    QCOMPARE(field->text(), QString(74, u'a') + u'b');
    field->clear();
    Paste(field, "first\r\nsecond");
    QCOMPARE(field->text(), QStringLiteral("first"));
  }

  // Opening and closing are signalled; the close is reported and leaves room for the next dialog.
  void openingAndClosingAreSignalledAndTheCloseReported() {
    QSignalSpy changes(host_.get(), &QtFindReplaceDialogHost::dialogChanged);
    FindReplaceDialog* find = Open(FindReplaceKind::Find);
    QCOMPARE(changes.size(), 1);
    QCOMPARE(changes[0][0].value<QWidget*>(), find);

    QTest::mouseClick(Button(*find, "cancel"), Qt::LeftButton);
    QVERIFY(!host_->IsDialogOpen());
    QCOMPARE(reports_.size(), 1u);
    QCOMPARE(reports_[0].flags & ~FR_HIDEWHOLEWORD, FR_DOWN | FR_DIALOGTERM);
    QCOMPARE(changes.size(), 2);
    QCOMPARE(changes[1][0].value<QWidget*>(), nullptr);
    QCOMPARE(Open(FindReplaceKind::Replace)->Kind(), FindReplaceKind::Replace);
  }
};

}  // namespace propdesk

QTEST_MAIN(propdesk::FindReplaceDialogTest)
#include "find_replace_dialog_test.moc"
