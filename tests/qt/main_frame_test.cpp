// The main window as a person meets it: menus, shortcuts, enabling rules, status bar, title,
// command-line file, drops and closing, with a scripted person answering the prompts.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QImage>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTranslator>
#include <QUrl>
#include <QtTest>

#include "settings/settings.h"
#include "qt/app_entry.h"
#include "qt/edit_view_widget.h"
#include "qt/main_frame.h"
#include "support/properties_reader.h"
#include "support/menu_command.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"

namespace propdesk {
namespace {

using test::ReadFileBytes;
using test::ScriptedPrompts;
using test::TempDir;
using test::WriteFileBytes;
using namespace Qt::StringLiterals;

const CommandId kAllCommands[] = {
    ID_FILE_NEW,   ID_FILE_OPEN,     ID_FILE_SAVE,       ID_FILE_SAVE_AS,    ID_FILE_IMPORT,
    ID_FILE_EXPORT, ID_APP_EXIT,     ID_EDIT_UNDO,       ID_EDIT_CUT,        ID_EDIT_COPY,
    ID_EDIT_PASTE, ID_EDIT_CLEAR,    ID_EDIT_SELECT_ALL, ID_EDIT_FIND,       ID_EDIT_FIND_UP,
    ID_EDIT_FIND_DOWN, ID_EDIT_REPLACE, ID_EDIT_READONLY, ID_TOOL_SETTINGS, ID_APP_ABOUT,
};

// "あい" in code page 932.
const std::string kTwoDoubleByteChars = "\x82\xa0\x82\xa2";

void ProcessPostedEvents() { QCoreApplication::processEvents(); }

void SendDrop(QWidget* target, const QList<QUrl>& urls, bool* accepted = nullptr) {
  QMimeData mime;
  mime.setUrls(urls);
  const QPoint at(10, 10);
  QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &enter);
  if (accepted) *accepted = enter.isAccepted();
  if (!enter.isAccepted()) return;
  QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &drop);
}

}  // namespace

class MainFrameTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<ScriptedPrompts> prompts_;
  std::unique_ptr<MainFrame> frame_;
  std::unique_ptr<TempDir> dir_;

  QAction* Action(CommandId id) { return test::MenuCommand(*frame_, id); }
  EditViewWidget& View() { return frame_->View(); }
  TextView& Text() { return frame_->View().textView(); }
  QString Title() { return frame_->windowTitle(); }

  // A file in the test's folder, written with bytes.
  std::string MakeFile(const std::string& name, const std::string& bytes) {
    const std::string path = dir_->File(name);
    WriteFileBytes(path, bytes);
    return path;
  }

  void ShowActive() {
    frame_->show();
    frame_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(frame_.get()));
    View().setFocus();
  }

  void TypeModification() { QTest::keyClicks(&View(), "abc"); }

 private slots:
  void init() {
    GetSettings() = Settings{};
    QGuiApplication::clipboard()->clear();
    dir_ = std::make_unique<TempDir>();
    prompts_ = std::make_unique<ScriptedPrompts>();
    frame_ = std::make_unique<MainFrame>(*prompts_);
  }
  void cleanup() {
    frame_.reset();
    prompts_.reset();
    dir_.reset();
  }

  // Within each menu (and along the menu bar) the access keys differ; every item has its help; the
  // keys shown after an item run it while the main window has the focus, and not while a dialog of
  // the window has it. The items are cut off from their commands, which are tested on their own.
  void menuKeysDifferAndEachShortcutRunsItsItemOnlyInTheMainWindow() {
    const auto accessKey = [](const QString& text) { return text.at(text.indexOf(u'&') + 1).toUpper(); };
    // Shown after their items, but acted on by the text view itself.
    const QStringList viewKeys = {"Ctrl+Z", "Ctrl+X", "Ctrl+C", "Ctrl+V", "Del"};
    ShowActive();
    // The view takes some keys for itself (Ctrl+A selects all there too): the window has the focus.
    View().clearFocus();
    QSet<QChar> menuKeys;
    for (QAction* menu : frame_->menuBar()->actions()) {
      QVERIFY2(!menuKeys.contains(accessKey(menu->text())), qPrintable(menu->text()));
      menuKeys.insert(accessKey(menu->text()));
      QSet<QChar> itemKeys;
      for (QAction* item : menu->menu()->actions()) {
        if (item->isSeparator()) continue;
        QVERIFY2(!itemKeys.contains(accessKey(item->text())), qPrintable(item->text()));
        itemKeys.insert(accessKey(item->text()));
        QVERIFY2(!item->statusTip().isEmpty(), qPrintable(item->text()));
        const QString shownKeys = item->text().section(u'\t', 1);
        if (shownKeys.isEmpty() || viewKeys.contains(shownKeys)) continue;
        QCOMPARE(item->shortcutContext(), Qt::WindowShortcut);
        QObject::disconnect(item, &QAction::triggered, nullptr, nullptr);
        QSignalSpy triggered(item, &QAction::triggered);
        item->setEnabled(true);
        QTest::keySequence(frame_.get(), QKeySequence(shownKeys));
        QVERIFY2(triggered.count() == 1, qPrintable(item->text()));
      }
    }

    // A modeless dialog of the window, such as the find dialog, keeps the keys for itself.
    QSignalSpy readOnly(Action(ID_EDIT_READONLY), &QAction::triggered);
    QDialog dialog(frame_.get());
    auto* field = new QLineEdit(&dialog);
    dialog.show();
    dialog.activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), &dialog);
    field->setFocus();
    QTest::keyClick(field, Qt::Key_R, Qt::ControlModifier);
    QCOMPARE(readOnly.count(), 0);
  }

  void menuHelpShowsWhileAnItemIsHighlightedThenThePositionReturns() {
    ShowActive();
    Action(ID_EDIT_READONLY)->trigger();
    QTest::keyRelease(&View(), Qt::Key_Control);
    QCOMPARE(frame_->PositionText(), QString("1:1"));

    QAction* file = frame_->menuBar()->actions().first();
    frame_->menuBar()->setActiveAction(file);
    QMenu* fileMenu = file->menu();
    QVERIFY(QTest::qWaitForWindowExposed(fileMenu));
    fileMenu->setActiveAction(Action(ID_FILE_OPEN));
    QCOMPARE(frame_->statusBar()->currentMessage(), QString("既存のリソース ファイルを開きます。"));
    QVERIFY(!Action(ID_FILE_SAVE)->isEnabled());
    fileMenu->setActiveAction(Action(ID_FILE_SAVE));
    QCOMPARE(frame_->statusBar()->currentMessage(), QString("リソース ファイルを保存します。"));
    fileMenu->hide();
    QTRY_VERIFY(frame_->statusBar()->currentMessage().isEmpty());
    auto* position = frame_->statusBar()->findChild<QLabel*>();
    QVERIFY(position && position->isVisible());
    QCOMPARE(frame_->PositionText(), QString("1:1"));
  }

  void enablingRulesFollowTheState_data() {
    QTest::addColumn<bool>("editForbidden");
    QTest::addColumn<bool>("select");
    QTest::addColumn<bool>("clipboardText");
    QTest::addColumn<bool>("typed");
    // Expected: save, clear, copy, cut, paste, undo, replace.
    QTest::addColumn<QList<bool>>("enabled");
    QTest::newRow("fresh") << false << false << false << false
                           << QList<bool>{true, false, false, false, false, false, true};
    QTest::newRow("selection") << false << true << false << false
                               << QList<bool>{true, true, true, true, false, false, true};
    QTest::newRow("clipboard text") << false << false << true << false
                                    << QList<bool>{true, false, false, false, true, false, true};
    QTest::newRow("typed") << false << false << false << true
                           << QList<bool>{true, false, false, false, false, true, true};
    QTest::newRow("forbidden, selection, text, typed")
        << true << true << true << true << QList<bool>{false, false, true, false, false, false, false};
    QTest::newRow("forbidden") << true << false << false << false
                               << QList<bool>{false, false, false, false, false, false, false};
  }
  void enablingRulesFollowTheState() {
    QFETCH(bool, editForbidden);
    QFETCH(bool, select);
    QFETCH(bool, clipboardText);
    QFETCH(bool, typed);
    QFETCH(QList<bool>, enabled);
    Text().SetText("line one\r\nline two");
    if (typed) TypeModification();
    if (select) Text().SetSelection(0, 4);
    if (clipboardText) QGuiApplication::clipboard()->setText("x");
    if (editForbidden) Action(ID_EDIT_READONLY)->trigger();

    const CommandId ruled[] = {ID_FILE_SAVE, ID_EDIT_CLEAR, ID_EDIT_COPY, ID_EDIT_CUT,
                               ID_EDIT_PASTE, ID_EDIT_UNDO, ID_EDIT_REPLACE};
    for (std::size_t i = 0; i < std::size(ruled); ++i)
      QVERIFY2(Action(ruled[i])->isEnabled() == enabled[qsizetype(i)], qPrintable(Action(ruled[i])->text()));
    for (CommandId id : kAllCommands)
      if (std::find(std::begin(ruled), std::end(ruled), id) == std::end(ruled)) QVERIFY(Action(id)->isEnabled());
  }

  void pasteNeedsTextOnTheClipboard() {
    auto* imageOnly = new QMimeData;
    imageOnly->setImageData(QImage(2, 2, QImage::Format_RGB32));
    QGuiApplication::clipboard()->setMimeData(imageOnly);
    QVERIFY(!Action(ID_EDIT_PASTE)->isEnabled());
    QGuiApplication::clipboard()->setText("text");
    QVERIFY(Action(ID_EDIT_PASTE)->isEnabled());
  }

  void statusBarShowsTheSelectionStart_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<QString>("position");
    QTest::newRow("start") << QByteArray("abc\r\ndef") << 0 << 0 << "1:1";
    QTest::newRow("second line") << QByteArray("ab\r\ncdef") << 7 << 7 << "2:4";
    QTest::newRow("double-byte") << QByteArray::fromStdString(kTwoDoubleByteChars + "x") << 4 << 4 << "1:5";
    QTest::newRow("selection upwards") << QByteArray("aaa\r\nbbb\r\nccc") << 6 << 13 << "2:2";
  }
  void statusBarShowsTheSelectionStart() {
    QFETCH(QByteArray, text);
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(QString, position);
    QVERIFY(frame_->PositionText().isEmpty());
    Text().SetText(text.toStdString());
    Text().SetSelection(std::size_t(start), std::size_t(end));
    QTest::keyRelease(&View(), Qt::Key_Shift);
    QCOMPARE(frame_->PositionText(), position);
  }

  void typedCharacterShowsInThePositionOnKeyRelease() {
    ShowActive();
    QTest::keyPress(&View(), Qt::Key_A);
    QCOMPARE(frame_->PositionText(), QString("1:1"));
    QTest::keyRelease(&View(), Qt::Key_A);
    QCOMPARE(frame_->PositionText(), QString("1:2"));
  }

  void aFileShowsItsFormBesideThePositionAndSavesUnchanged_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("form");
    QTest::newRow("UTF-8 with mark") << QByteArray("\xef\xbb\xbfk=\xe3\x81\x82\xc3\xa9\n") << QString("k=あ\\u00e9\n")
                                     << QString("UTF-8 (BOM付き)");
    QTest::newRow("escaped with mark") << QByteArray("\xef\xbb\xbfk=\\u3042\r\n") << QString("k=あ\n")
                                       << QString("エスケープ形式 (BOM付き)");
  }
  void aFileShowsItsFormBesideThePositionAndSavesUnchanged() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, shown);
    QFETCH(QString, form);
    const std::string path = MakeFile("form.properties", bytes.toStdString());
    GetSettings().ReadOnlyOpen = false;
    frame_->OpenCommandLineFile(path);
    QCOMPARE(View().toPlainText(), shown);
    QCOMPARE(frame_->DocumentInfoText(), "U+006B \\u006b   " + form);
    QVERIFY(frame_->PositionText().isEmpty());
    Action(ID_FILE_SAVE)->trigger();
    QCOMPARE(ReadFileBytes(path), bytes.toStdString());
    Action(ID_FILE_NEW)->trigger();
    QCOMPARE(frame_->DocumentInfoText(), QString("エスケープ形式"));
  }

  void keptUntouchedLinesSaveAsTheyStoodAroundTheEditedOne() {
    const std::string original = "a=\\u30C6\r\nb=x\r\nc=\\u00E9  \nd=\\u30b9";
    const std::string path = MakeFile("upper.properties", original);
    GetSettings().ReadOnlyOpen = false;
    GetSettings().KeepUntouchedLines = true;
    frame_->OpenCommandLineFile(path);
    ShowActive();
    Text().SetSelection(9, 9);  // after "b=x": "a=テ" is four bytes in code page 932
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("テ"));
    QApplication::sendEvent(&View(), &commit);
    Action(ID_FILE_SAVE)->trigger();
    QCOMPARE(ReadFileBytes(path), std::string("a=\\u30C6\r\nb=x\\u30C6\r\nc=\\u00E9  \nd=\\u30b9"));
  }

  void pastedTextMeansWhatWasPastedOnceSaved_data() {
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("javaReads");  // the value of k; a pasted line break starts key "y"
    QTest::newRow("e acute") << u"é"_s << u"é"_s;
    QTest::newRow("yen sign, not a backslash") << u"¥100"_s << u"¥100"_s;
    QTest::newRow("wave dash, no best fit") << u"\u301C"_s << u"\u301C"_s;
    QTest::newRow("full-width tilde") << u"\uFF5E"_s << u"\uFF5E"_s;
    QTest::newRow("emoji") << u"ok😀"_s << u"ok😀"_s;
    QTest::newRow("lone surrogate") << QString(QChar(0xD800)) << QString(QChar(0xD800));
    QTest::newRow("CR LF") << u"x\r\ny"_s << u"x"_s;
    QTest::newRow("half-width kana") << u"ｱｲ"_s << u"ｱｲ"_s;
  }
  void pastedTextMeansWhatWasPastedOnceSaved() {
    QFETCH(QString, pasted);
    QFETCH(QString, javaReads);
    GetSettings().ReadOnlyOpen = false;
    struct Form {
      std::string file;
      std::size_t valueEnd;  // after "k=" and, in the UTF-8 file, "あ"
      test::PropertiesEncoding encoding;
      std::u16string valueStart;
    };
    const Form forms[] = {{"k=\n", 2, test::PropertiesEncoding::Latin1, u""},
                          {"k=\xe3\x81\x82\n", 4, test::PropertiesEncoding::Utf8, u"あ"}};
    for (const Form& form : forms) {
      const std::string path = MakeFile("pasted.properties", form.file);
      frame_->OpenCommandLineFile(path);
      Text().SetSelection(form.valueEnd, form.valueEnd);
      QGuiApplication::clipboard()->setText(pasted);
      Action(ID_EDIT_PASTE)->trigger();
      Action(ID_FILE_SAVE)->trigger();
      const test::PropertiesContent content = test::ReadProperties(ReadFileBytes(path), form.encoding);
      QVERIFY2(content.error.empty(), content.error.c_str());
      QCOMPARE(QString::fromStdU16String(content.entries.at(u"k")),
               QString::fromStdU16String(form.valueStart) + javaReads);
      QCOMPARE(content.entries.size(), std::size_t{pasted.contains(u'\n') ? 2u : 1u});
    }
    QVERIFY(prompts_->messages.empty());
  }

  void undefinedNativeBytesOpenEditForbiddenWithOneMessage() {
    const std::string path = MakeFile("native.properties", "a=\x85\x40\n");
    GetSettings().ReadOnlyOpen = false;
    frame_->OpenCommandLineFile(path);
    QCOMPARE(prompts_->messages.size(), std::size_t{1});
    QVERIFY(View().isReadOnly());
    QVERIFY(!Action(ID_FILE_SAVE)->isEnabled());
    QVERIFY(Action(ID_EDIT_READONLY)->isChecked());
  }

  void escapeClosesOnlyAnEditForbiddenDocumentWhenSetTo_data() {
    QTest::addColumn<bool>("exitByEsc");
    QTest::addColumn<bool>("editForbidden");
    QTest::addColumn<bool>("closes");
    QTest::newRow("both on") << true << true << true;
    QTest::newRow("setting off") << false << true << false;
    QTest::newRow("editable") << true << false << false;
  }
  void escapeClosesOnlyAnEditForbiddenDocumentWhenSetTo() {
    QFETCH(bool, exitByEsc);
    QFETCH(bool, editForbidden);
    QFETCH(bool, closes);
    GetSettings().ExitByESC = exitByEsc;
    ShowActive();
    if (editForbidden) Action(ID_EDIT_READONLY)->trigger();
    QTest::keyClick(&View(), Qt::Key_Escape);
    ProcessPostedEvents();
    QCOMPARE(frame_->isVisible(), !closes);
  }

  void escapeAsksAboutUnsavedChangesFirst() {
    GetSettings().ExitByESC = true;
    ShowActive();
    TypeModification();
    Action(ID_EDIT_READONLY)->trigger();
    prompts_->answers.push_back(MessageResult::Cancel);
    QTest::keyClick(&View(), Qt::Key_Escape);
    ProcessPostedEvents();
    QCOMPARE(prompts_->messages.size(), std::size_t(1));
    QVERIFY(frame_->isVisible());
    QVERIFY(Text().IsModified());
  }

  void editForbiddenSwitchTogglesTheViewAndTheCheckMark() {
    QAction* readOnly = Action(ID_EDIT_READONLY);
    QVERIFY(readOnly->isCheckable() && !readOnly->isChecked());
    readOnly->trigger();
    QVERIFY(readOnly->isChecked() && View().isReadOnly());
    readOnly->trigger();
    QVERIFY(!readOnly->isChecked() && !View().isReadOnly());

    GetSettings().ReadOnlyOpen = true;
    frame_->OpenCommandLineFile(MakeFile("a.properties", "a=b\n"));
    QVERIFY(readOnly->isChecked() && View().isReadOnly());
    Action(ID_FILE_NEW)->trigger();
    QVERIFY(!readOnly->isChecked() && !View().isReadOnly());
  }

  void titleNamesTheDocumentAndItsModifiedState() {
    QCOMPARE(Title(), QString("(無題) - Propdesk"));
    TypeModification();
    QCOMPARE(Title(), QString("(無題)(更新) - Propdesk"));
    View().undo();
    View().undo();
    View().undo();
    QCOMPARE(Title(), QString("(無題) - Propdesk"));

    const std::string path = MakeFile("x[*].properties", "a=b\n");
    frame_->OpenCommandLineFile(path);
    frame_->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
    QCOMPARE(frame_->windowHandle()->title(), QString::fromStdString(path + " - Propdesk"));
  }

  void commandLineFileOpensOnceTheLoopRunsAndTheWindowIsOnScreen() {
    const std::string path = MakeFile("start.properties", "key=\\u3042\n");
    std::string program = "propdesk", first = path, second = MakeFile("other.properties", "");
    char* argv[] = {program.data(), first.data(), second.data(), nullptr};
    QueueCommandLineFile(*frame_, 3, argv);
    ProcessPostedEvents();
    QCOMPARE(Title(), QString("(無題) - Propdesk"));
    frame_->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
    QTRY_COMPARE(Title(), QString::fromStdString(path + " - Propdesk"));
    QCOMPARE(Text().GetText(), std::string("key=\x82\xa0\r\n"));
    QVERIFY(prompts_->messages.empty());
  }

  void missingCommandLineFileIsReportedOverTheWindow() {
    std::string program = "propdesk", missing = dir_->File("missing.properties");
    char* argv[] = {program.data(), missing.data(), nullptr};
    frame_->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
    QueueCommandLineFile(*frame_, 2, argv);
    ProcessPostedEvents();
    QCOMPARE(prompts_->MessageTexts(), std::vector<std::string>{"ファイルの読み込みに失敗しました。"});
    QCOMPARE(Title(), QString("(無題) - Propdesk"));
  }

  void droppedFileOpensWhereverItLands_data() {
    QTest::addColumn<bool>("onTextArea");
    QTest::newRow("text area") << true;
    QTest::newRow("window") << false;
  }
  void droppedFileOpensWhereverItLands() {
    QFETCH(bool, onTextArea);
    const std::string path = MakeFile("dropped.properties", "k=v\n");
    bool accepted = false;
    SendDrop(onTextArea ? View().viewport() : static_cast<QWidget*>(frame_.get()),
             {QUrl::fromLocalFile(QString::fromStdString(path))}, &accepted);
    QVERIFY(accepted);
    ProcessPostedEvents();
    QCOMPARE(Text().GetText(), std::string("k=v\r\n"));
    QCOMPARE(Title(), QString::fromStdString(path + " - Propdesk"));
  }

  void dropsOfSeveralOrRemoteFilesOpenNothing() {
    const QUrl a = QUrl::fromLocalFile(QString::fromStdString(MakeFile("a.properties", "a=1\n")));
    const QUrl b = QUrl::fromLocalFile(QString::fromStdString(MakeFile("b.properties", "b=2\n")));
    SendDrop(View().viewport(), {a, b});
    bool accepted = true;
    SendDrop(View().viewport(), {QUrl("https://example.invalid/c.properties")}, &accepted);
    ProcessPostedEvents();
    QVERIFY(Text().IsEmpty());
    QCOMPARE(Title(), QString("(無題) - Propdesk"));
    QVERIFY(prompts_->messages.empty());
  }

  void closingWithUnsavedChangesFollowsTheAnswer_data() {
    QTest::addColumn<bool>("viaLogOff");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("chooseFile");
    QTest::addColumn<bool>("ends");
    for (const bool logOff : {false, true}) {
      const char* how = logOff ? "log-off, " : "close, ";
      QTest::addRow("%scancel", how) << logOff << int(MessageResult::Cancel) << false << false;
      QTest::addRow("%sno", how) << logOff << int(MessageResult::No) << false << true;
      QTest::addRow("%syes", how) << logOff << int(MessageResult::Yes) << true << true;
      QTest::addRow("%syes, chooser cancelled", how) << logOff << int(MessageResult::Yes) << false << false;
    }
  }
  void closingWithUnsavedChangesFollowsTheAnswer() {
    QFETCH(bool, viaLogOff);
    QFETCH(int, answer);
    QFETCH(bool, chooseFile);
    QFETCH(bool, ends);
    frame_->show();
    TypeModification();
    const std::string target = dir_->File("saved.properties");
    prompts_->answers.push_back(static_cast<MessageResult>(answer));
    if (answer == int(MessageResult::Yes)) prompts_->chosenPaths.push_back(chooseFile ? std::optional(target) : std::nullopt);

    const bool ended = viaLogOff ? frame_->MayEndSession() : frame_->close();
    QCOMPARE(ended, ends);
    QCOMPARE(prompts_->MessageTexts(),
             std::vector<std::string>{"ファイル (無題) の内容は変更されています。\n\n変更を保存しますか？"});
    QCOMPARE(frame_->isVisible(), viaLogOff || !ends);
    QCOMPARE(Text().GetText(), std::string("abc"));
    QCOMPARE(ReadFileBytes(target), std::string(chooseFile ? "abc" : ""));
    QCOMPARE(Text().IsModified(), !chooseFile);
  }

  void exitCommandClosesOnceTheLoopRuns() {
    frame_->show();
    Action(ID_APP_EXIT)->trigger();
    QVERIFY(frame_->isVisible());
    ProcessPostedEvents();
    QVERIFY(!frame_->isVisible());
  }

  void fileCommandsReachTheDocument() {
    const std::string source = MakeFile("in.properties", "a=\\u3042\n");
    prompts_->chosenPaths = {source};
    Action(ID_FILE_OPEN)->trigger();
    QCOMPARE(Title(), QString::fromStdString(source + " - Propdesk"));

    const std::string exported = dir_->File("out.txt");
    prompts_->chosenPaths = {exported};
    Action(ID_FILE_EXPORT)->trigger();
    QCOMPARE(ReadFileBytes(exported), std::string("a=\x82\xa0\r\n"));

    const std::string copy = dir_->File("copy.properties");
    prompts_->chosenPaths = {copy};
    Action(ID_FILE_SAVE_AS)->trigger();
    QCOMPARE(ReadFileBytes(copy), std::string("a=\\u3042\n"));
    QCOMPARE(Title(), QString::fromStdString(copy + " - Propdesk"));

    prompts_->chosenPaths = {exported};
    Action(ID_FILE_IMPORT)->trigger();
    QCOMPARE(Title(), QString("(無題)(更新) - Propdesk"));
    QCOMPARE(prompts_->choosers.size(), std::size_t(4));
    QVERIFY(prompts_->chosenPaths.empty());
  }

  void editCommandsWorkOnTheView() {
    Text().SetText("one two");
    Action(ID_EDIT_SELECT_ALL)->trigger();
    QCOMPARE(Text().GetSelection().end, std::size_t(7));
    Text().SetSelection(3, 7);
    Action(ID_EDIT_CUT)->trigger();
    QCOMPARE(Text().GetText(), std::string("one"));
    Action(ID_EDIT_PASTE)->trigger();
    QCOMPARE(Text().GetText(), std::string("one two"));
    Text().SetSelection(0, 4);
    Action(ID_EDIT_CLEAR)->trigger();
    QCOMPARE(Text().GetText(), std::string("two"));
    Action(ID_EDIT_UNDO)->trigger();
    QCOMPARE(Text().GetText(), std::string("one two"));
  }

  void qtTextsAreJapanese() {
    QTranslator translator;
    InstallQtJapanese(*QCoreApplication::instance(), translator);
    QMessageBox box(QMessageBox::NoIcon, "t", "x", QMessageBox::Yes | QMessageBox::Cancel);
    QCOMPARE(box.button(QMessageBox::Cancel)->text(), QString("キャンセル"));
    // The right-click menu words Select All as the Edit menu does.
    const std::unique_ptr<QMenu> menu(View().createContextMenu({0, 0}));
    auto* selectAll = menu->findChild<QAction*>("select-all");
    QVERIFY(selectAll);
    QVERIFY2(selectAll->text().startsWith("すべて選択"), qPrintable(selectAll->text()));
    QCoreApplication::removeTranslator(&translator);
  }
};

}  // namespace propdesk

QTEST_MAIN(propdesk::MainFrameTest)
#include "main_frame_test.moc"
