#pragma once
// A window's menu item of a command, found in its menu bar.
#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include "qt/main_menu.h"

namespace propdesk::test {

inline QAction* MenuCommand(const QMainWindow& window, CommandId id) {
  for (const QAction* menu : window.menuBar()->actions()) {
    for (QAction* item : menu->menu()->actions()) {
      if (!item->isSeparator() && item->data().toInt() == id) return item;
    }
  }
  return nullptr;
}

}  // namespace propdesk::test
