#include "qt/qt_find_replace_dialog_host.h"

#include "search/search_state.h"

namespace propdesk {

QtFindReplaceDialogHost::QtFindReplaceDialogHost(QWidget& owner, SearchState& state) : owner_(owner), state_(state) {}

QtFindReplaceDialogHost::~QtFindReplaceDialogHost() { delete dialog_; }

void QtFindReplaceDialogHost::Open(FindReplaceKind kind) {
  if (dialog_) return;
  dialog_ = new FindReplaceDialog(kind, state_, &owner_);
  connect(dialog_, &FindReplaceDialog::actionRequested, this, &QtFindReplaceDialogHost::dialogAction);
  connect(dialog_, &QDialog::finished, this, &QtFindReplaceDialogHost::OnDialogFinished);
  dialog_->show();
  FocusDialog();
  emit dialogChanged(dialog_);
}

void QtFindReplaceDialogHost::CloseDialog() {
  if (dialog_) dialog_->reject();
}

void QtFindReplaceDialogHost::FocusDialog() {
  if (!dialog_) return;
  dialog_->raise();
  dialog_->activateWindow();
}

void QtFindReplaceDialogHost::OnDialogFinished() {
  // The dialog may be closing from within its own button press: it goes once control is back in
  // the event loop, and reports nothing more until then.
  disconnect(dialog_, nullptr, this, nullptr);
  dialog_->deleteLater();
  dialog_ = nullptr;
  // The platform gives the activation back to the owner when an owned window goes.
  owner_.activateWindow();
  state_.SetAction(FR_DIALOGTERM);
  emit dialogAction();
  emit dialogChanged(nullptr);
}

}  // namespace propdesk
