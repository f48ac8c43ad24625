#include "qt/dialogs/settings_dialog.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <utility>

#include "settings/settings.h"

namespace propdesk {

SettingsDialog::SettingsDialog(QWidget* owner, ProgramChooser chooseProgram)
    : TemplateDialog(owner, QStringLiteral("設定"), 258, 97), chooseProgram_(std::move(chooseProgram)) {
  // Created in tab order.
  readOnlyOpen_ = new QCheckBox(QStringLiteral("ファイルを編集禁止状態で開く(&R)"), this);
  readOnlyOpen_->setObjectName(QStringLiteral("IDC_READONLYOPEN"));
  Place(readOnlyOpen_, 7, 7, 181, 10);

  exitByEsc_ = new QCheckBox(QStringLiteral("編集禁止のとき、ESCでアプリケーションを終了する(&E)"), this);
  exitByEsc_->setObjectName(QStringLiteral("IDC_EXITBYESC"));
  Place(exitByEsc_, 7, 21, 182, 10);

  useNative2Ascii_ = new QCheckBox(QStringLiteral("変換に native2ascii を使用する(&N)"), this);
  useNative2Ascii_->setObjectName(QStringLiteral("IDC_USENATIVE2ASCII"));
  Place(useNative2Ascii_, 7, 35, 182, 10);
  connect(useNative2Ascii_, &QCheckBox::clicked, this, &SettingsDialog::UpdatePathControls);

  pathLabel_ = new QLabel(QStringLiteral("実行ファイルのパス(&P):"), this);
  pathLabel_->setObjectName(QStringLiteral("IDC_PATHLABEL"));
  Place(pathLabel_, 17, 49, 148, 8);

  pathField_ = new QLineEdit(this);
  pathField_->setObjectName(QStringLiteral("IDC_NATIVE2ASCIIPATH"));
  Place(pathField_, 17, 60, 125, 14);
  pathLabel_->setBuddy(pathField_);

  browse_ = new QPushButton(QStringLiteral("参照(&F)..."), this);
  browse_->setObjectName(QStringLiteral("IDC_BROWSE"));
  Place(browse_, 147, 60, 37, 14);
  connect(browse_, &QPushButton::clicked, this, &SettingsDialog::OnBrowse);

  keepUntouchedLines_ = new QCheckBox(QStringLiteral("変更していない行は元のまま保存する(&K)"), this);
  keepUntouchedLines_->setObjectName(QStringLiteral("IDC_KEEPUNTOUCHEDLINES"));
  Place(keepUntouchedLines_, 7, 81, 182, 10);

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setDefault(true);
  Place(ok, 201, 7, 50, 14);
  connect(ok, &QPushButton::clicked, this, &SettingsDialog::OnOK);

  auto* cancel = new QPushButton(QStringLiteral("キャンセル"), this);
  Place(cancel, 201, 24, 50, 14);
  connect(cancel, &QPushButton::clicked, this, &SettingsDialog::reject);

  OnInitDialog();
}

void SettingsDialog::OnInitDialog() {
  const Settings& settings = GetSettings();
  readOnlyOpen_->setChecked(settings.ReadOnlyOpen);
  exitByEsc_->setChecked(settings.ExitByESC);
  useNative2Ascii_->setChecked(settings.UseNative2Ascii);
  keepUntouchedLines_->setChecked(settings.KeepUntouchedLines);
  shownPath_ = settings.Native2AsciiPath;
  pathField_->setText(QFile::decodeName(QByteArray::fromStdString(shownPath_)));
  UpdatePathControls();
  readOnlyOpen_->setFocus();
}

void SettingsDialog::UpdatePathControls() {
  const bool enabled = useNative2Ascii_->isChecked();
  pathLabel_->setEnabled(enabled);
  pathField_->setEnabled(enabled);
  browse_->setEnabled(enabled);
}

std::string SettingsDialog::PathFieldBytes() const {
  // A path that was left alone keeps its bytes, even those the field cannot show.
  if (pathField_->text() == QFile::decodeName(QByteArray::fromStdString(shownPath_))) return shownPath_;
  return QFile::encodeName(pathField_->text()).toStdString();
}

void SettingsDialog::OnOK() {
  Settings& settings = GetSettings();
  settings.ReadOnlyOpen = readOnlyOpen_->isChecked();
  settings.ExitByESC = exitByEsc_->isChecked();
  settings.UseNative2Ascii = useNative2Ascii_->isChecked();
  settings.KeepUntouchedLines = keepUntouchedLines_->isChecked();
  // A longer path is dropped without a word; the check boxes are still taken.
  if (std::string path = PathFieldBytes(); path.size() <= kMaxNative2AsciiPathBytes) {
    settings.Native2AsciiPath = std::move(path);
  }
  SaveSettings();
  done(kOk);
}

void SettingsDialog::OnBrowse() {
  if (std::optional<std::string> path = chooseProgram_(this)) {
    pathField_->setText(QFile::decodeName(QByteArray::fromStdString(WithConverterArguments(std::move(*path)))));
  }
}

int RunSettingsDialog(QWidget* owner, ProgramChooser chooseProgram) {
  SettingsDialog dialog(owner, std::move(chooseProgram));
  return dialog.exec();
}

}  // namespace propdesk
