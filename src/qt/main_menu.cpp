#include "qt/main_menu.h"

#include <string>

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QProxyStyle>

#include "common/main_menu_layout.h"
#include "common/string_table.h"

namespace propdesk {
namespace {

QAction* AddCommand(QMenu& menu, const MenuItem& item) {
  QString text = QString::fromUtf8(item.text);
  // The keys follow a tab, so the menu shows them as written. Keys the text view acts on itself
  // are only shown; the others become a shortcut that works while the main window has the focus.
  if (item.keys) text += u'\t' + QString::fromLatin1(item.keys);
  QAction* action = menu.addAction(text);
  action->setData(item.id);
  if (item.keys && item.handler == MenuKeys::Window)
    action->setShortcut(QKeySequence(QString::fromLatin1(item.keys)));
  action->setShortcutContext(Qt::WindowShortcut);
  std::string help;
  if (LoadText(item.id, help, 256)) action->setStatusTip(QString::fromUtf8(help));
  return action;
}

void AddMenu(QMenuBar& bar, const MenuLayout& layout, std::map<CommandId, QAction*>& actions) {
  QMenu* menu = bar.addMenu(QString::fromUtf8(layout.title));
  for (const MenuItem* item : layout.items) {  // null stands for a separator
    if (item)
      actions[item->id] = AddCommand(*menu, *item);
    else
      menu->addSeparator();
  }
}

// Lets a greyed item be highlighted, so that its help text shows like that of any other item.
class MenuStyle : public QProxyStyle {
 public:
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returnData) const override {
    if (hint == SH_Menu_AllowActiveAndDisabled) return 1;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
  }
};

}  // namespace

std::map<CommandId, QAction*> BuildMainMenu(QMenuBar& bar) {
  std::map<CommandId, QAction*> actions;
  for (const MenuLayout& layout : kMainMenu) AddMenu(bar, layout, actions);
  actions[ID_EDIT_READONLY]->setCheckable(true);
  // Made after the menus, so that it is destroyed after them.
  auto* style = new MenuStyle;
  style->setParent(&bar);
  for (QAction* menuAction : bar.actions()) menuAction->menu()->setStyle(style);
  return actions;
}

}  // namespace propdesk
