#include "win32/win32_find_replace_dialog_host.h"

// Before the system's header, whose FR_ macros would otherwise rewrite the state's own constants
// (they have the same values).
#include "search/search_state.h"

#include <commdlg.h>

#include <algorithm>
#include <string>

#include "convert/view_text.h"

namespace propdesk {
namespace {

constexpr DWORD kActions = FR_FINDNEXT | FR_REPLACE | FR_REPLACEALL;

// Shows native text in a dialog field of the record, cut to what the field holds.
template <std::size_t N>
void ShowNative(wchar_t (&field)[N], const std::string& native) {
  const std::u16string text = NativeToViewText(CutToWholeCharacters(native, kMaxSearchTextBytes), ViewLineBreak::CrLf);
  const std::size_t length = std::min(text.size(), N - 1);
  std::copy_n(text.begin(), length, field);
  field[length] = L'\0';
}

// What a dialog field holds, as native text entered by the person.
std::string EnteredNative(const wchar_t* field) {
  const std::u16string_view text(reinterpret_cast<const char16_t*>(field), std::char_traits<wchar_t>::length(field));
  return ViewTextToNative(FitEnteredText(text, kMaxSearchTextBytes), ViewLineBreak::CrLf);
}

}  // namespace

Win32FindReplaceDialogHost::Win32FindReplaceDialogHost(HWND owner, SearchState& state)
    : state_(state), record_(std::make_unique<FINDREPLACEW>()) {
  record_->lStructSize = sizeof(FINDREPLACEW);
  record_->hwndOwner = owner;
  record_->hInstance = GetModuleHandleW(nullptr);
  record_->Flags = FR_DOWN | FR_HIDEWHOLEWORD;
  record_->lpstrFindWhat = findWhat_;
  record_->lpstrReplaceWith = replaceWith_;
  record_->wFindWhatLen = static_cast<WORD>(std::size(findWhat_));
  record_->wReplaceWithLen = static_cast<WORD>(std::size(replaceWith_));
}

Win32FindReplaceDialogHost::~Win32FindReplaceDialogHost() {
  if (IsDialogOpen()) DestroyWindow(dialog_);
}

UINT Win32FindReplaceDialogHost::FindMessage() {
  static const UINT message = RegisterWindowMessageW(FINDMSGSTRINGW);
  return message;
}

bool Win32FindReplaceDialogHost::IsDialogOpen() const { return dialog_ && IsWindow(dialog_); }

void Win32FindReplaceDialogHost::Open(bool replace) {
  if (IsDialogOpen()) return;
  ShowNative(findWhat_, state_.FindWhat);
  ShowNative(replaceWith_, state_.ReplaceWith);
  record_->Flags = (state_.Flags & (FR_DOWN | FR_MATCHCASE)) | FR_HIDEWHOLEWORD;
  replacing_ = replace;
  dialog_ = replace ? ReplaceTextW(record_.get()) : FindTextW(record_.get());
}

void Win32FindReplaceDialogHost::CloseDialog() {
  if (IsDialogOpen()) SendMessageW(dialog_, WM_CLOSE, 0, 0);
  dialog_ = nullptr;
}

void Win32FindReplaceDialogHost::FocusDialog() {
  if (IsDialogOpen()) SetFocus(dialog_);
}

void Win32FindReplaceDialogHost::TakeDialogAction() {
  // A closing dialog may leave the bit of its last press beside FR_DIALOGTERM.
  const DWORD action = record_->Flags & kActions;
  if ((record_->Flags & FR_DIALOGTERM) || !action) {
    // Its handle may soon name another window.
    state_.SetAction(FR_DIALOGTERM);
    dialog_ = nullptr;
    return;
  }
  state_.FindWhat = EnteredNative(findWhat_);
  if (replacing_) state_.ReplaceWith = EnteredNative(replaceWith_);
  state_.SetMatchesCase((record_->Flags & FR_MATCHCASE) != 0);
  // The Replace dialog offers no direction: it always searches down.
  state_.SetSearchesDown(replacing_ || (record_->Flags & FR_DOWN) != 0);
  state_.SetAction(action);
}

}  // namespace propdesk
