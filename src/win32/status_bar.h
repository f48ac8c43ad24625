#pragma once
// The status bar at the frame's bottom edge: the caret's line:column on the left, the character
// at the caret and the document's file format on the right, and menu help while a menu is open.
#include <windows.h>

#include <string>
#include <string_view>

namespace propdesk {

class StatusBar {
 public:
  // Creates the bar in parent; Window() is null when that fails.
  explicit StatusBar(HWND parent);

  HWND Window() const { return bar_; }

  // Fits the panes to the bar after it has placed itself at the parent's bottom edge.
  void Layout();
  void ShowPosition(std::string_view text);
  void ShowCaretCharacter(std::string_view character);
  void ShowFileFormat(std::string_view format);
  // While a menu is open: the help text of the highlighted item (empty for a popup or a
  // separator); ShowMenuClosed brings the panes back as they were.
  void ShowMenuHelp(std::string_view help);
  void ShowMenuClosed();

 private:
  void ShowInfo();

  HWND bar_;
  std::wstring info_;
  std::string character_;
  std::string format_;
};

}  // namespace propdesk
