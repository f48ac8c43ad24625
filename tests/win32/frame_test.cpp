// The Windows main window, created for real and driven with window messages as the person's keys
// and menus would drive it; the person's answers come from a scripted double.
#include <cstring>
#include <map>
#include <set>
#include <tuple>
#include <vector>

#include "common/command_ids.h"
#include "common/string_table.h"
#include "frame_fixture.h"
#include "support/properties_reader.h"
#include "support/temp_dir.h"
#include "win32/frame_messages.h"
#include "win32/main_menu.h"

namespace propdesk {
namespace {

using test::Win32Frame;

void SetClipboardText(HWND owner, const wchar_t* text) {
  ASSERT_TRUE(OpenClipboard(owner));
  EmptyClipboard();
  if (text) {
    const std::size_t bytes = (wcslen(text) + 1) * sizeof(wchar_t);
    HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, bytes);
    std::memcpy(GlobalLock(data), text, bytes);
    GlobalUnlock(data);
    SetClipboardData(CF_UNICODETEXT, data);
  }
  CloseClipboard();
}

TEST_F(Win32Frame, MenuTextsAndAcceleratorsAreThoseOfTheCommandTable) {
  const std::vector<std::pair<std::string, std::vector<std::pair<int, std::string>>>> menus = {
      {"ファイル(&F)",
       {{ID_FILE_NEW, "新規(&N)\tCtrl+N"}, {ID_FILE_OPEN, "開く(&O)...\tCtrl+O"}, {ID_FILE_SAVE, "上書き保存(&S)\tCtrl+S"},
        {ID_FILE_SAVE_AS, "名前を付けて保存(&A)..."}, {0, ""}, {ID_FILE_IMPORT, "インポート(&I)..."},
        {ID_FILE_EXPORT, "エクスポート(&E)..."}, {0, ""}, {ID_APP_EXIT, "アプリケーションの終了(&X)"}}},
      {"編集(&E)",
       {{ID_EDIT_UNDO, "元に戻す(&U)\tCtrl+Z"}, {0, ""}, {ID_EDIT_CUT, "切り取り(&T)\tCtrl+X"},
        {ID_EDIT_COPY, "コピー(&C)\tCtrl+C"}, {ID_EDIT_PASTE, "貼り付け(&P)\tCtrl+V"}, {ID_EDIT_CLEAR, "削除(&L)\tDel"},
        {0, ""}, {ID_EDIT_SELECT_ALL, "すべて選択(&A)\tCtrl+A"}, {0, ""}, {ID_EDIT_FIND, "検索(&F)...\tCtrl+F"},
        {ID_EDIT_FIND_UP, "上検索(&V)\tShift+F3"}, {ID_EDIT_FIND_DOWN, "下検索(&N)\tF3"},
        {ID_EDIT_REPLACE, "置換(&R)...\tCtrl+H"}, {0, ""}, {ID_EDIT_READONLY, "編集禁止(&B)\tCtrl+R"}}},
      {"ツール(&T)", {{ID_TOOL_SETTINGS, "設定(&S)..."}}},
      {"ヘルプ(&H)", {{ID_APP_ABOUT, "バージョン情報(&A)..."}}},
  };
  const auto text = [](HMENU menu, UINT position) {
    wchar_t buffer[128] = {};
    GetMenuStringW(menu, position, buffer, 128, MF_BYPOSITION);
    return windows::Narrow(buffer);
  };
  HMENU bar = GetMenu(frame->Window());
  ASSERT_EQ(GetMenuItemCount(bar), static_cast<int>(menus.size()));
  for (UINT m = 0; m < menus.size(); ++m) {
    EXPECT_EQ(text(bar, m), menus[m].first);
    HMENU popup = GetSubMenu(bar, static_cast<int>(m));
    ASSERT_EQ(GetMenuItemCount(popup), static_cast<int>(menus[m].second.size()));
    for (UINT i = 0; i < menus[m].second.size(); ++i) {
      EXPECT_EQ(static_cast<int>(GetMenuItemID(popup, static_cast<int>(i))), menus[m].second[i].first);
      EXPECT_EQ(text(popup, i), menus[m].second[i].second);
    }
  }

  using Accelerator = std::tuple<int, int, int>;  // modifiers, virtual key, command
  const std::set<Accelerator> expected = {
      {FCONTROL, 'N', ID_FILE_NEW},       {FCONTROL, 'O', ID_FILE_OPEN},      {FCONTROL, 'S', ID_FILE_SAVE},
      {FCONTROL, 'F', ID_EDIT_FIND},      {FCONTROL, 'A', ID_EDIT_SELECT_ALL}, {FSHIFT, VK_F3, ID_EDIT_FIND_UP},
      {0, VK_F3, ID_EDIT_FIND_DOWN},      {FCONTROL, 'H', ID_EDIT_REPLACE},   {FCONTROL, 'R', ID_EDIT_READONLY}};
  HACCEL table = LoadMainAccelerators();
  std::vector<ACCEL> entries(static_cast<std::size_t>(CopyAcceleratorTableW(table, nullptr, 0)));
  CopyAcceleratorTableW(table, entries.data(), static_cast<int>(entries.size()));
  DestroyAcceleratorTable(table);
  std::set<Accelerator> found;
  for (const ACCEL& entry : entries) {
    EXPECT_TRUE(entry.fVirt & FVIRTKEY);
    found.insert({entry.fVirt & (FCONTROL | FSHIFT | FALT), entry.key, entry.cmd});
  }
  EXPECT_EQ(found, expected);
}

TEST_F(Win32Frame, MenuItemsAreGreyedByTheEnablingRules) {
  struct State {
    bool editForbidden, selection, clipboardText, canUndo;
    std::set<int> greyed;
  };
  const std::vector<State> states = {
      {false, false, false, false, {ID_EDIT_CLEAR, ID_EDIT_COPY, ID_EDIT_CUT, ID_EDIT_PASTE, ID_EDIT_UNDO}},
      {false, true, true, true, {}},
      {true, true, true, true, {ID_FILE_SAVE, ID_EDIT_CLEAR, ID_EDIT_CUT, ID_EDIT_PASTE, ID_EDIT_UNDO, ID_EDIT_REPLACE}},
      {true, false, false, false,
       {ID_FILE_SAVE, ID_EDIT_CLEAR, ID_EDIT_COPY, ID_EDIT_CUT, ID_EDIT_PASTE, ID_EDIT_UNDO, ID_EDIT_REPLACE}},
  };
  const int allCommands[] = {ID_FILE_NEW,        ID_FILE_OPEN,    ID_FILE_SAVE,      ID_FILE_SAVE_AS,  ID_FILE_IMPORT,
                             ID_FILE_EXPORT,     ID_APP_EXIT,     ID_EDIT_UNDO,      ID_EDIT_CUT,      ID_EDIT_COPY,
                             ID_EDIT_PASTE,      ID_EDIT_CLEAR,   ID_EDIT_SELECT_ALL, ID_EDIT_FIND,    ID_EDIT_FIND_UP,
                             ID_EDIT_FIND_DOWN,  ID_EDIT_REPLACE, ID_EDIT_READONLY,  ID_TOOL_SETTINGS, ID_APP_ABOUT};
  for (const State& state : states) {
    SCOPED_TRACE(::testing::Message() << state.editForbidden << state.selection << state.clipboardText
                                      << state.canUndo);
    SetViewText(L"abc");
    if (state.canUndo) SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"x"));
    SendMessageW(edit, EM_SETSEL, 0, state.selection ? 2 : 0);
    SetClipboardText(frame->Window(), state.clipboardText ? L"text" : nullptr);
    if (state.editForbidden) Command(ID_EDIT_READONLY);
    SendMessageW(frame->Window(), WM_INITMENU, reinterpret_cast<WPARAM>(GetMenu(frame->Window())), 0);
    for (const int id : allCommands) EXPECT_EQ(IsGreyed(id), state.greyed.count(id) == 1) << id;
    if (state.editForbidden) Command(ID_EDIT_READONLY);
  }
}

