// The settings dialog on the offscreen platform, saving into a real store file in a temporary
// XDG_CONFIG_HOME.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <memory>
#include <optional>

#include "settings/settings.h"
#include "qt/dialogs/settings_dialog.h"
#include "support/temp_dir.h"

using propdesk::GetSettings;
using propdesk::Settings;
using propdesk::SettingsDialog;

Q_DECLARE_METATYPE(Settings)

// Found by argument lookup from QCOMPARE.
namespace propdesk {

char* toString(const Settings& s) {
  return qstrdup(QStringLiteral("{ReadOnlyOpen %1, ExitByESC %2, UseNative2Ascii %3, path \"%4\", KeepUntouchedLines %5}")
                     .arg(s.ReadOnlyOpen)
                     .arg(s.ExitByESC)
                     .arg(s.UseNative2Ascii)
                     .arg(QString::fromStdString(s.Native2AsciiPath))
                     .arg(s.KeepUntouchedLines)
                     .toUtf8()
                     .constData());
}

}  // namespace propdesk

namespace {

Settings Opposite(const Settings& s) {
  return {!s.ReadOnlyOpen, !s.ExitByESC, !s.UseNative2Ascii, s.Native2AsciiPath + "x", !s.KeepUntouchedLines};
}

std::string PathOfBytes(std::size_t bytes) { return "/" + std::string(bytes - 1, 'a'); }
// "あ" is three bytes in UTF-8: the limit is counted in bytes, not characters.
std::string JapanesePathOfBytes(std::size_t bytes) {
  std::string path = "/";
  while (path.size() + 3 <= bytes) path += "あ";
  return path + std::string(bytes - path.size(), 'c');
}

// The dialog's controls, found by their ids.
struct Controls {
  explicit Controls(SettingsDialog& dialog)
      : readOnlyOpen(dialog.findChild<QCheckBox*>(QStringLiteral("IDC_READONLYOPEN"))),
        exitByEsc(dialog.findChild<QCheckBox*>(QStringLiteral("IDC_EXITBYESC"))),
        useNative2Ascii(dialog.findChild<QCheckBox*>(QStringLiteral("IDC_USENATIVE2ASCII"))),
        pathLabel(dialog.findChild<QLabel*>(QStringLiteral("IDC_PATHLABEL"))),
        pathField(dialog.findChild<QLineEdit*>(QStringLiteral("IDC_NATIVE2ASCIIPATH"))),
        browse(dialog.findChild<QPushButton*>(QStringLiteral("IDC_BROWSE"))),
        keepUntouchedLines(dialog.findChild<QCheckBox*>(QStringLiteral("IDC_KEEPUNTOUCHEDLINES"))) {
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
      if (button->text() == QStringLiteral("OK")) ok = button;
      if (button->text() == QStringLiteral("キャンセル")) cancel = button;
    }
  }

  // Sets the controls to show `wanted`, as a person would: clicking boxes and typing the path.
  void Enter(const Settings& wanted) const {
    for (auto [box, on] : {std::pair{readOnlyOpen, wanted.ReadOnlyOpen}, {exitByEsc, wanted.ExitByESC},
                           {useNative2Ascii, wanted.UseNative2Ascii},
                           {keepUntouchedLines, wanted.KeepUntouchedLines}}) {
      if (box->isChecked() != on) QTest::mouseClick(box, Qt::LeftButton);
    }
    pathField->setText(QString::fromStdString(wanted.Native2AsciiPath));
  }

  bool PathControlsEnabled() const { return pathLabel->isEnabled() && pathField->isEnabled() && browse->isEnabled(); }
  bool PathControlsDisabled() const {
    return !pathLabel->isEnabled() && !pathField->isEnabled() && !browse->isEnabled();
  }

  QCheckBox* readOnlyOpen;
  QCheckBox* exitByEsc;
  QCheckBox* useNative2Ascii;
  QLabel* pathLabel;
  QLineEdit* pathField;
  QPushButton* browse;
  QCheckBox* keepUntouchedLines;
  QPushButton* ok = nullptr;
  QPushButton* cancel = nullptr;
};

// A chooser standing in for the person: answers as told and remembers who asked.
struct ScriptedChooser {
  std::optional<std::string> answer;
  QWidget* owner = nullptr;
  int calls = 0;

  propdesk::ProgramChooser Function() {
    return [this](QWidget* asking) {
      owner = asking;
      ++calls;
      return answer;
    };
  }
};

}  // namespace

class SettingsDialogTest : public QObject {
  Q_OBJECT

 private:
  std::string StoreFile() const { return configHome_.path() + "/Orvandi/Propdesk.reg"; }
  std::string StoreText() const { return propdesk::test::ReadFileBytes(StoreFile()); }

