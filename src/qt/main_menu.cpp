#include "qt/main_menu.h"

#include <initializer_list>
#include <string>

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QProxyStyle>

#include "common/string_table.h"

namespace propdesk {
namespace {

// Who acts on the keys shown after a menu text.
enum class Keys { Window, TextView };

struct MenuItem {
  CommandId id;
  const char* text;
  const char* keys = nullptr;  // shown after a tab; null when the item has none
  Keys handler = Keys::Window;
};

constexpr MenuItem kNew{ID_FILE_NEW, "新規(&N)", "Ctrl+N"};
constexpr MenuItem kOpen{ID_FILE_OPEN, "開く(&O)...", "Ctrl+O"};
constexpr MenuItem kSave{ID_FILE_SAVE, "上書き保存(&S)", "Ctrl+S"};
constexpr MenuItem kSaveAs{ID_FILE_SAVE_AS, "名前を付けて保存(&A)..."};
constexpr MenuItem kImport{ID_FILE_IMPORT, "インポート(&I)..."};
constexpr MenuItem kExport{ID_FILE_EXPORT, "エクスポート(&E)..."};
constexpr MenuItem kExit{ID_APP_EXIT, "アプリケーションの終了(&X)"};
constexpr MenuItem kUndo{ID_EDIT_UNDO, "元に戻す(&U)", "Ctrl+Z", Keys::TextView};
constexpr MenuItem kCut{ID_EDIT_CUT, "切り取り(&T)", "Ctrl+X", Keys::TextView};
constexpr MenuItem kCopy{ID_EDIT_COPY, "コピー(&C)", "Ctrl+C", Keys::TextView};
constexpr MenuItem kPaste{ID_EDIT_PASTE, "貼り付け(&P)", "Ctrl+V", Keys::TextView};
constexpr MenuItem kClear{ID_EDIT_CLEAR, "削除(&L)", "Del", Keys::TextView};
constexpr MenuItem kSelectAll{ID_EDIT_SELECT_ALL, "すべて選択(&A)", "Ctrl+A"};
constexpr MenuItem kFind{ID_EDIT_FIND, "検索(&F)...", "Ctrl+F"};
constexpr MenuItem kFindUp{ID_EDIT_FIND_UP, "上検索(&V)", "Shift+F3"};
constexpr MenuItem kFindDown{ID_EDIT_FIND_DOWN, "下検索(&N)", "F3"};
constexpr MenuItem kReplace{ID_EDIT_REPLACE, "置換(&R)...", "Ctrl+H"};
constexpr MenuItem kReadOnly{ID_EDIT_READONLY, "編集禁止(&B)", "Ctrl+R"};
constexpr MenuItem kSettings{ID_TOOL_SETTINGS, "設定(&S)..."};
constexpr MenuItem kAbout{ID_APP_ABOUT, "バージョン情報(&A)..."};

QAction* AddCommand(QMenu& menu, const MenuItem& item) {
  QString text = QString::fromUtf8(item.text);
  // The keys follow a tab, so the menu shows them as written. Keys the text view acts on itself
  // are only shown; the others become a shortcut that works while the main window has the focus.
  if (item.keys) text += u'\t' + QString::fromLatin1(item.keys);
  QAction* action = menu.addAction(text);
  action->setData(item.id);
  if (item.keys && item.handler == Keys::Window)
    action->setShortcut(QKeySequence(QString::fromLatin1(item.keys)));
  action->setShortcutContext(Qt::WindowShortcut);
  std::string help;
  if (LoadText(item.id, help, 256)) action->setStatusTip(QString::fromUtf8(help));
  return action;
}

void AddMenu(QMenuBar& bar, const char* title, std::initializer_list<const MenuItem*> items,
             std::map<CommandId, QAction*>& actions) {
  QMenu* menu = bar.addMenu(QString::fromUtf8(title));
  for (const MenuItem* item : items) {  // null stands for a separator
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
  AddMenu(bar, "ファイル(&F)", {&kNew, &kOpen, &kSave, &kSaveAs, nullptr, &kImport, &kExport, nullptr, &kExit},
          actions);
  AddMenu(bar, "編集(&E)",
          {&kUndo, nullptr, &kCut, &kCopy, &kPaste, &kClear, nullptr, &kSelectAll, nullptr, &kFind, &kFindUp,
           &kFindDown, &kReplace, nullptr, &kReadOnly},
          actions);
  AddMenu(bar, "ツール(&T)", {&kSettings}, actions);
  AddMenu(bar, "ヘルプ(&H)", {&kAbout}, actions);
  actions[ID_EDIT_READONLY]->setCheckable(true);
  // Made after the menus, so that it is destroyed after them.
  auto* style = new MenuStyle;
  style->setParent(&bar);
  for (QAction* menuAction : bar.actions()) menuAction->menu()->setStyle(style);
  return actions;
}

}  // namespace propdesk
