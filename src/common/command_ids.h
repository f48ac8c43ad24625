#pragma once
// The main window's commands, as both windows number them: the menu items, the accelerators and
// the string table's menu help texts (a string whose id equals a command id) share these ids.
namespace propdesk {

enum CommandId : int {
  ID_FILE_NEW = 57600,
  ID_FILE_OPEN = 57601,
  ID_FILE_SAVE = 57603,
  ID_FILE_SAVE_AS = 57604,
  ID_FILE_IMPORT = 1000,
  ID_FILE_EXPORT = 1001,
  ID_APP_EXIT = 57665,
  ID_EDIT_UNDO = 57643,
  ID_EDIT_CUT = 57635,
  ID_EDIT_COPY = 57634,
  ID_EDIT_PASTE = 57637,
  ID_EDIT_CLEAR = 57632,
  ID_EDIT_SELECT_ALL = 57642,
  ID_EDIT_FIND = 57636,
  ID_EDIT_FIND_UP = 1020,
  ID_EDIT_FIND_DOWN = 1021,
  ID_EDIT_REPLACE = 57641,
  ID_EDIT_READONLY = 1022,
  ID_TOOL_SETTINGS = 1040,
  ID_APP_ABOUT = 57664,
};

}  // namespace propdesk