  std::unique_ptr<SettingsDialog> Open(ScriptedChooser& chooser) {
    auto dialog = std::make_unique<SettingsDialog>(nullptr, chooser.Function());
    dialog->show();
    if (!QTest::qWaitForWindowActive(dialog.get())) return nullptr;
    return dialog;
  }

  propdesk::test::TempDir configHome_;
  ScriptedChooser chooser_;

 private slots:
  void initTestCase() { qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(configHome_.path())); }

  void init() {
    std::filesystem::remove(StoreFile());
    GetSettings() = Settings{};
    chooser_ = ScriptedChooser{};
  }

  void showsTheRecord_data() {
    QTest::addColumn<Settings>("record");
    QTest::newRow("first run") << Settings{};
    QTest::newRow("all on") << Settings{true, true, true, "/opt/jdk/bin/native2ascii -encoding MS932"};
    QTest::newRow("converter off, path kept") << Settings{false, true, false, "/usr/bin/native2ascii"};
    QTest::newRow("Japanese path") << Settings{false, false, true, "/home/太郎/bin/native2ascii"};
    QTest::newRow("untouched lines kept") << Settings{true, false, false, "", true};
  }
  void showsTheRecord() {
    QFETCH(Settings, record);
    GetSettings() = record;
    const auto dialog = Open(chooser_);
    QVERIFY(dialog);
    const Controls controls(*dialog);
    QCOMPARE(dialog->windowTitle(), QStringLiteral("設定"));
    QCOMPARE(controls.readOnlyOpen->isChecked(), record.ReadOnlyOpen);
    QCOMPARE(controls.exitByEsc->isChecked(), record.ExitByESC);
    QCOMPARE(controls.useNative2Ascii->isChecked(), record.UseNative2Ascii);
    QCOMPARE(controls.pathField->text(), QString::fromStdString(record.Native2AsciiPath));
    QVERIFY(record.UseNative2Ascii ? controls.PathControlsEnabled() : controls.PathControlsDisabled());
    QCOMPARE(QApplication::focusWidget(), controls.readOnlyOpen);
  }

  void pathControlsFollowTheConverterBox() {
    GetSettings().Native2AsciiPath = "/usr/bin/native2ascii";
    const auto dialog = Open(chooser_);
    QVERIFY(dialog);
    const Controls controls(*dialog);
    QVERIFY(controls.PathControlsDisabled());
    QTest::mouseClick(controls.useNative2Ascii, Qt::LeftButton);
    QVERIFY(controls.PathControlsEnabled());
    QTest::mouseClick(controls.useNative2Ascii, Qt::LeftButton);
    QVERIFY(controls.PathControlsDisabled());
    QCOMPARE(controls.pathField->text(), QStringLiteral("/usr/bin/native2ascii"));
  }

  void okSavesAllFourValues_data() {
    QTest::addColumn<Settings>("before");
    QTest::addColumn<Settings>("entered");
    QTest::newRow("no change rewrites the defaults") << Settings{} << Settings{};
    QTest::newRow("everything changed") << Settings{} << Settings{false, true, true, "/opt/jdk/bin/native2ascii", true};
    QTest::newRow("path saved while unticked")
        << Settings{true, false, true, "/old/native2ascii"} << Settings{true, false, false, "/new/native2ascii"};
    QTest::newRow("empty path") << Settings{true, true, true, "/old/native2ascii"} << Settings{true, true, true, ""};
    QTest::newRow("quotes and backslashes")
        << Settings{} << Settings{true, false, true, R"("C:\jdk\bin\native2ascii" -encoding MS932)"};
  }
  void okSavesAllFourValues() {
    QFETCH(Settings, before);
    QFETCH(Settings, entered);
    GetSettings() = before;
    const auto dialog = Open(chooser_);
    QVERIFY(dialog);
    const Controls controls(*dialog);
    controls.Enter(entered);
    QTest::mouseClick(controls.ok, Qt::LeftButton);

    QCOMPARE(dialog->result(), 1);
    QVERIFY(!dialog->isVisible());
    QCOMPARE(GetSettings(), entered);
    const std::string text = StoreText();
    for (auto [name, on] : {std::pair{"ReadOnlyOpen", entered.ReadOnlyOpen}, {"ExitByESC", entered.ExitByESC},
                            {"UseNative2Ascii", entered.UseNative2Ascii}}) {
      const std::string line = "\"" + std::string(name) + "\"=dword:0000000" + (on ? "1" : "0");
      QVERIFY2(text.find(line) != std::string::npos, line.c_str());
    }
    QVERIFY(text.find("\"Native2AsciiPath\"=") != std::string::npos);
    GetSettings() = Opposite(entered);
    propdesk::LoadSettings();
    QCOMPARE(GetSettings(), entered);
  }

  // Enter presses the default button, OK, unless another push button has the focus.
  void enterPressesTheFocusedButton_data() {
    QTest::addColumn<bool>("cancelFocused");
    QTest::addColumn<int>("result");
    QTest::newRow("focus on a check box") << false << 1;
    QTest::newRow("focus on Cancel") << true << 2;
  }
  void enterPressesTheFocusedButton() {
    QFETCH(bool, cancelFocused);
    QFETCH(int, result);
    const auto dialog = Open(chooser_);
    QVERIFY(dialog);
    const Controls controls(*dialog);
    QTest::mouseClick(controls.exitByEsc, Qt::LeftButton);
    if (cancelFocused) controls.cancel->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(dialog->result(), result);
    QCOMPARE(GetSettings().ExitByESC, result == 1);
  }

  void cancelChangesNothing_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("Cancel button") << QStringLiteral("button");
    QTest::newRow("ESC") << QStringLiteral("escape");
    QTest::newRow("close box") << QStringLiteral("close");
  }
  void cancelChangesNothing() {
    QFETCH(QString, how);
    const Settings before{true, false, true, "/old/native2ascii"};
    GetSettings() = before;
    chooser_.answer = "/chosen/native2ascii";
    const auto dialog = Open(chooser_);
    QVERIFY(dialog);
    const Controls controls(*dialog);
    controls.Enter(Opposite(before));
    QTest::mouseClick(controls.useNative2Ascii, Qt::LeftButton);
    QTest::mouseClick(controls.browse, Qt::LeftButton);
    QCOMPARE(controls.pathField->text(), QStringLiteral("/chosen/native2ascii"));

    if (how == QStringLiteral("button")) QTest::mouseClick(controls.cancel, Qt::LeftButton);
    if (how == QStringLiteral("escape")) QTest::keyClick(dialog.get(), Qt::Key_Escape);
    if (how == QStringLiteral("close")) dialog->close();

    QCOMPARE(dialog->result(), 2);
    QVERIFY(!dialog->isVisible());
    QCOMPARE(GetSettings(), before);
    QVERIFY(!std::filesystem::exists(StoreFile()));
  }

  void pathLengthIsCountedInBytes_data() {
    QTest::addColumn<std::string>("entered");
    QTest::addColumn<bool>("taken");
    QTest::newRow("258 bytes") << PathOfBytes(258) << true;
    QTest::newRow("259 bytes") << PathOfBytes(259) << false;
    QTest::newRow("300 bytes") << PathOfBytes(300) << false;
    QTest::newRow("258 bytes, 86 characters") << JapanesePathOfBytes(258) << true;
    QTest::newRow("259 bytes, 87 characters") << JapanesePathOfBytes(259) << false;
  }
  void pathLengthIsCountedInBytes() {
    QFETCH(std::string, entered);
    QFETCH(bool, taken);
    GetSettings() = Settings{true, false, true, "/old/native2ascii"};
    const auto dialog = Open(chooser_);
    QVERIFY(dialog);
    const Controls controls(*dialog);
    const Settings entry{false, true, true, entered};
    controls.Enter(entry);
    QTest::mouseClick(controls.ok, Qt::LeftButton);

    QCOMPARE(dialog->result(), 1);
    const Settings expected{false, true, true, taken ? entered : "/old/native2ascii"};
    QCOMPARE(GetSettings(), expected);
    GetSettings() = Settings{};
    propdesk::LoadSettings();
    QCOMPARE(GetSettings(), expected);
  }

  void browseFillsTheFieldOnly() {
    GetSettings() = Settings{true, false, true, "/old/native2ascii"};
    const auto dialog = Open(chooser_);
    QVERIFY(dialog);
    const Controls controls(*dialog);
    controls.pathField->setText(QStringLiteral("/typed/native2ascii"));
    QTest::mouseClick(controls.browse, Qt::LeftButton);
    QCOMPARE(chooser_.owner, dialog.get());
    QCOMPARE(controls.pathField->text(), QStringLiteral("/typed/native2ascii"));

    chooser_.answer = "/opt/jdk/bin/native2ascii";
    QTest::mouseClick(controls.browse, Qt::LeftButton);
    QCOMPARE(chooser_.calls, 2);
    QCOMPARE(controls.pathField->text(), QStringLiteral("/opt/jdk/bin/native2ascii"));
    QCOMPARE(GetSettings().Native2AsciiPath, "/old/native2ascii");

    QTest::mouseClick(controls.ok, Qt::LeftButton);
    QCOMPARE(GetSettings().Native2AsciiPath, "/opt/jdk/bin/native2ascii");
  }

  void browseAddsKeepSyntaxToTheOwnConverterWhereItFits_data() {
    QTest::addColumn<std::string>("chosen");
    QTest::addColumn<std::string>("entered");
    const std::string own = "/propdesk-native2ascii";
    QTest::newRow("own converter") << "/b/src/cli" + own << "/b/src/cli" + own + " -keepsyntax";
    QTest::newRow("filled to 258 bytes") << PathOfBytes(258 - 12 - own.size()) + own
                                         << PathOfBytes(258 - 12 - own.size()) + own + " -keepsyntax";
    QTest::newRow("one byte too long") << PathOfBytes(259 - 12 - own.size()) + own
                                       << PathOfBytes(259 - 12 - own.size()) + own;
    QTest::newRow("another program") << std::string("/b/propdesk-native2ascii-old") << std::string("/b/propdesk-native2ascii-old");
  }
  void browseAddsKeepSyntaxToTheOwnConverterWhereItFits() {
    QFETCH(std::string, chosen);
    QFETCH(std::string, entered);
    chooser_.answer = chosen;
    const auto dialog = Open(chooser_);
    QVERIFY(dialog);
    const Controls controls(*dialog);
    QTest::mouseClick(controls.useNative2Ascii, Qt::LeftButton);
    QTest::mouseClick(controls.browse, Qt::LeftButton);
    QTest::mouseClick(controls.ok, Qt::LeftButton);
    QCOMPARE(GetSettings().Native2AsciiPath, entered);
  }

  // A stored path that is not valid UTF-8 cannot be shown exactly; OK must not rewrite it.
  void untouchedPathKeepsItsBytes() {
    const std::string latin1Path = "/opt/caf\xe9/native2ascii";
    GetSettings() = Settings{true, false, true, latin1Path};
    const auto dialog = Open(chooser_);
    QVERIFY(dialog);
    QTest::mouseClick(Controls(*dialog).ok, Qt::LeftButton);
    QCOMPARE(GetSettings().Native2AsciiPath, latin1Path);
  }

  void mnemonicsReachTheirControls() {
    const auto dialog = Open(chooser_);
    QVERIFY(dialog);
    const Controls controls(*dialog);
    // A button's mnemonic clicks it after a short animation.
    QTest::keyClick(dialog.get(), Qt::Key_R, Qt::AltModifier);
    QTRY_VERIFY(!controls.readOnlyOpen->isChecked());
    QTest::keyClick(dialog.get(), Qt::Key_E, Qt::AltModifier);
    QTRY_VERIFY(controls.exitByEsc->isChecked());
    QTest::keyClick(dialog.get(), Qt::Key_N, Qt::AltModifier);
    QTRY_VERIFY(controls.useNative2Ascii->isChecked());
    QVERIFY(controls.PathControlsEnabled());
    QTest::keyClick(dialog.get(), Qt::Key_P, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), controls.pathField);
    QTest::keyClick(dialog.get(), Qt::Key_F, Qt::AltModifier);
    QTRY_COMPARE(chooser_.calls, 1);
    QTest::keyClick(dialog.get(), Qt::Key_K, Qt::AltModifier);
    QTRY_VERIFY(controls.keepUntouchedLines->isChecked());
  }

  void tabOrderFollowsTheLayout() {
    GetSettings().UseNative2Ascii = true;
    const auto dialog = Open(chooser_);
    QVERIFY(dialog);
    const Controls controls(*dialog);
    const QList<QWidget*> expected{controls.exitByEsc,          controls.useNative2Ascii, controls.pathField,
                                   controls.browse,             controls.keepUntouchedLines, controls.ok,
                                   controls.cancel,             controls.readOnlyOpen};
    for (QWidget* next : expected) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      QCOMPARE(QApplication::focusWidget(), next);
    }
  }

  // Every text is shown whole in the font found here, and no control covers another.
  void textsFitWithoutOverlap() {
    GetSettings().UseNative2Ascii = true;
    const auto dialog = Open(chooser_);
    QVERIFY(dialog);
    const Controls controls(*dialog);
    const QList<QWidget*> all{controls.readOnlyOpen, controls.exitByEsc, controls.useNative2Ascii, controls.pathLabel,
                              controls.pathField,    controls.browse,    controls.keepUntouchedLines, controls.ok,
                              controls.cancel};
    for (QWidget* control : all) {
      QVERIFY2(dialog->rect().contains(control->geometry()), qPrintable(control->objectName()));
      if (control != controls.pathField) QVERIFY(control->width() >= control->sizeHint().width());
      for (QWidget* other : all) {
        if (other != control) QVERIFY(!control->geometry().intersects(other->geometry()));
      }
    }
    QVERIFY(controls.ok->x() > controls.exitByEsc->geometry().right());
    QCOMPARE(controls.cancel->x(), controls.ok->x());
    QVERIFY(controls.cancel->y() > controls.ok->geometry().bottom());
  }
};

QTEST_MAIN(SettingsDialogTest)
#include "settings_dialog_test.moc"
