#include "win32/app_entry.h"

#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <memory>
#include <optional>
#include <string>

#include "platform/windows/file_access.h"
#include "settings/settings.h"
#include "win32/frame_messages.h"
#include "win32/main_frame.h"
#include "win32/main_menu.h"
#include "win32/win32_find_replace_dialog_host.h"

namespace propdesk {
namespace {

// The first argument of the program's command line (UTF-8), or none.
std::optional<std::string> FirstArgument() {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!arguments) return std::nullopt;
  std::optional<std::string> first;
  if (count >= 2) first = windows::Narrow(arguments[1]);
  LocalFree(arguments);
  return first;
}

}  // namespace

void HandleLoopMessage(const MainFrame& frame, HACCEL accelerators, MSG& msg) {
  HWND dialog = frame.FindReplaceDialog();
  if (dialog && IsDialogMessageW(dialog, &msg)) return;
  if (TranslateAcceleratorW(frame.Window(), accelerators, &msg)) return;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

int RunApplication() {
  if (Win32FindReplaceDialogHost::FindMessage() == 0) return 0;
  const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  LoadSettings();

  const std::unique_ptr<MainFrame> frame = MainFrame::Create();
  if (!frame) return 0;
  // A table loaded from the resources is freed by the system with the program.
  HACCEL accelerators = LoadMainAccelerators();
  if (!accelerators) return 0;
  DragAcceptFiles(frame->Window(), TRUE);
  // Valid for the whole run, as the posted message requires.
  const std::optional<std::string> commandLineFile = FirstArgument();
  if (commandLineFile) PostMessageW(frame->Window(), WM_OPENFILE, 0, reinterpret_cast<LPARAM>(commandLineFile->c_str()));

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) HandleLoopMessage(*frame, accelerators, msg);
  return static_cast<int>(msg.wParam);
}

}  // namespace propdesk
