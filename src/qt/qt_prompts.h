#pragma once
// The person's side of the core's prompts: Qt message boxes and the file choosers.
#include <memory>

#include <QPointer>
#include <QWidget>

#include "common/prompts.h"

class QMessageBox;

namespace propdesk {

// A message box captioned with the application title, with the buttons and icon of style.
std::unique_ptr<QMessageBox> MakeMessageBox(std::string_view text, MessageStyle style, QWidget* owner);

class QtPrompts final : public Prompts {
 public:
  explicit QtPrompts(QWidget* mainFrame) : mainFrame_(mainFrame) {}

  // The open find or replace dialog, which owns the messages addressed to it; null when none is.
  void SetFindReplaceDialog(QWidget* dialog) { findReplaceDialog_ = dialog; }

  MessageResult ShowMessageText(std::string_view text, MessageStyle style, MessageOwner owner) override;
  std::optional<std::string> ChooseFileToOpen(std::string_view filter, std::string_view defaultExtension) override;
  std::optional<std::string> ChooseFileToSave(std::string_view filter, std::string_view defaultExtension) override;

 private:
  QWidget* mainFrame_;
  QPointer<QWidget> findReplaceDialog_;
};

}  // namespace propdesk
