#include "win32/win32_prompts.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "common/string_table.h"
#include "platform/windows/file_access.h"

namespace propdesk {
namespace {

// The current folder stays: a document named relative to it (from the command line) must still
// be saved to its own file after a chooser was used for another folder.
constexpr DWORD kOpenFlags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
constexpr DWORD kSaveFlags = OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;

UINT MessageBoxStyle(MessageStyle style) {
  switch (style) {
    case MessageStyle::Ok: return MB_OK;
    case MessageStyle::OkInformation: return MB_OK | MB_ICONINFORMATION;
    case MessageStyle::YesNoCancel: return MB_YESNOCANCEL;
    case MessageStyle::YesNo: return MB_YESNO | MB_DEFBUTTON2;
  }
  return MB_OK;
}

MessageResult ToMessageResult(int answer) {
  switch (answer) {
    case IDOK: return MessageResult::Ok;
    case IDYES: return MessageResult::Yes;
    case IDNO: return MessageResult::No;
    default: return MessageResult::Cancel;
  }
}

// The dialog's filter list: each bar becomes a NUL, and a second NUL ends the list.
std::wstring FilterList(std::string_view filter) {
  std::wstring list = windows::Wide(filter);
  std::replace(list.begin(), list.end(), L'|', L'\0');
  list += L'\0';
  return list;
}

}  // namespace

std::optional<std::string> ChooseFile(FileChooserKind kind, std::string_view filter,
                                      std::string_view defaultExtension, HWND owner) {
  const std::wstring filterList = FilterList(filter);
  const std::wstring extension = windows::Wide(defaultExtension);
  std::vector<wchar_t> path(MAX_PATH, L'\0');
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.hInstance = GetModuleHandleW(nullptr);
  dialog.lpstrFilter = filter.empty() ? nullptr : filterList.c_str();
  dialog.lpstrFile = path.data();
  dialog.nMaxFile = static_cast<DWORD>(path.size());
  dialog.Flags = kind == FileChooserKind::Open ? kOpenFlags : kSaveFlags;
  dialog.lpstrDefExt = extension.c_str();
  const BOOL chosen = kind == FileChooserKind::Open ? GetOpenFileNameW(&dialog) : GetSaveFileNameW(&dialog);
  if (!chosen) return std::nullopt;
  return windows::Narrow(path.data());
}

MessageResult Win32Prompts::ShowMessageText(std::string_view text, MessageStyle style, MessageOwner owner) {
  HWND ownerWindow = mainFrame_();
  if (owner == MessageOwner::FindReplaceDialog) {
    HWND dialog = findReplaceDialog_();
    if (dialog && IsWindow(dialog)) ownerWindow = dialog;
  }
  return ToMessageResult(MessageBoxW(ownerWindow, windows::Wide(text).c_str(), windows::Wide(GetAppTitle()).c_str(),
                                     MessageBoxStyle(style)));
}

std::optional<std::string> Win32Prompts::ChooseFileToOpen(std::string_view filter, std::string_view defaultExtension) {
  return ChooseFile(FileChooserKind::Open, filter, defaultExtension, mainFrame_());
}

std::optional<std::string> Win32Prompts::ChooseFileToSave(std::string_view filter, std::string_view defaultExtension) {
  return ChooseFile(FileChooserKind::Save, filter, defaultExtension, mainFrame_());
}

}  // namespace propdesk
