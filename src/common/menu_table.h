#pragma once
// The main window's menu bar as one table that both windows build their menus from (the Windows
// resource script is generated from res/main_menu.inc, the table's source).
#include <span>

#include "common/command_ids.h"

namespace propdesk {

enum class MenuRowKind { Popup, Command, Separator };
// Who acts on the keys shown after a command's text: the window (a shortcut, an accelerator) or
// the text view itself (shown only).
enum class MenuKeys { Window, TextView };

struct MenuRow {
  MenuRowKind kind;
  const char* text = nullptr;  // UTF-8, with its access key after '&'
  CommandId id{};
  const char* keys = nullptr;  // shown after a tab, such as "Ctrl+N"; null when the item has none
  MenuKeys handler = MenuKeys::Window;
};

// In menu-bar order: each popup's title, then its commands and separators.
std::span<const MenuRow> MainMenuTable();

}  // namespace propdesk
