#include "win32/main_menu.h"

#include <string>
#include <string_view>
#include <vector>

#include "common/main_menu_layout.h"
#include "platform/windows/file_access.h"

namespace propdesk {
namespace {

// The accelerator of keys such as "Ctrl+N", "Shift+F3" or "F3".
ACCEL AcceleratorOf(std::string_view keys, CommandId id) {
  ACCEL accel{FVIRTKEY, 0, static_cast<WORD>(id)};
  for (;;) {
    if (keys.starts_with("Ctrl+")) {
      accel.fVirt |= FCONTROL;
      keys.remove_prefix(5);
    } else if (keys.starts_with("Shift+")) {
      accel.fVirt |= FSHIFT;
      keys.remove_prefix(6);
    } else {
      break;
    }
  }
  accel.key = keys.size() == 1 ? static_cast<WORD>(keys[0]) : static_cast<WORD>(VK_F1 + std::stoi(std::string(keys.substr(1))) - 1);
  return accel;
}

}  // namespace

HMENU LoadMainMenu() {
  HMENU bar = CreateMenu();
  if (!bar) return nullptr;
  for (const MenuLayout& layout : kMainMenu) {
    HMENU popup = CreatePopupMenu();
    for (const MenuItem* item : layout.items) {
      if (!item) {
        AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
        continue;
      }
      std::string text = item->text;
      if (item->keys) text = text + '\t' + item->keys;
      AppendMenuW(popup, MF_STRING, static_cast<UINT_PTR>(item->id), windows::Wide(text).c_str());
    }
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), windows::Wide(layout.title).c_str());
  }
  return bar;
}

HACCEL LoadMainAccelerators() {
  std::vector<ACCEL> table;
  for (const MenuLayout& layout : kMainMenu) {
    for (const MenuItem* item : layout.items) {
      if (item && item->keys && item->handler == MenuKeys::Window) table.push_back(AcceleratorOf(item->keys, item->id));
    }
  }
  return CreateAcceleratorTableW(table.data(), static_cast<int>(table.size()));
}

}  // namespace propdesk