TEST_F(Win32Frame, StatusBarShowsMenuHelpThenThePositionInBytes) {
  // Line 1: two double-byte characters; line 2: "abc".
  SetViewText(L"あい\r\nabc");
  const std::vector<std::pair<WPARAM, std::string>> positions = {{0, "1:1"}, {2, "1:5"}, {7, "2:4"}};
  for (const auto& [index, text] : positions) {
    SendMessageW(edit, EM_SETSEL, index, static_cast<LPARAM>(index));
    SendMessageW(frame->Window(), WM_UPDATECARETPOS, 0, 0);
    EXPECT_EQ(PaneText(0), text);
  }
  SendMessageW(edit, EM_SETSEL, 1, 1);  // before い, seen by the edit view's hook
  EXPECT_EQ(PaneText(1).rfind("U+3044 \\u3044", 0), 0U) << PaneText(1);

  HMENU fileMenu = GetSubMenu(GetMenu(frame->Window()), 0);
  SendMessageW(frame->Window(), WM_MENUSELECT, MAKEWPARAM(ID_FILE_OPEN, MF_STRING), reinterpret_cast<LPARAM>(fileMenu));
  EXPECT_TRUE(SendMessageW(frame->StatusBarWindow(), SB_ISSIMPLE, 0, 0));
  // Wine reports the simple pane's text as that of the first pane.
  const std::string help = PaneText(SB_SIMPLEID).empty() ? PaneText(0) : PaneText(SB_SIMPLEID);
  EXPECT_EQ(help, "既存のリソース ファイルを開きます。");
  SendMessageW(frame->Window(), WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
  EXPECT_FALSE(SendMessageW(frame->StatusBarWindow(), SB_ISSIMPLE, 0, 0));
  EXPECT_EQ(PaneText(0), "2:4");
}

TEST_F(Win32Frame, OpenEditAndSaveKeepTheMeaningAndTheLineEnds) {
  struct Case {
    std::string name;
    std::string bytes;
    test::PropertiesEncoding encoding;
    bool crlfSaved;
  };
  const std::vector<Case> cases = {
      {"日本.properties", "# c\nkey=\\u65E5\\u672C\r\nlast=caf\\u00E9", test::PropertiesEncoding::Latin1, false},
      {"utf8.properties", "key=日本\r\nlast=café", test::PropertiesEncoding::Utf8, true},
  };
  GetSettings().ReadOnlyOpen = false;
  test::TempDir folder;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = folder.File(c.name);
    test::WriteFileBytes(path, c.bytes);
    prompts.chosenPaths.push_back(path);
    Command(ID_FILE_OPEN);
    ASSERT_TRUE(prompts.messages.empty()) << prompts.MessageTexts().front();
    // At the end of the text: a character the code page has and one it has not.
    SendMessageW(edit, EM_SETSEL, 0x7FFFFFFF, 0x7FFFFFFF);
    Type(u"あé");
    Command(ID_FILE_SAVE);
    ASSERT_TRUE(prompts.messages.empty()) << prompts.MessageTexts().front();

    const std::string saved = test::ReadFileBytes(path);
    test::PropertiesContent expected = test::ReadProperties(c.bytes, c.encoding);
    expected.entries[u"last"] += u"あé";
    EXPECT_EQ(test::Describe(test::ReadProperties(saved, c.encoding)), test::Describe(expected)) << saved;
    // The style of the file's first line break is kept.
    EXPECT_EQ(saved.find("\r\n") != std::string::npos, c.crlfSaved) << saved;
  }
}

