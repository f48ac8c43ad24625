// The wait for a slow external converter: the window goes on, a modal dialog offers to cancel.
#include <QDialog>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "document/document.h"
#include "settings/settings.h"
#include "qt/edit_view_widget.h"
#include "qt/external_command_wait.h"
#include "qt/main_frame.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"

namespace propdesk {
namespace {

using std::chrono::milliseconds;

QDialog* ShownWaitDialog() { return qobject_cast<QDialog*>(QApplication::activeModalWidget()); }

void ClickCancel(QDialog* dialog) {
  dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
}

}  // namespace

class ExternalCommandWaitTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { GetSettings() = Settings{}; }

  void shortCommandShowsNoDialogButEventsGoOn() {
    QWidget owner;
    ExternalCommandWait wait(&owner);
    bool timerFired = false;
    QTimer::singleShot(0, [&timerFired] { timerFired = true; });
    QVERIFY(!wait.ShouldCancel(milliseconds{0}));
    QVERIFY(!wait.ShouldCancel(milliseconds{400}));
    QVERIFY(timerFired);
    QVERIFY(!ShownWaitDialog());
  }

  void slowCommandShowsADialogUntilItEnds() {
    QWidget owner;
    ExternalCommandWait wait(&owner);
    QVERIFY(!wait.ShouldCancel(milliseconds{600}));
    QDialog* dialog = ShownWaitDialog();
    QVERIFY(dialog);
    QCOMPARE(dialog->windowTitle(), QString("Propdesk"));
    QCOMPARE(dialog->parentWidget(), &owner);
    QVERIFY(!wait.ShouldCancel(milliseconds{700}));
    QVERIFY(dialog->isVisible());
    // No more checks: the command has ended, and the dialog goes once the window's loop runs.
    QTRY_VERIFY(!dialog->isVisible());
  }

  void cancelEndsThisCommandOnly() {
    QWidget owner;
    ExternalCommandWait wait(&owner);
    QVERIFY(!wait.ShouldCancel(milliseconds{600}));
    ClickCancel(ShownWaitDialog());
    QVERIFY(wait.ShouldCancel(milliseconds{650}));
    QVERIFY(!wait.ShouldCancel(milliseconds{5}));  // the next command
  }

  void cancelledConversionFailsAndLeavesTheDocument() {
    test::TempDir dir;
    const std::string path = dir.File("slow.properties");
    test::WriteFileBytes(path, "a=b\n");
    GetSettings().UseNative2Ascii = true;
    GetSettings().Native2AsciiPath = "/bin/sh -c \"sleep 20; cat\"";
    test::ScriptedPrompts prompts;
    MainFrame frame(prompts);
    frame.show();

    int ticks = 0;
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, [&ticks] { ++ticks; });
    ticker.start(50);
    // Cancels as soon as the wait dialog is up, however long the loaded machine takes to show it.
    QTimer canceller;
    connect(&canceller, &QTimer::timeout, [] {
      if (QDialog* dialog = ShownWaitDialog()) ClickCancel(dialog);
    });
    canceller.start(50);
    QElapsedTimer clock;
    clock.start();
    frame.OpenCommandLineFile(path);
    QVERIFY(clock.elapsed() < 10000);
    QVERIFY2(ticks >= 5, "the window's events went on during the command");
    QCOMPARE(prompts.MessageTexts(), std::vector<std::string>{"変換を中止しました。"});
    QCOMPARE(frame.windowTitle(), QString("(無題) - Propdesk"));
    QVERIFY(frame.View().textView().IsEmpty());
  }
};

}  // namespace propdesk

QTEST_MAIN(propdesk::ExternalCommandWaitTest)
#include "external_command_wait_test.moc"
