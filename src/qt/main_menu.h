#pragma once
// The main window's commands, their menu and their shortcuts.
#include <map>

#include "common/command_ids.h"

class QAction;
class QMenuBar;
class QObject;

namespace propdesk {

// Fills bar with the File, Edit, Tools and Help menus and returns their actions by command. Each
// action's data is its command, its status tip is its menu help text, shown while it is highlighted, greyed or not; the
// keys after a tab in its text are its shortcut, except the edit keys that the text view handles
// itself. The edit-forbidden switch is checkable.
std::map<CommandId, QAction*> BuildMainMenu(QMenuBar& bar);

}  // namespace propdesk
