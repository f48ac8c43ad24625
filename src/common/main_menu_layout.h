#pragma once
// The main window's menu as both windows show it: the menus in order, each item's text, the keys
// shown after it and who acts on those keys.
#include <array>
#include <vector>

#include "common/command_ids.h"

namespace propdesk {

// Who acts on the keys shown after a menu text: the window (an accelerator) or the text view
// itself (the keys are only shown).
enum class MenuKeys { Window, TextView };

struct MenuItem {
  CommandId id;
  const char* text;            // UTF-8, with '&' before the access key
  const char* keys = nullptr;  // shown after a tab; null when the item has none
  MenuKeys handler = MenuKeys::Window;
};

struct MenuLayout {
  const char* title;
  std::vector<const MenuItem*> items;  // null stands for a separator
};

inline constexpr MenuItem kMenuNew{ID_FILE_NEW, "新規(&N)", "Ctrl+N"};
inline constexpr MenuItem kMenuOpen{ID_FILE_OPEN, "開く(&O)...", "Ctrl+O"};
inline constexpr MenuItem kMenuSave{ID_FILE_SAVE, "上書き保存(&S)", "Ctrl+S"};
inline constexpr MenuItem kMenuSaveAs{ID_FILE_SAVE_AS, "名前を付けて保存(&A)..."};
inline constexpr MenuItem kMenuImport{ID_FILE_IMPORT, "インポート(&I)..."};
inline constexpr MenuItem kMenuExport{ID_FILE_EXPORT, "エクスポート(&E)..."};
inline constexpr MenuItem kMenuExit{ID_APP_EXIT, "アプリケーションの終了(&X)"};
inline constexpr MenuItem kMenuUndo{ID_EDIT_UNDO, "元に戻す(&U)", "Ctrl+Z", MenuKeys::TextView};
inline constexpr MenuItem kMenuCut{ID_EDIT_CUT, "切り取り(&T)", "Ctrl+X", MenuKeys::TextView};
inline constexpr MenuItem kMenuCopy{ID_EDIT_COPY, "コピー(&C)", "Ctrl+C", MenuKeys::TextView};
inline constexpr MenuItem kMenuPaste{ID_EDIT_PASTE, "貼り付け(&P)", "Ctrl+V", MenuKeys::TextView};
inline constexpr MenuItem kMenuClear{ID_EDIT_CLEAR, "削除(&L)", "Del", MenuKeys::TextView};
inline constexpr MenuItem kMenuSelectAll{ID_EDIT_SELECT_ALL, "すべて選択(&A)", "Ctrl+A"};
inline constexpr MenuItem kMenuFind{ID_EDIT_FIND, "検索(&F)...", "Ctrl+F"};
inline constexpr MenuItem kMenuFindUp{ID_EDIT_FIND_UP, "上検索(&V)", "Shift+F3"};
inline constexpr MenuItem kMenuFindDown{ID_EDIT_FIND_DOWN, "下検索(&N)", "F3"};
inline constexpr MenuItem kMenuReplace{ID_EDIT_REPLACE, "置換(&R)...", "Ctrl+H"};
inline constexpr MenuItem kMenuReadOnly{ID_EDIT_READONLY, "編集禁止(&B)", "Ctrl+R"};
inline constexpr MenuItem kMenuSettings{ID_TOOL_SETTINGS, "設定(&S)..."};
inline constexpr MenuItem kMenuAbout{ID_APP_ABOUT, "バージョン情報(&A)..."};

// The menu bar from left to right; the Edit menu is the second.
inline const std::array<MenuLayout, 4> kMainMenu = {{
    {"ファイル(&F)",
     {&kMenuNew, &kMenuOpen, &kMenuSave, &kMenuSaveAs, nullptr, &kMenuImport, &kMenuExport, nullptr, &kMenuExit}},
    {"編集(&E)",
     {&kMenuUndo, nullptr, &kMenuCut, &kMenuCopy, &kMenuPaste, &kMenuClear, nullptr, &kMenuSelectAll, nullptr,
      &kMenuFind, &kMenuFindUp, &kMenuFindDown, &kMenuReplace, nullptr, &kMenuReadOnly}},
    {"ツール(&T)", {&kMenuSettings}},
    {"ヘルプ(&H)", {&kMenuAbout}},
}};

}  // namespace propdesk
