#pragma once
// What the find and replace commands need of the window side that shows the modeless Find and
// Replace dialogs. At most one of the two is open at a time.
//
// A dialog opens showing the SearchState it shares with FindReplaceCommands: FindWhat, ReplaceWith
// (Replace only), FR_MATCHCASE and FR_DOWN (Find only). When a button is pressed it writes its
// fields and options into that state (the Replace dialog, which offers no direction, sets FR_DOWN),
// records the action with SearchState::SetAction (FR_FINDNEXT,
// FR_REPLACE or FR_REPLACEALL) and calls FindReplaceCommands::OnFindReplaceMessage.
namespace propdesk {

class FindReplaceDialogHost {
 public:
  virtual ~FindReplaceDialogHost() = default;

  virtual bool IsDialogOpen() const = 0;
  virtual void OpenFindDialog() = 0;
  virtual void OpenReplaceDialog() = 0;
  // Closes the open dialog; nothing when none is open. It may report FR_DIALOGTERM through
  // OnFindReplaceMessage before it returns.
  virtual void CloseDialog() = 0;
  // Gives the keyboard focus back to the open dialog, after a message box shown over it.
  virtual void FocusDialog() = 0;
};

}  // namespace propdesk
