#pragma once
// The find and replace commands of the main window: opening the Find and Replace dialogs, find up
// and find down with the remembered text, and carrying out what a dialog's buttons ask, with the
// messages that report the outcome.
//
// Errors in the search layer: a search that finds nothing, or lacks the memory to look, answers
// "no match" (false, no position, no replacement) and leaves the view as it was; only these
// commands tell the person, through the prompts.
#include <cstddef>
#include <string_view>

#include "common/prompts.h"
#include "document/text_view.h"
#include "search/find_replace_dialog_host.h"
#include "search/search_state.h"

namespace propdesk {

class FindReplaceCommands {
 public:
  // All four must outlive the commands; the state is the one the dialogs show and fill.
  FindReplaceCommands(TextView& view, Prompts& prompts, FindReplaceDialogHost& dialogs, SearchState& state);

  // Ctrl+F: opens the Find dialog unless a dialog is open.
  void OnEditFind();
  // Ctrl+H: opens the Replace dialog, searching downwards, unless a dialog is open.
  void OnEditReplace();
  // Shift+F3 and F3: set the direction in the search state and find the previous or next match of
  // the remembered text; with no text yet, act as OnEditFind.
  void OnEditFindUp();
  void OnEditFindDown();
  // Carries out the action a dialog recorded in the search state: Find Next, Replace or Replace All.
  // The dialog may call it again from within, while being closed; that call does nothing.
  void OnFindReplaceMessage();

 private:
  void FindWithoutDialog(bool down);
  void ShowNotFoundOverDialog();
  void RunReplaceAll();
  void ShowNotFound(std::string_view findWhat, MessageOwner owner);

  TextView& view_;
  Prompts& prompts_;
  FindReplaceDialogHost& dialogs_;
  SearchState& state_;
};

}  // namespace propdesk
