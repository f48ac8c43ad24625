#pragma once
// The settings dialog, from the IDD_SETTINGS template: edits the five options and saves them at once
// on OK; Cancel changes nothing.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

namespace propdesk {

// Asks the person for the converter program in a chooser owned by `owner`: the chosen path
// (UTF-8), or nothing when the person cancels.
using ProgramChooser = std::function<std::optional<std::string>(HWND owner)>;

// The common open dialog with the program filters of the string table.
std::optional<std::string> ChooseProgramFile(HWND owner);

// Runs the dialog modally, owned by and centred over owner, with the record's current values;
// Browse asks chooseProgram. Answers IDOK or IDCANCEL.
INT_PTR RunSettingsDialog(HWND owner, const ProgramChooser& chooseProgram = ChooseProgramFile);

}  // namespace propdesk
