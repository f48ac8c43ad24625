// The Browse button's chooser: filter matching, the folder listing under each filter, the ".exe"
// completion of typed names, and the bytes it answers. Real files in a temporary folder.
#include <QApplication>
#include <QComboBox>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QMessageBox>
#include <QSortFilterProxyModel>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "qt/dialogs/program_chooser.h"
#include "support/temp_dir.h"

using propdesk::MatchesFilterPatterns;
using propdesk::ProgramFileDialog;
using propdesk::test::TempDir;

namespace {

void MakeFile(const TempDir& folder, const std::string& name, bool executable) {
  propdesk::test::WriteFileBytes(folder.File(name), "#!/bin/sh\n");
  std::filesystem::permissions(folder.File(name),
                               executable ? std::filesystem::perms::owner_all : std::filesystem::perms::owner_read |
                                                                                    std::filesystem::perms::owner_write);
}

QString FilePath(const TempDir& folder, const std::string& name) { return QString::fromStdString(folder.File(name)); }

// The names the chooser lists in `folder`, sorted.
QStringList Listed(ProgramFileDialog& dialog, const TempDir& folder) {
  auto* proxy = dialog.proxyModel();
  auto* files = static_cast<QFileSystemModel*>(proxy->sourceModel());
  const QModelIndex parent = proxy->mapFromSource(files->index(QString::fromStdString(folder.path())));
  QStringList names;
  for (int row = 0; row < proxy->rowCount(parent); ++row) names.append(proxy->index(row, 0, parent).data().toString());
  names.sort();
  return names;
}

QLineEdit* FileNameField(const ProgramFileDialog& dialog) {
  return dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
}

}  // namespace

class ProgramChooserTest : public QObject {
  Q_OBJECT

 private slots:
  void matchesFilterPatterns_data() {
    QTest::addColumn<QStringList>("patterns");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("executable");
    QTest::addColumn<bool>("shown");
    QTest::newRow("exe") << QStringList{"*.exe"} << "native2ascii.exe" << false << true;
    QTest::newRow("exe, any case") << QStringList{"*.exe"} << "NATIVE2ASCII.EXE" << false << true;
    QTest::newRow("executable without extension") << QStringList{"*.exe"} << "native2ascii" << true << true;
    QTest::newRow("plain file without extension") << QStringList{"*.exe"} << "README" << false << false;
    QTest::newRow("executable script") << QStringList{"*.exe"} << "convert.sh" << true << false;
    QTest::newRow("other extension") << QStringList{"*.exe"} << "notes.txt" << false << false;
    QTest::newRow("all files: no extension") << QStringList{"*.*"} << "README" << false << true;
    QTest::newRow("all files: extension") << QStringList{"*.*"} << "notes.txt" << false << true;
    QTest::newRow("pattern list") << QStringList{"*.txt", "*.properties"} << "a.properties" << false << true;
    QTest::newRow("pattern list, no match") << QStringList{"*.txt", "*.properties"} << "a.exe" << true << false;
  }
  void matchesFilterPatterns() {
    QFETCH(QStringList, patterns);
    QFETCH(QString, name);
    QFETCH(bool, executable);
    QFETCH(bool, shown);
    QCOMPARE(MatchesFilterPatterns(patterns, name, executable), shown);
  }

  void listsProgramsThenAllFiles() {
    TempDir folder;
    MakeFile(folder, "native2ascii", true);
    MakeFile(folder, "tool.exe", false);
    MakeFile(folder, "notes.txt", false);
    MakeFile(folder, "README", false);
    std::filesystem::create_directory(folder.File("bin"));

    ProgramFileDialog dialog(nullptr);
    QCOMPARE(dialog.nameFilters(),
             (QStringList{QStringLiteral("プログラム (*.exe)"), QStringLiteral("すべてのファイル (*.*)")}));
    dialog.setDirectory(QString::fromStdString(folder.path()));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QTRY_COMPARE(Listed(dialog, folder), (QStringList{"bin", "native2ascii", "tool.exe"}));

    // The person picks the second filter from the list.
    auto* filterList = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    QVERIFY(filterList);
    filterList->setFocus();
    QTest::keyClick(filterList, Qt::Key_Down);
    QCOMPARE(dialog.selectedNameFilter(), QStringLiteral("すべてのファイル (*.*)"));
    QTRY_COMPARE(Listed(dialog, folder), (QStringList{"README", "bin", "native2ascii", "notes.txt", "tool.exe"}));
  }

  void typedNameFindsTheExeFile_data() {
    QTest::addColumn<bool>("plainFileExists");
    QTest::addColumn<QString>("chosen");
    QTest::newRow("only the .exe exists") << false << "native2ascii.exe";
    QTest::newRow("both exist: the name as typed") << true << "native2ascii";
  }
  void typedNameFindsTheExeFile() {
    QFETCH(bool, plainFileExists);
    QFETCH(QString, chosen);
    TempDir folder;
    MakeFile(folder, "native2ascii.exe", false);
    if (plainFileExists) MakeFile(folder, "native2ascii", true);

    ProgramFileDialog dialog(nullptr);
    dialog.setDirectory(QString::fromStdString(folder.path()));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    FileNameField(dialog)->setText(QStringLiteral("native2ascii"));
    // A file-not-found message would block; answer it, so that the test fails instead of hanging.
    QTimer::singleShot(2000, [] {
      if (auto* message = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) message->reject();
    });
    dialog.accept();
    QCOMPARE(dialog.result(), int{QDialog::Accepted});
    QCOMPARE(dialog.selectedFiles(), QStringList{FilePath(folder, chosen.toStdString())});
  }

  void answersTheChosenPathInFileSystemBytes_data() {
    QTest::addColumn<bool>("accept");
    QTest::newRow("chosen") << true;
    QTest::newRow("cancelled") << false;
  }
  void answersTheChosenPathInFileSystemBytes() {
    QFETCH(bool, accept);
    TempDir folder;
    MakeFile(folder, "変換", true);
    QWidget owner;
    owner.show();
    QWidget* shownOwner = nullptr;
    QTimer::singleShot(0, [&] {
      auto* dialog = dynamic_cast<ProgramFileDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr) return;
      shownOwner = dialog->parentWidget();
      if (!accept) {
        dialog->reject();
        return;
      }
      dialog->setDirectory(QString::fromStdString(folder.path()));
      FileNameField(*dialog)->setText(QStringLiteral("変換"));
      dialog->accept();
    });
    const std::optional<std::string> chosen = propdesk::ChooseProgramFile(&owner);
    QCOMPARE(shownOwner, &owner);
    if (accept) {
      QVERIFY(chosen.has_value());
      QCOMPARE(*chosen, folder.File("変換"));
    } else {
      QVERIFY(!chosen.has_value());
    }
  }
};

QTEST_MAIN(ProgramChooserTest)
#include "program_chooser_test.moc"
