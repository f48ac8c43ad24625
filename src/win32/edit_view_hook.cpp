#include "win32/edit_view_hook.h"

#include <commctrl.h>

#include <string>

#include "convert/view_text.h"
#include "win32/edit_control.h"
#include "win32/frame_messages.h"

namespace propdesk {
namespace {

constexpr UINT_PTR kHookId = 1;
constexpr WPARAM kEscape = 27;

bool IsReadOnly(HWND edit) { return (GetWindowLongW(edit, GWL_STYLE) & ES_READONLY) != 0; }

void Enter(HWND edit, std::u16string_view text) {
  ReplaceEditSelection(edit, EnteredViewText(text, ViewLineBreak::CrLf));
}

// The clipboard's text entered as typed text would be; false when it offers none.
bool PasteKeepingEveryCharacter(HWND edit) {
  if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(edit)) return false;
  std::u16string text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* units = static_cast<const char16_t*>(GlobalLock(data))) {
      text = units;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  Enter(edit, text);
  return true;
}

LRESULT CALLBACK HookProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  auto& owner = *reinterpret_cast<EditViewHook::Owner*>(data);
  switch (message) {
    case WM_CHAR: {
      if (wParam == kEscape) {
        // The control has no use for ESC; some versions of it would close its parent.
        if (owner.EscapeClosesWindow()) PostMessageW(owner.Window(), WM_CLOSE, 0, 0);
        return 0;
      }
      SendMessageW(owner.Window(), WM_UPDATECARETPOS, 0, 0);
      const char16_t unit[] = {static_cast<char16_t>(wParam)};
      if (!IsReadOnly(edit) && !IsEncodable(std::u16string_view(unit, 1))) {
        Enter(edit, std::u16string_view(unit, 1));
        owner.CaretMayHaveMoved();
        return 0;
      }
      break;
    }
    case WM_KEYUP:
    case WM_MOUSEMOVE:
      SendMessageW(owner.Window(), WM_UPDATECARETPOS, 0, 0);
      break;
    case WM_PASTE:
      if (IsReadOnly(edit)) return 0;
      if (PasteKeepingEveryCharacter(edit)) {
        owner.CaretMayHaveMoved();
        return 0;
      }
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(edit, HookProc, kHookId);
      return DefSubclassProc(edit, message, wParam, lParam);
    default:
      break;
  }
  const LRESULT result = DefSubclassProc(edit, message, wParam, lParam);
  switch (message) {
    case WM_KEYDOWN:
    case WM_CHAR:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_CUT:
    case WM_CLEAR:
    case WM_UNDO:
    case EM_UNDO:
    case EM_SETSEL:
      owner.CaretMayHaveMoved();
      break;
    case WM_MOUSEMOVE:
      if (wParam & MK_LBUTTON) owner.CaretMayHaveMoved();
      break;
    default:
      break;
  }
  return result;
}

}  // namespace

bool EditViewHook::Attach(HWND editView, Owner& owner) {
  return SetWindowSubclass(editView, HookProc, kHookId, reinterpret_cast<DWORD_PTR>(&owner)) != FALSE;
}

}  // namespace propdesk
