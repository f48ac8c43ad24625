// The settings dialog through the real main window: the person turns the external converter on and
// points it at the project's own propdesk-native2ascii, then opens and saves a file through it; the
// saved bytes equal those of the built-in codec. A scripted person answers the file choosers.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "settings/settings.h"
#include "qt/dialogs/settings_dialog.h"
#include "qt/about_dialog.h"
#include "qt/edit_view_widget.h"
#include "qt/main_frame.h"
#include "support/menu_command.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"

namespace propdesk {
namespace {

using test::ReadFileBytes;

// What the person sets in the settings dialog.
struct Entry {
  bool readOnlyOpen;
  bool useNative2Ascii;
  QString path;
};

// Works the dialog as a person would: clicks the boxes that differ, retypes the path, presses OK.
void Fill(SettingsDialog& dialog, const Entry& entry) {
  for (auto [id, on] : {std::pair{"IDC_READONLYOPEN", entry.readOnlyOpen}, {"IDC_USENATIVE2ASCII", entry.useNative2Ascii}}) {
    auto* box = dialog.findChild<QCheckBox*>(QString::fromLatin1(id));
    if (box->isChecked() != on) QTest::mouseClick(box, Qt::LeftButton);
  }
  auto* field = dialog.findChild<QLineEdit*>(QStringLiteral("IDC_NATIVE2ASCIIPATH"));
  field->selectAll();
  QTest::keyClicks(field, entry.path);
  QTest::keyClick(&dialog, Qt::Key_Return);
}

}  // namespace

class SettingsEndToEndTest : public QObject {
  Q_OBJECT

 private:
  test::TempDir dir_;
  test::ScriptedPrompts prompts_;
  std::unique_ptr<MainFrame> frame_;

  // Runs a menu command while `work` handles the modal dialog it opens; the dialog's owner.
  QWidget* RunWithDialog(CommandId id, const std::function<void(QDialog&)>& work) {
    QWidget* owner = nullptr;
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr) return;
      owner = dialog->parentWidget();
      work(*dialog);
    });
    test::MenuCommand(*frame_, id)->trigger();
    return owner;
  }

  void ChangeSettings(const Entry& entry) {
    QWidget* owner = RunWithDialog(ID_TOOL_SETTINGS, [&](QDialog& dialog) {
      if (auto* settings = dynamic_cast<SettingsDialog*>(&dialog)) Fill(*settings, entry);
    });
    QCOMPARE(owner, frame_.get());
  }

  void SaveAs(const std::string& path) {
    prompts_.chosenPaths = {path};
    test::MenuCommand(*frame_, ID_FILE_SAVE_AS)->trigger();
  }

 private slots:
  void initTestCase() {
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(dir_.File("config")));
    GetSettings() = Settings{};
    frame_ = std::make_unique<MainFrame>(prompts_);
    frame_->show();
    QVERIFY(QTest::qWaitForWindowActive(frame_.get()));
  }
  void cleanupTestCase() { frame_.reset(); }

  void aboutBoxOpensOverTheWindow() {
    QString caption;
    QWidget* owner = RunWithDialog(ID_APP_ABOUT, [&](QDialog& dialog) {
      caption = dialog.windowTitle();
      QTest::keyClick(&dialog, Qt::Key_Return);
    });
    QCOMPARE(caption, QStringLiteral("バージョン情報"));
    QCOMPARE(owner, frame_.get());
  }

  void converterChosenInTheDialogOpensAndSaves() {
    const QString converter = QStringLiteral(PROPDESK_NATIVE2ASCII);
    ChangeSettings({false, true, converter});
    QVERIFY(GetSettings().UseNative2Ascii);
    GetSettings() = Settings{};
    LoadSettings();
    QCOMPARE(GetSettings(), (Settings{false, false, true, converter.toStdString()}));

    prompts_.chosenPaths = {PROPDESK_EXAMPLE_FILE};
    test::MenuCommand(*frame_, ID_FILE_OPEN)->trigger();
    QVERIFY2(prompts_.messages.empty(), prompts_.messages.empty() ? "" : prompts_.messages.front().text.c_str());
    TextView& text = frame_->View().textView();
    QVERIFY(!text.IsReadOnly());
    QVERIFY(text.GetText().find("app.title=\x92\x8d\x95\xb6") != std::string::npos);  // 注文 in code page 932
    text.SetSelection(0, 0);
    text.ReplaceSelection("added=\x92\xc7\x89\xc1 \x83\x65\x83\x58\x83\x67\r\n");  // 追加 テスト
    const std::string external = dir_.File("external.properties");
    SaveAs(external);

    ChangeSettings({false, false, converter});
    const std::string builtIn = dir_.File("built-in.properties");
    SaveAs(builtIn);

    QVERIFY(prompts_.messages.empty());
    const std::string saved = ReadFileBytes(external);
    QVERIFY(saved.starts_with("added=\\u8ffd\\u52a0 \\u30c6\\u30b9\\u30c8\n"));
    QCOMPARE(saved.substr(saved.find('\n') + 1), ReadFileBytes(PROPDESK_EXAMPLE_FILE));
    QCOMPARE(saved, ReadFileBytes(builtIn));
  }

  // The dialog's path is what the next conversion runs.
  void missingConverterFailsTheNextOpen() {
    ChangeSettings({false, true, QString::fromStdString(dir_.File("no-such-native2ascii"))});
    prompts_.chosenPaths = {PROPDESK_EXAMPLE_FILE};
    test::MenuCommand(*frame_, ID_FILE_OPEN)->trigger();
    QCOMPARE(prompts_.MessageTexts(), std::vector<std::string>{"外部コマンドの呼び出しに失敗しました。[code=2]"});
  }
};

}  // namespace propdesk

QTEST_MAIN(propdesk::SettingsEndToEndTest)
#include "settings_end_to_end_test.moc"
