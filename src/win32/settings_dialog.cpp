#include "win32/settings_dialog.h"

#include <utility>

#include "common/string_table.h"
#include "platform/windows/file_access.h"
#include "settings/settings.h"
#include "win32/center_window.h"
#include "win32/resources/resource_ids.h"
#include "win32/win32_prompts.h"

namespace propdesk {
namespace {

// The chooser's filter text is read into a buffer of this many bytes.
constexpr std::size_t kFilterCapacity = 260;

// The check boxes and the record fields they show.
struct CheckBoxOption {
  int id;
  bool Settings::*field;
};
constexpr CheckBoxOption kCheckBoxes[] = {
    {IDC_READONLYOPEN, &Settings::ReadOnlyOpen},
    {IDC_EXITBYESC, &Settings::ExitByESC},
    {IDC_USENATIVE2ASCII, &Settings::UseNative2Ascii},
    {IDC_KEEPUNTOUCHEDLINES, &Settings::KeepUntouchedLines},
};

bool IsChecked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

std::string PathFieldText(HWND dialog) {
  HWND field = GetDlgItem(dialog, IDC_NATIVE2ASCIIPATH);
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(field)), L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(field, text.data(), static_cast<int>(text.size() + 1))));
  return windows::Narrow(text);
}

// The path's label, field and Browse button are usable only while the converter box is ticked;
// the field keeps its text while disabled.
void UpdatePathControls(HWND dialog) {
  const bool enabled = IsChecked(dialog, IDC_USENATIVE2ASCII);
  for (const int id : {IDC_PATHLABEL, IDC_NATIVE2ASCIIPATH, IDC_BROWSE}) EnableWindow(GetDlgItem(dialog, id), enabled);
}

void OnInitDialog(HWND dialog) {
  const Settings& settings = GetSettings();
  for (const CheckBoxOption& box : kCheckBoxes) {
    CheckDlgButton(dialog, box.id, settings.*box.field ? BST_CHECKED : BST_UNCHECKED);
  }
  SetDlgItemTextW(dialog, IDC_NATIVE2ASCIIPATH, windows::Wide(settings.Native2AsciiPath).c_str());
  UpdatePathControls(dialog);
  CenterWindow(dialog, GetParent(dialog));
}

void OnOK(HWND dialog) {
  Settings& settings = GetSettings();
  for (const CheckBoxOption& box : kCheckBoxes) settings.*box.field = IsChecked(dialog, box.id);
  // A longer path is dropped without a word; the check boxes are still taken.
  if (std::string path = PathFieldText(dialog); PathLengthInPlatformBytes(path) <= kMaxNative2AsciiPathBytes) {
    settings.Native2AsciiPath = std::move(path);
  }
  SaveSettings();
  EndDialog(dialog, IDOK);
}

void OnBrowse(HWND dialog) {
  const auto* chooseProgram = reinterpret_cast<const ProgramChooser*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (std::optional<std::string> path = (*chooseProgram)(dialog)) {
    SetDlgItemTextW(dialog, IDC_NATIVE2ASCIIPATH, windows::Wide(WithConverterArguments(std::move(*path))).c_str());
  }
}

INT_PTR CALLBACK SettingsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    OnInitDialog(dialog);
    return TRUE;  // the focus goes to the first tab stop
  }
  if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) return FALSE;
  switch (LOWORD(wParam)) {
    case IDC_USENATIVE2ASCII: UpdatePathControls(dialog); return TRUE;
    case IDC_BROWSE: OnBrowse(dialog); return TRUE;
    case IDOK: OnOK(dialog); return TRUE;
    case IDCANCEL: EndDialog(dialog, IDCANCEL); return TRUE;
    default: return FALSE;
  }
}

}  // namespace

std::optional<std::string> ChooseProgramFile(HWND owner) {
  std::string filter;
  LoadText(IDS_PROGRAM_FILTER, filter, kFilterCapacity);
  return ChooseFile(FileChooserKind::Open, filter, "exe", owner);
}

INT_PTR RunSettingsDialog(HWND owner, const ProgramChooser& chooseProgram) {
  return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_SETTINGS), owner, SettingsProc,
                         reinterpret_cast<LPARAM>(&chooseProgram));
}

}  // namespace propdesk