TEST_F(Win32Frame, BackspaceAfterAndDeleteBeforeAKeptEscapeRemoveItWhole) {
  const auto backspace = [&] { SendMessageW(edit, WM_CHAR, VK_BACK, 0); };
  const auto del = [&] { SendMessageW(edit, WM_KEYDOWN, VK_DELETE, 0); };
  // key=é😀é on the second line, each a kept escape.
  SetViewText(L"#\r\nk=\\u00e9\\ud83d\\ude00\\u00E9");
  SendMessageW(edit, EM_SETSEL, 11, 11);
  backspace();
  EXPECT_EQ(ViewText(), u"#\r\nk=\\ud83d\\ude00\\u00E9");
  del();
  EXPECT_EQ(ViewText(), u"#\r\nk=\\u00E9");
  del();
  EXPECT_EQ(ViewText(), u"#\r\nk=");
  // Inside an escape, or after an escaped backslash, the keys remove one character.
  SetViewText(L"#\r\nk=\\u00E9");
  SendMessageW(edit, EM_SETSEL, 8, 8);
  backspace();
  del();
  EXPECT_EQ(ViewText(), u"#\r\nk=\\uE9");
  SetViewText(L"k=\\\\u00e9");
  SendMessageW(edit, EM_SETSEL, 9, 9);
  backspace();
  EXPECT_EQ(ViewText(), u"k=\\\\u00e");
}

TEST_F(Win32Frame, EditForbiddenRefusesEditsAndEscapeClosesWhenTheSettingAllows) {
  SetViewText(L"abc");
  Command(ID_EDIT_READONLY);
  HMENU editMenu = GetSubMenu(GetMenu(frame->Window()), 1);
  EXPECT_TRUE(GetMenuState(editMenu, ID_EDIT_READONLY, MF_BYCOMMAND) & MF_CHECKED);
  EXPECT_TRUE(GetWindowLongW(edit, GWL_STYLE) & ES_READONLY);
  SetClipboardText(frame->Window(), L"pasted");
  Type(u"xé");
  SendMessageW(edit, WM_PASTE, 0, 0);
  Command(ID_FILE_SAVE);  // does nothing: no chooser for the untitled document
  EXPECT_EQ(ViewText(), u"abc");
  EXPECT_TRUE(prompts.choosers.empty());

  for (const bool exitByEsc : {false, true}) {
    GetSettings().ExitByESC = exitByEsc;
    Type(u"\x1B");
    EXPECT_EQ(ClosePosted(), exitByEsc);
  }

  Command(ID_EDIT_READONLY);
  EXPECT_FALSE(GetMenuState(editMenu, ID_EDIT_READONLY, MF_BYCOMMAND) & MF_CHECKED);
  Type(u"é");
  SendMessageW(edit, WM_IME_CHAR, u'〜', 0);
  SendMessageW(edit, WM_PASTE, 0, 0);
  EXPECT_EQ(ViewText(), u"\\u00e9\\u301cpastedabc");
  // A lone CR goes to the clipboard as itself and comes back as a lone CR.
  SetViewText(L"a\uFDEEb");
  SendMessageW(edit, EM_SETSEL, 0, -1);
  SendMessageW(edit, WM_COPY, 0, 0);
  SendMessageW(edit, EM_SETSEL, 3, 3);
  SendMessageW(edit, WM_PASTE, 0, 0);
  EXPECT_EQ(ViewText(), u"a\uFDEEba\uFDEEb");
  Type(u"\x1B");
  EXPECT_FALSE(ClosePosted());
}

}  // namespace
}  // namespace propdesk
