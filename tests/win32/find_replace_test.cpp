// Find and Replace in the Windows main window: the system's dialogs driven with their own control
// ids, F3 and Shift+F3, and the message loop's order for keys while a dialog is open.
// First: the search state's constants, which the system's FR_ macros would rewrite.
#include "frame_fixture.h"

#include <commdlg.h>
#include <dlgs.h>

#include <algorithm>
#include <chrono>
#include <initializer_list>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "common/command_ids.h"
#include "win32/app_entry.h"
#include "win32/main_menu.h"

namespace propdesk {
namespace {

// What the frame is sent, seen by a hook on the thread's sent messages: the commands of menus and
// accelerators, and the record of the dialogs' last notification.
struct SentToFrame {
  HWND frame = nullptr;
  std::vector<int> commands;
  FINDREPLACEW* record = nullptr;
};
SentToFrame* sentToFrame = nullptr;

LRESULT CALLBACK RecordSentToFrame(int code, WPARAM wParam, LPARAM lParam) {
  const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && sentToFrame && sent->hwnd == sentToFrame->frame) {
    if (sent->message == WM_COMMAND && sent->lParam == 0 && HIWORD(sent->wParam) <= 1) sentToFrame->commands.push_back(LOWORD(sent->wParam));
    if (sent->message == RegisterWindowMessageW(FINDMSGSTRINGW))
      sentToFrame->record = reinterpret_cast<FINDREPLACEW*>(sent->lParam);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

class Win32FindReplace : public test::Win32Frame {
 protected:
  void SetUp() override {
    test::Win32Frame::SetUp();
    sent.frame = frame->Window();
    sentToFrame = &sent;
    hook = SetWindowsHookExW(WH_CALLWNDPROC, RecordSentToFrame, nullptr, GetCurrentThreadId());
    ASSERT_TRUE(hook);
  }
  void TearDown() override {
    UnhookWindowsHookEx(hook);
    sentToFrame = nullptr;
    test::Win32Frame::TearDown();
  }

  HWND Dialog() const { return frame->FindReplaceDialog(); }
  void SetField(int field, const std::wstring& text) { SetDlgItemTextW(Dialog(), field, text.c_str()); }
  std::wstring Field(int field) const {
    wchar_t text[256] = {};
    GetDlgItemTextW(Dialog(), field, text, 256);
    return text;
  }
  void Press(int button) {
    HWND dialog = Dialog();
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
  }
  std::pair<DWORD, DWORD> Selection() const {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {start, end};
  }
  void Select(DWORD start, DWORD end) { SendMessageW(edit, EM_SETSEL, start, end); }
  bool FindAndReplaceGreyed() {
    SendMessageW(frame->Window(), WM_INITMENU, reinterpret_cast<WPARAM>(GetMenu(frame->Window())), 0);
    return IsGreyed(ID_EDIT_FIND) && IsGreyed(ID_EDIT_REPLACE);
  }
  // Reports a press of the open dialog as the system's dialog does, with the text it copies into
  // the record: Wine's dialogs pass their fields through the ANSI code page, the system's do not.
  void Report(DWORD action, const std::wstring& findWhat) {
    if (!sent.record) {  // the dialogs report with the frame's one record; a closing dialog shows it
      HWND dialog = Dialog();
      Press(IDCANCEL);
      ASSERT_FALSE(IsWindow(dialog));
      ASSERT_TRUE(sent.record);
      Command(ID_EDIT_FIND);
    }
    std::copy_n(findWhat.c_str(), findWhat.size() + 1, sent.record->lpstrFindWhat);
    sent.record->Flags = (sent.record->Flags & ~(FR_FINDNEXT | FR_DIALOGTERM)) | action;
    SendMessageW(frame->Window(), RegisterWindowMessageW(FINDMSGSTRINGW), 0, reinterpret_cast<LPARAM>(sent.record));
  }
  // The last message shown, with its owner; empty when none was.
  std::pair<std::string, MessageOwner> TakeMessage() {
    if (prompts.messages.empty()) return {"", MessageOwner::MainFrame};
    const auto last = prompts.messages.back();
    prompts.messages.clear();
    return {last.text, last.owner};
  }

  SentToFrame sent;
  HHOOK hook = nullptr;
};

using Shown = std::pair<std::string, MessageOwner>;

TEST_F(Win32FindReplace, FindFromTheDialogSelectsByByteOffsetsAndF3Repeats) {
  SetViewText(L"あa.a.a");
  Command(ID_EDIT_FIND);
  HWND opened = Dialog();
  ASSERT_TRUE(opened && IsWindow(opened));
  EXPECT_TRUE(FindAndReplaceGreyed());
  Command(ID_EDIT_FIND);
  EXPECT_EQ(Dialog(), opened);

  Select(0, 0);
  SetField(edt1, L"a");
  Press(IDOK);
  // The match after the double-byte character; the successful find closed the dialog.
  EXPECT_EQ(Selection(), std::make_pair(DWORD{1}, DWORD{2}));
  EXPECT_FALSE(IsWindow(opened));
  EXPECT_EQ(Dialog(), nullptr);
  EXPECT_FALSE(FindAndReplaceGreyed());

  Command(ID_EDIT_FIND_DOWN);
  EXPECT_EQ(Selection(), std::make_pair(DWORD{3}, DWORD{4}));
  Command(ID_EDIT_FIND_UP);
  EXPECT_EQ(Selection(), std::make_pair(DWORD{1}, DWORD{2}));
  EXPECT_TRUE(prompts.messages.empty());
  Command(ID_EDIT_FIND_UP);
  EXPECT_EQ(Selection(), std::make_pair(DWORD{1}, DWORD{2}));
  EXPECT_EQ(TakeMessage(), Shown("\"a\" が見つかりません。", MessageOwner::MainFrame));
  // Shift+F3 left the direction up for the dialog.
  Command(ID_EDIT_FIND);
  EXPECT_EQ(IsDlgButtonChecked(Dialog(), rad1), BST_CHECKED);
  EXPECT_EQ(Field(edt1), L"a");
}

std::string Repeated(const std::string& text, std::size_t times) {
  std::string repeated;
  for (std::size_t i = 0; i < times; ++i) repeated += text;
  return repeated;
}

TEST_F(Win32FindReplace, DialogFieldsTakeTextAsTheViewDoesWithinTheByteLimit) {
  const std::wstring thirteenAccents(13, L'é');  // 78 bytes as escapes
  const std::pair<std::wstring, std::string> cases[] = {
      {L"é", "\\u00e9"},
      {L"a" + thirteenAccents, "a" + Repeated("\\u00e9", 13)},
      {L"ab" + thirteenAccents, "ab" + Repeated("\\u00e9", 12)},
      {std::wstring(40, L'あ'), Repeated("あ", 39)},
  };
  for (const auto& [entered, findWhat] : cases) {
    SCOPED_TRACE(findWhat);
    Command(ID_EDIT_FIND);
    Report(FR_FINDNEXT, entered);  // the view is empty: nothing is found and the dialog stays
    ASSERT_TRUE(Dialog());
    EXPECT_EQ(TakeMessage(), Shown("\"" + findWhat + "\" が見つかりません。", MessageOwner::FindReplaceDialog));
    Press(IDCANCEL);
    EXPECT_EQ(Dialog(), nullptr);
    Command(ID_EDIT_FIND);  // shows the text as taken
    EXPECT_EQ(std::wstring(sent.record->lpstrFindWhat), windows::Wide(findWhat));
    Press(IDCANCEL);
  }
}

TEST_F(Win32FindReplace, ReplaceThenReplaceAllReportTheirOutcome) {
  SetViewText(L"あa.a.a");
  Select(0, 0);
  Command(ID_EDIT_REPLACE);
  ASSERT_TRUE(Dialog());
  EXPECT_TRUE(FindAndReplaceGreyed());
  SetField(edt1, L"a");
  SetField(edt2, L"bb");
  Press(psh1);  // the selection is no match: only the next match is selected
  EXPECT_EQ(Selection(), std::make_pair(DWORD{1}, DWORD{2}));
  Press(psh1);
  EXPECT_EQ(ViewText(), u"あbb.a.a");
  EXPECT_EQ(Selection(), std::make_pair(DWORD{4}, DWORD{5}));
  EXPECT_TRUE(prompts.messages.empty());

  Press(psh2);
  EXPECT_EQ(ViewText(), u"あbb.bb.bb");
  EXPECT_EQ(Selection(), std::make_pair(DWORD{0}, DWORD{0}));
  EXPECT_EQ(Dialog(), nullptr);
  EXPECT_EQ(TakeMessage(), Shown("2 個の文字列を置換しました。", MessageOwner::MainFrame));

  Command(ID_EDIT_REPLACE);
  SetField(edt1, L"z");
  Press(psh2);
  EXPECT_EQ(ViewText(), u"あbb.bb.bb");
  EXPECT_EQ(TakeMessage(), Shown("\"z\" が見つかりません。", MessageOwner::MainFrame));
}

// Presses the keys together, the first down first, and releases them in the opposite order, through
// the system's input queue; runs the program's own loop until the last release has been handled.
bool PressKeys(const MainFrame& frame, HACCEL accelerators, std::initializer_list<WORD> keys) {
  std::vector<INPUT> inputs;
  const auto add = [&](WORD key, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = flags;
    inputs.push_back(input);
  };
  for (const WORD key : keys) add(key, 0);
  for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) add(*key, KEYEVENTF_KEYUP);
  if (SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) != inputs.size()) return false;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (std::chrono::steady_clock::now() < deadline) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      HandleLoopMessage(frame, accelerators, msg);
      if (msg.message == WM_KEYUP && msg.wParam == *keys.begin()) return true;
    }
  }
  return false;
}

