#include "win32/main_menu.h"

#include "win32/resources/resource_ids.h"

namespace propdesk {

HMENU LoadMainMenu() { return LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME)); }

HACCEL LoadMainAccelerators() {
  return LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
}

}  // namespace propdesk
