// The wait for an external conversion command that does not end: a small window over the frame
// takes the person's input and offers Cancel, which ends the command and leaves the document as
// it was.
#include <chrono>
#include <fstream>
#include <string>

#include "common/command_ids.h"
#include "frame_fixture.h"
#include "private_temp_folder.h"
#include "support/temp_dir.h"
#include "win32/external_command_wait.h"
#include "win32/frame_messages.h"

namespace propdesk {
namespace {

using test::Win32Frame;
using Clock = std::chrono::steady_clock;

// What the wait window looked like when it showed; filled from a timer inside the wait's own loop.
struct WaitWindowSeen {
  HWND frame = nullptr;
  HWND edit = nullptr;
  Clock::time_point commandStart;
  Clock::duration after{};
  HWND owner = nullptr;
  RECT place{};
  std::string text;
  std::string button;
  bool seen = false;
};
WaitWindowSeen* seenWaitWindow = nullptr;

std::string ChildText(HWND parent, const wchar_t* className) {
  wchar_t text[256] = {};
  GetWindowTextW(FindWindowExW(parent, nullptr, className, nullptr), text, 256);
  return windows::Narrow(text);
}

// Notes the wait window once it shows and types into the text behind it; at the next tick, once
// the typing has been handled, presses the window's Cancel as the person would.
void CALLBACK PressCancelOfTheWaitWindow(HWND, UINT, UINT_PTR timer, DWORD) {
  WaitWindowSeen& seen = *seenWaitWindow;
  HWND wait = GetLastActivePopup(seen.frame);
  if (wait == seen.frame || !IsWindowVisible(wait)) return;
  if (!seen.seen) {
    seen.after = Clock::now() - seen.commandStart;
    seen.owner = GetWindow(wait, GW_OWNER);
    GetWindowRect(wait, &seen.place);
    seen.text = ChildText(wait, L"STATIC");
    seen.button = ChildText(wait, L"BUTTON");
    seen.seen = true;
    PostMessageW(seen.edit, WM_CHAR, 'z', 0);
    return;
  }
  KillTimer(nullptr, timer);
  SendMessageW(FindWindowExW(wait, nullptr, L"BUTTON", nullptr), BM_CLICK, 0, 0);
}

// The ids the hanging command wrote: its own and that of the copy of itself it started.
bool ReadIds(const std::string& path, long& command, long& copy) {
  std::ifstream in(test::FileSystemPath(path));
  return static_cast<bool>(in >> command >> copy);
}

TEST_F(Win32Frame, CancelInTheWaitWindowEndsAHangingConverterAndKeepsTheDocument) {
  test::TempDir folder;
  test::PrivateTempFolder temp;
  const std::string opened = folder.File("opened.properties");
  const std::string next = folder.File("next.properties");
  test::WriteFileBytes(opened, "key=\\u3042");
  test::WriteFileBytes(next, "other=\\u3044");
  GetSettings().ReadOnlyOpen = false;
  SendMessageW(frame->Window(), WM_OPENFILE, 0, reinterpret_cast<LPARAM>(opened.c_str()));
  // Half off the screen: the wait window must still be whole on it.
  MoveWindow(frame->Window(), -300, 100, 500, 300, TRUE);
  SetForegroundWindow(frame->Window());
  SetFocus(edit);
  ASSERT_EQ(ViewText(), u"key=あ");

  const std::string ids = folder.File("ids");
  GetSettings().UseNative2Ascii = true;
  GetSettings().Native2AsciiPath = std::string(PROPDESK_COMMAND_HELPER) + " hang " + ids;
  prompts.chosenPaths = {next};
  WaitWindowSeen seen;
  seen.frame = frame->Window();
  seen.edit = edit;
  seen.commandStart = Clock::now();
  seenWaitWindow = &seen;
  const UINT_PTR timer = SetTimer(nullptr, 0, 20, PressCancelOfTheWaitWindow);
  Command(ID_FILE_OPEN);
  KillTimer(nullptr, timer);
  seenWaitWindow = nullptr;

  ASSERT_TRUE(seen.seen) << "no wait window";
  EXPECT_EQ(GetFocus(), edit) << "the keys do not go back to the text";
  EXPECT_GE(seen.after, ExternalCommandWait::kDialogDelay);
  EXPECT_EQ(seen.owner, frame->Window());
  RECT workArea{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
  EXPECT_EQ(seen.place.left, workArea.left);
  EXPECT_GT(seen.place.top, 100);  // over the frame
  EXPECT_EQ(seen.text, "外部コマンドの終了を待っています。");
  EXPECT_EQ(seen.button, "キャンセル");
  EXPECT_EQ(prompts.MessageTexts(), std::vector<std::string>{"変換を中止しました。"});
  EXPECT_EQ(ViewText(), u"key=あ");  // without the z typed while the wait window showed
  EXPECT_EQ(Title(), opened + " - Propdesk");
  HWND popup = GetLastActivePopup(frame->Window());
  EXPECT_TRUE(popup == frame->Window() || !IsWindowVisible(popup)) << "the wait window stayed";

  long command = 0;
  long copy = 0;
  ASSERT_TRUE(ReadIds(ids, command, copy)) << "the command never ran";
  EXPECT_TRUE(test::ProcessEnded(command));
  EXPECT_TRUE(test::ProcessEnded(copy));
  EXPECT_TRUE(temp.Leftovers().empty());
}

}  // namespace
}  // namespace propdesk
