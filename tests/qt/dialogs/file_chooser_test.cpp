// The file choosers and message boxes of the Qt window.
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "common/string_table.h"
#include "qt/dialogs/file_chooser.h"
#include "qt/qt_prompts.h"

namespace propdesk {
namespace {

using namespace Qt::StringLiterals;

std::string Text(int id) {
  std::string text;
  LoadText(id, text);
  return text;
}

// Clicks button of the next modal dialog as soon as it shows.
void ClickInNextMessageBox(QMessageBox::StandardButton button) {
  QTimer::singleShot(0, [button] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    QVERIFY(box);
    box->button(button)->click();
  });
}

}  // namespace

class FileChooserTest : public QObject {
  Q_OBJECT

 private slots:
  void convertsBarSeparatedFilters_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("resources") << QString::fromStdString(Text(IDS_PROPERTIES_FILTER))
                               << QStringList{"Javaリソース (*.properties) (*.properties)",
                                              "すべてのファイル (*.*) (*)"};
    QTest::newRow("programs") << QString::fromStdString(Text(IDS_PROGRAM_FILTER))
                              << QStringList{"プログラム (*.exe) (*.exe)", "すべてのファイル (*.*) (*)"};
    QTest::newRow("several patterns") << "Text|*.txt;*.TEXT; *.*|"
                                      << QStringList{"Text (*.txt *.TEXT *)"};
    QTest::newRow("no closing bar") << "Any|*" << QStringList{"Any (*)"};
    QTest::newRow("description without patterns") << "A|*.a|B|" << QStringList{"A (*.a)"};
    QTest::newRow("empty") << "" << QStringList{};
  }
  void convertsBarSeparatedFilters() {
    QFETCH(QString, filter);
    QFETCH(QStringList, expected);
    QCOMPARE(ToQtNameFilters(filter.toStdString()), expected);
  }

  void openChooserShowsDescriptionsAndRequiresAnExistingFile() {
    const auto dialog = MakeFileChooser(FileChooserKind::Open, Text(IDS_PROPERTIES_FILTER), "properties", nullptr);
    QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptOpen);
    QCOMPARE(dialog->fileMode(), QFileDialog::ExistingFile);
    QCOMPARE(dialog->defaultSuffix(), QString("properties"));
    auto* types = dialog->findChild<QComboBox*>("fileTypeCombo");
    QVERIFY(types);
    QCOMPARE(types->count(), 2);
    QCOMPARE(types->itemText(0), QString("Javaリソース (*.properties)"));
    QCOMPARE(types->itemText(1), QString("すべてのファイル (*.*)"));
  }

  void saveChooserAsksBeforeOverwritingAndRefusesAMissingFolder() {
    const auto dialog = MakeFileChooser(FileChooserKind::Save, Text(IDS_PROPERTIES_FILTER), "properties", nullptr);
    QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
    QCOMPARE(dialog->fileMode(), QFileDialog::AnyFile);
    QVERIFY(!dialog->testOption(QFileDialog::DontConfirmOverwrite));
    QCOMPARE(dialog->defaultSuffix(), QString("properties"));

    QTemporaryDir dir;
    dialog->setDirectory(dir.path());
    dialog->show();
    dialog->findChild<QLineEdit*>("fileNameEdit")->setText("missing/x.properties");
    QString warning;
    QTimer::singleShot(0, [&warning] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      QVERIFY(box);
      warning = box->text();
      box->close();
    });
    static_cast<QDialog*>(dialog.get())->accept();
    QVERIFY(warning.startsWith(dir.filePath("missing") + "\n"));
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->result(), 0);
  }

  void chooserReturnsTheChosenPathAndNothingWhenCancelled() {
    QTemporaryDir dir;
    const QString path = dir.filePath("名前.properties");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();

    QTimer::singleShot(0, [path] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      QVERIFY(dialog);
      dialog->selectFile(path);
      static_cast<QDialog*>(dialog)->accept();
    });
    const auto chosen = ChooseFile(FileChooserKind::Open, Text(IDS_PROPERTIES_FILTER), "properties", nullptr);
    QVERIFY(chosen);
    QCOMPARE(QString::fromStdString(*chosen), path);
    // The next chooser starts where the last one ended.
    QCOMPARE(MakeFileChooser(FileChooserKind::Save, "", "", nullptr)->directory(), QDir(dir.path()));

    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    QVERIFY(!ChooseFile(FileChooserKind::Save, Text(IDS_PROPERTIES_FILTER), "properties", nullptr));
  }

  void messageBoxesHaveTheTitleButtonsAndIconOfTheirStyle_data() {
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("icon");
    QTest::newRow("ok") << int(MessageStyle::Ok) << int(QMessageBox::Ok) << int(QMessageBox::NoIcon);
    QTest::newRow("information") << int(MessageStyle::OkInformation) << int(QMessageBox::Ok)
                                 << int(QMessageBox::Information);
    QTest::newRow("question") << int(MessageStyle::YesNoCancel)
                              << int(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)
                              << int(QMessageBox::NoIcon);
    QTest::newRow("yes or no") << int(MessageStyle::YesNo) << int(QMessageBox::Yes | QMessageBox::No)
                               << int(QMessageBox::NoIcon);
  }
  void messageBoxesHaveTheTitleButtonsAndIconOfTheirStyle() {
    QFETCH(int, style);
    QFETCH(int, buttons);
    QFETCH(int, icon);
    QWidget owner;
    const auto box = MakeMessageBox("<b>a.properties</b>", static_cast<MessageStyle>(style), &owner);
    QCOMPARE(box->windowTitle(), QString("Propdesk"));
    QCOMPARE(box->parentWidget(), &owner);
    QCOMPARE(int(box->standardButtons()), buttons);
    QCOMPARE(int(box->icon()), icon);
    QCOMPARE(box->textFormat(), Qt::PlainText);
    QCOMPARE(box->text(), QString("<b>a.properties</b>"));
  }

  void messageBoxesBreakJapaneseLinesOnlyAfterPunctuation() {
    const QString text = QString::fromStdString(Text(IDS_RAW_NATIVE_BYTES));
    const auto box = MakeMessageBox(Text(IDS_RAW_NATIVE_BYTES), MessageStyle::Ok, nullptr);
    box->show();
    QVERIFY(QTest::qWaitForWindowExposed(box.get()));
    QCOMPARE(QString(box->text()).remove(u'\n'), QString(text).remove(u'\n'));
    auto* label = box->findChild<QLabel*>(u"qt_msgbox_label"_s);
    QVERIFY(label);
    for (const QString& line : box->text().split(u'\n')) {
      // Each line is whole on the screen and ends where the text's own line does, or after 。 or 、.
      QVERIFY2(label->contentsRect().width() >= label->fontMetrics().horizontalAdvance(line), qPrintable(line));
      QVERIFY2(line.endsWith(u'。') || line.endsWith(u'、') || text.contains(line + u'\n') || text.endsWith(line),
               qPrintable(line));
    }
  }

  void promptsReportTheButtonPressed_data() {
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("result");
    QTest::newRow("yes") << int(QMessageBox::Yes) << int(MessageResult::Yes);
    QTest::newRow("no") << int(QMessageBox::No) << int(MessageResult::No);
    QTest::newRow("cancel") << int(QMessageBox::Cancel) << int(MessageResult::Cancel);
  }
  void promptsReportTheButtonPressed() {
    QFETCH(int, button);
    QFETCH(int, result);
    QWidget frame;
    QtPrompts prompts(&frame);
    ClickInNextMessageBox(static_cast<QMessageBox::StandardButton>(button));
    QCOMPARE(int(prompts.ShowMessageText("?", MessageStyle::YesNoCancel, MessageOwner::MainFrame)), result);
  }

  void messagesForTheFindDialogAreOwnedByItWhileItIsOpen() {
    QWidget frame;
    QWidget findDialog;
    QtPrompts prompts(&frame);
    prompts.SetFindReplaceDialog(&findDialog);
    const auto ownerOfNextBox = [&prompts] {
      QWidget* owner = nullptr;
      QTimer::singleShot(0, [&owner] {
        owner = QApplication::activeModalWidget()->parentWidget();
        qobject_cast<QMessageBox*>(QApplication::activeModalWidget())->button(QMessageBox::Ok)->click();
      });
      prompts.ShowMessageText("x", MessageStyle::OkInformation, MessageOwner::FindReplaceDialog);
      return owner;
    };
    findDialog.show();
    QCOMPARE(ownerOfNextBox(), &findDialog);
    findDialog.hide();
    QCOMPARE(ownerOfNextBox(), &frame);
  }
};

}  // namespace propdesk

QTEST_MAIN(propdesk::FileChooserTest)
#include "file_chooser_test.moc"
