#pragma once
// The window side of the find and replace commands in Qt: opens the one Find or Replace dialog
// over the main window and passes on what its buttons ask. Its signal plays the part of the
// notification message that a Windows find dialog sends its owner: dialogAction() asks the main window to run
// FindReplaceCommands::OnFindReplaceMessage on the action the dialog recorded in the search state.
#include <QObject>
#include <QPointer>

#include "search/find_replace_dialog_host.h"
#include "qt/dialogs/find_replace_dialog.h"

namespace propdesk {

struct SearchState;

class QtFindReplaceDialogHost final : public QObject, public FindReplaceDialogHost {
  Q_OBJECT

 public:
  // owner is the main window, which owns the dialogs; both arguments must outlive the host.
  QtFindReplaceDialogHost(QWidget& owner, SearchState& state);
  ~QtFindReplaceDialogHost() override;

  bool IsDialogOpen() const override { return dialog_ != nullptr; }
  void OpenFindDialog() override { Open(FindReplaceKind::Find); }
  void OpenReplaceDialog() override { Open(FindReplaceKind::Replace); }
  // Reports FR_DIALOGTERM through dialogAction() before it returns, as every closing does.
  void CloseDialog() override;
  void FocusDialog() override;

  // The open dialog; null when none is.
  FindReplaceDialog* Dialog() const { return dialog_; }

 signals:
  // The dialog recorded an action in the search state (FR_DIALOGTERM when it closed).
  void dialogAction();
  // A dialog opened (the dialog) or closed (null): messages addressed to the dialog and the
  // enabling of Find and Replace follow it.
  void dialogChanged(QWidget* openDialog);

 private:
  void Open(FindReplaceKind kind);
  void OnDialogFinished();

  QWidget& owner_;
  SearchState& state_;
  QPointer<FindReplaceDialog> dialog_;
};

}  // namespace propdesk
