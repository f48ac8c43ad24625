#include "win32/external_command_wait.h"

#include <string>

#include "common/string_table.h"
#include "win32/center_window.h"
#include "platform/windows/file_access.h"

namespace propdesk {
namespace {

constexpr wchar_t kClassName[] = L"PropdeskCommandWait";
constexpr UINT_PTR kEndWatch = 1;
constexpr UINT kEndWatchIntervalMs = 50;
constexpr int kMargin = 12;
constexpr int kTextHeight = 20;
constexpr int kButtonWidth = 96;
constexpr int kButtonHeight = 26;
constexpr int kClientWidth = 320;

bool IsInput(UINT message) {
  return (message >= WM_KEYFIRST && message <= WM_KEYLAST) || (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
         (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK);
}

HWND AddChild(HWND parent, const wchar_t* className, const std::string& text, DWORD style, int id, RECT at) {
  HWND child = CreateWindowExW(0, className, windows::Wide(text).c_str(), WS_CHILD | WS_VISIBLE | style, at.left,
                               at.top, at.right - at.left, at.bottom - at.top, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
  return child;
}

}  // namespace

ExternalCommandWait::~ExternalCommandWait() {
  if (dialog_) DestroyWindow(dialog_);
}

bool ExternalCommandWait::ShouldCancel(std::chrono::milliseconds elapsed) {
  // A message handled below must not start a second command; should one do so, it just waits.
  if (polling_) return false;
  if (elapsed < lastElapsed_) cancelRequested_ = false;  // a new command has started
  lastElapsed_ = elapsed;
  const bool dialogShown = dialog_ && IsWindowVisible(dialog_);
  if (!dialogShown && !cancelRequested_ && elapsed >= kDialogDelay) ShowDialog();
  polling_ = true;
  Pump();
  polling_ = false;
  return cancelRequested_;
}

void ExternalCommandWait::Pump() {
  const bool dialogShown = dialog_ && IsWindowVisible(dialog_);
  // Until the dialog is up, the person's input stays queued; painting and sent messages go on.
  const UINT filter = dialogShown ? 0 : PM_QS_PAINT | PM_QS_SENDMESSAGE;
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE | filter)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    const bool forDialog = dialogShown && (msg.hwnd == dialog_ || IsChild(dialog_, msg.hwnd));
    if (IsInput(msg.message) && !forDialog) continue;
    if (forDialog && IsDialogMessageW(dialog_, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void ExternalCommandWait::ShowDialog() {
  if (!dialog_) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    RegisterClassW(&windowClass);  // fails harmlessly when the class exists
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    RECT frame{0, 0, kClientWidth, 3 * kMargin + kTextHeight + kButtonHeight};
    AdjustWindowRectEx(&frame, style, FALSE, WS_EX_DLGMODALFRAME);
    dialog_ = CreateWindowExW(WS_EX_DLGMODALFRAME, kClassName, windows::Wide(GetAppTitle()).c_str(), style,
                              CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top, owner_,
                              nullptr, GetModuleHandleW(nullptr), this);
    if (!dialog_) return;
    std::string text;
    LoadText(IDS_WAITING_FOR_COMMAND, text);
    AddChild(dialog_, L"STATIC", text, SS_LEFT, -1, {kMargin, kMargin, kClientWidth - kMargin, kMargin + kTextHeight});
    std::string cancel;
    LoadText(IDS_CANCEL, cancel);
    const int buttonTop = 2 * kMargin + kTextHeight;
    AddChild(dialog_, L"BUTTON", cancel, WS_TABSTOP | BS_DEFPUSHBUTTON, IDCANCEL,
             {kClientWidth - kMargin - kButtonWidth, buttonTop, kClientWidth - kMargin, buttonTop + kButtonHeight});
  }
  // Over the owner and on the screen, where its Cancel can be reached.
  CenterWindow(dialog_, owner_);
  SetWindowPos(dialog_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  SetFocus(GetDlgItem(dialog_, IDCANCEL));
  SetTimer(dialog_, kEndWatch, kEndWatchIntervalMs, nullptr);
}

LRESULT CALLBACK ExternalCommandWait::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* wait = reinterpret_cast<ExternalCommandWait*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) != IDCANCEL) break;
      [[fallthrough]];
    case WM_CLOSE:
      wait->cancelRequested_ = true;
      ShowWindow(window, SW_HIDE);
      return 0;
    case WM_TIMER:
      // Fires only from a message loop other than the check's own: the command has ended then.
      if (wParam != kEndWatch || wait->polling_) return 0;
      KillTimer(window, kEndWatch);
      ShowWindow(window, SW_HIDE);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace propdesk
