#pragma once
// What the core needs of the person: message boxes and file choosers. The Qt shell implements it
// with message boxes and file dialogs; core tests use a test double that answers as scripted.
#include <optional>
#include <string>
#include <string_view>

namespace propdesk {

enum class MessageStyle {
  Ok,             // OK button, no icon
  OkInformation,  // OK button, information icon
  YesNoCancel,    // Yes, No and Cancel buttons, no icon
  YesNo,          // Yes and No buttons, no icon
};

// Results keep the numbers of the Windows message box, so the Windows window passes them through.
enum class MessageResult { Ok = 1, Cancel = 2, Yes = 6, No = 7 };

// The window that owns a message box: the main window, or the open find or replace dialog.
enum class MessageOwner { MainFrame, FindReplaceDialog };

class Prompts {
 public:
  virtual ~Prompts() = default;

  // Shows text (UTF-8) captioned with the application title.
  virtual MessageResult ShowMessageText(std::string_view text, MessageStyle style,
                                        MessageOwner owner = MessageOwner::MainFrame) = 0;

  // File choosers. filter is a bar-separated filter text of the string table, such as
  // "Java resources (*.properties)|*.properties|All files (*.*)|*.*|"; defaultExtension has no dot.
  // An empty optional means the person cancelled.
  virtual std::optional<std::string> ChooseFileToOpen(std::string_view filter, std::string_view defaultExtension) = 0;
  virtual std::optional<std::string> ChooseFileToSave(std::string_view filter, std::string_view defaultExtension) = 0;
};

// Shows string `id` of the string table; shows nothing and answers Cancel when it does not exist.
MessageResult ShowMessage(Prompts& prompts, int id, MessageStyle style,
                          MessageOwner owner = MessageOwner::MainFrame);

}  // namespace propdesk