TEST_F(Win32FindReplace, KeysGoToTheFocusedDialogBeforeTheAccelerators) {
  SetViewText(L"a a");
  Select(0, 0);
  SetForegroundWindow(frame->Window());
  SetFocus(edit);
  ASSERT_EQ(GetFocus(), edit);
  HACCEL accelerators = LoadMainAccelerators();
  const auto press = [&](std::initializer_list<WORD> keys) {
    ASSERT_TRUE(PressKeys(*frame, accelerators, keys)) << "the keys did not arrive";
  };
  std::vector<int>& commands = sent.commands;

  press({VK_CONTROL, 'F'});
  ASSERT_TRUE(Dialog());
  ASSERT_EQ(GetFocus(), GetDlgItem(Dialog(), edt1));
  press({'A'});
  EXPECT_EQ(Field(edt1), L"a");
  commands.clear();
  for (const auto keys : {std::initializer_list<WORD>{VK_F3}, {VK_SHIFT, VK_F3}, {VK_CONTROL, 'F'}, {VK_CONTROL, 'R'}}) {
    press(keys);
  }
  EXPECT_TRUE(commands.empty());
  EXPECT_EQ(Selection(), std::make_pair(DWORD{0}, DWORD{0}));

  // Enter finds the first match; the dialog closes and the view has the focus again.
  press({VK_RETURN});
  EXPECT_EQ(Selection(), std::make_pair(DWORD{0}, DWORD{1}));
  EXPECT_EQ(Dialog(), nullptr);
  ASSERT_EQ(GetFocus(), edit);
  const struct {
    std::initializer_list<WORD> keys;
    int command;
    std::pair<DWORD, DWORD> selection;
  } fromTheView[] = {{{VK_F3}, ID_EDIT_FIND_DOWN, {2, 3}}, {{VK_SHIFT, VK_F3}, ID_EDIT_FIND_UP, {0, 1}}};
  for (const auto& k : fromTheView) {
    commands.clear();
    press(k.keys);
    EXPECT_EQ(commands, std::vector<int>{k.command}) << k.command;
    EXPECT_EQ(Selection(), k.selection) << k.command;
  }
  EXPECT_TRUE(prompts.messages.empty());
  DestroyAcceleratorTable(accelerators);
}

}  // namespace
}  // namespace propdesk
