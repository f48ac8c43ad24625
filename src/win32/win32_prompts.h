#pragma once
// The person's side of the core through the system's message boxes and common file dialogs, each
// owned by the main window (a message box for the find or replace dialog by that dialog, while it
// is open) and captioned with the application title.
#include <windows.h>

#include <functional>

#include "common/prompts.h"

namespace propdesk {

// A common file dialog: the chosen path (UTF-8), or none when the person cancels or the dialog
// fails. filter is a bar-separated filter text of the string table; defaultExtension has no dot.
enum class FileChooserKind { Open, Save };
std::optional<std::string> ChooseFile(FileChooserKind kind, std::string_view filter,
                                      std::string_view defaultExtension, HWND owner);

class Win32Prompts final : public Prompts {
 public:
  // The owners are asked for at each prompt: the main window, and the open find or replace
  // dialog (null when none).
  Win32Prompts(std::function<HWND()> mainFrame, std::function<HWND()> findReplaceDialog)
      : mainFrame_(std::move(mainFrame)), findReplaceDialog_(std::move(findReplaceDialog)) {}

  MessageResult ShowMessageText(std::string_view text, MessageStyle style, MessageOwner owner) override;
  std::optional<std::string> ChooseFileToOpen(std::string_view filter, std::string_view defaultExtension) override;
  std::optional<std::string> ChooseFileToSave(std::string_view filter, std::string_view defaultExtension) override;

 private:
  std::function<HWND()> mainFrame_;
  std::function<HWND()> findReplaceDialog_;
};

}  // namespace propdesk
