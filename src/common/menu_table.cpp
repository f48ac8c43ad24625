#include "common/menu_table.h"

namespace propdesk {
namespace {

using enum MenuRowKind;
using enum MenuKeys;

constexpr MenuRow kMainMenu[] = {
#include "res/main_menu.inc"
};

}  // namespace

std::span<const MenuRow> MainMenuTable() { return kMainMenu; }

}  // namespace propdesk
