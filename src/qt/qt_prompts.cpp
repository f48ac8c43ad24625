#include "qt/qt_prompts.h"

#include <QMessageBox>
#include <QString>

#include "common/string_table.h"
#include "qt/dialogs/file_chooser.h"

namespace propdesk {
namespace {

MessageResult ToMessageResult(int button) {
  switch (button) {
    case QMessageBox::Yes: return MessageResult::Yes;
    case QMessageBox::No: return MessageResult::No;
    case QMessageBox::Ok: return MessageResult::Ok;
    default: return MessageResult::Cancel;
  }
}

}  // namespace

std::unique_ptr<QMessageBox> MakeMessageBox(std::string_view text, MessageStyle style, QWidget* owner) {
  auto box = std::make_unique<QMessageBox>(owner);
  box->setWindowTitle(QString::fromUtf8(GetAppTitle()));
  // Paths and found texts may look like markup; they are shown as written.
  box->setTextFormat(Qt::PlainText);
  box->setText(QString::fromUtf8(text));
  switch (style) {
    case MessageStyle::Ok:
      box->setStandardButtons(QMessageBox::Ok);
      break;
    case MessageStyle::OkInformation:
      box->setIcon(QMessageBox::Information);
      box->setStandardButtons(QMessageBox::Ok);
      break;
    case MessageStyle::YesNoCancel:
      box->setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      box->setDefaultButton(QMessageBox::Yes);
      box->setEscapeButton(QMessageBox::Cancel);
      break;
    case MessageStyle::YesNo:
      box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      box->setDefaultButton(QMessageBox::No);
      box->setEscapeButton(QMessageBox::No);
      break;
  }
  return box;
}

MessageResult QtPrompts::ShowMessageText(std::string_view text, MessageStyle style, MessageOwner owner) {
  QWidget* ownerWidget = mainFrame_;
  if (owner == MessageOwner::FindReplaceDialog && findReplaceDialog_ && findReplaceDialog_->isVisible())
    ownerWidget = findReplaceDialog_;
  return ToMessageResult(MakeMessageBox(text, style, ownerWidget)->exec());
}

std::optional<std::string> QtPrompts::ChooseFileToOpen(std::string_view filter, std::string_view defaultExtension) {
  return ChooseFile(FileChooserKind::Open, filter, defaultExtension, mainFrame_);
}

std::optional<std::string> QtPrompts::ChooseFileToSave(std::string_view filter, std::string_view defaultExtension) {
  return ChooseFile(FileChooserKind::Save, filter, defaultExtension, mainFrame_);
}

}  // namespace propdesk
