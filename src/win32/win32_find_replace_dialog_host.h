#pragma once
// The window side of the find and replace commands on Windows: the system's modeless Find and
// Replace dialogs over the main window. They report each button press and their closing to the
// owner with the registered message FindMessage(); the owner calls TakeDialogAction() and then
// FindReplaceCommands::OnFindReplaceMessage.
#include <windows.h>

#include <memory>

#include "search/find_replace_dialog_host.h"

// The system's dialog record (commdlg.h), whose FR_ macros would clash with the search state's.
struct tagFINDREPLACEW;

namespace propdesk {

struct SearchState;

class Win32FindReplaceDialogHost final : public FindReplaceDialogHost {
 public:
  // owner is the main window; state must outlive the host.
  Win32FindReplaceDialogHost(HWND owner, SearchState& state);
  ~Win32FindReplaceDialogHost() override;
  Win32FindReplaceDialogHost(const Win32FindReplaceDialogHost&) = delete;
  Win32FindReplaceDialogHost& operator=(const Win32FindReplaceDialogHost&) = delete;

  // The message the dialogs send their owner; 0 when it cannot be registered.
  static UINT FindMessage();

  bool IsDialogOpen() const override;
  void OpenFindDialog() override { Open(false); }
  void OpenReplaceDialog() override { Open(true); }
  // The dialog reports FR_DIALOGTERM through FindMessage() before it returns.
  void CloseDialog() override;
  void FocusDialog() override;

  // The open dialog, or null.
  HWND Dialog() const { return IsDialogOpen() ? dialog_ : nullptr; }
  // Copies what the dialog's last notification asks into the search state: the fields as the core
  // takes entered text (at most kMaxSearchTextBytes native bytes), the options and the action.
  void TakeDialogAction();

 private:
  void Open(bool replace);

  SearchState& state_;
  HWND dialog_ = nullptr;
  bool replacing_ = false;
  // Room for kMaxSearchTextBytes characters and the NUL.
  wchar_t findWhat_[80] = {};
  wchar_t replaceWith_[80] = {};
  // On the heap, so that it stays at one address while an open dialog uses it.
  std::unique_ptr<tagFINDREPLACEW> record_;
};

}  // namespace propdesk
