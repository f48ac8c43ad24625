#include "win32/status_bar.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/windows/file_access.h"
#include "win32/frame_messages.h"

namespace propdesk {
namespace {

constexpr WPARAM kPositionPane = 0;
constexpr WPARAM kInfoPane = 1;
constexpr WPARAM kSimplePane = 255;

void SetPaneText(HWND bar, WPARAM pane, const std::wstring& text) {
  SendMessageW(bar, SB_SETTEXTW, pane, reinterpret_cast<LPARAM>(text.c_str()));
}

// The width in pixels that text takes in the bar's font, with room for the pane's borders.
int TextWidth(HWND bar, const std::wstring& text) {
  HDC dc = GetDC(bar);
  const auto font = reinterpret_cast<HFONT>(SendMessageW(bar, WM_GETFONT, 0, 0));
  HGDIOBJ previous = font ? SelectObject(dc, font) : nullptr;
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  if (previous) SelectObject(dc, previous);
  ReleaseDC(bar, dc);
  return size.cx + 2 * GetSystemMetrics(SM_CXEDGE) + 8;
}

}  // namespace

StatusBar::StatusBar(HWND parent)
    : bar_(CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP | CCS_BOTTOM, 0, 0, 0,
                           0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_STATUSBAR)),
                           GetModuleHandleW(nullptr), nullptr)) {
  if (!bar_) return;
  Layout();
  // Empty and borderless until the first position refresh.
  SetPaneText(bar_, kPositionPane | SBT_NOBORDERS, L"");
}

void StatusBar::Layout() {
  RECT bounds{};
  GetClientRect(bar_, &bounds);
  const int grip = GetSystemMetrics(SM_CXVSCROLL);
  const int infoWidth = std::min(TextWidth(bar_, info_) + grip, static_cast<int>(bounds.right) * 2 / 3);
  const int edges[] = {std::max(0, static_cast<int>(bounds.right) - infoWidth), -1};
  SendMessageW(bar_, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(edges));
}

void StatusBar::ShowPosition(std::string_view text) { SetPaneText(bar_, kPositionPane, windows::Wide(text)); }

void StatusBar::ShowCaretCharacter(std::string_view character) {
  if (character == character_) return;
  character_ = character;
  ShowInfo();
}

void StatusBar::ShowFileFormat(std::string_view format) {
  format_ = format;
  ShowInfo();
}

void StatusBar::ShowInfo() {
  info_ = windows::Wide(character_.empty() ? format_ : character_ + "   " + format_);
  Layout();
  SetPaneText(bar_, kInfoPane, info_);
}

void StatusBar::ShowMenuHelp(std::string_view help) {
  SendMessageW(bar_, SB_SIMPLE, TRUE, 0);
  SetPaneText(bar_, kSimplePane | SBT_NOBORDERS, windows::Wide(help));
}

void StatusBar::ShowMenuClosed() { SendMessageW(bar_, SB_SIMPLE, FALSE, 0); }

}  // namespace propdesk
