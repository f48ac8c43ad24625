#pragma once
// The open and save file choosers, over Qt's own file dialog.
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include <QStringList>

class QFileDialog;
class QWidget;

namespace propdesk {

enum class FileChooserKind {
  Open,  // only an existing file can be chosen
  Save,  // takes only a name in an existing folder; asks before an existing file is overwritten
};

// Turns a bar-separated filter text such as "Programs (*.exe)|*.exe|All files (*.*)|*.*|" into
// Qt name filters. Each one shows the description as written and matches the item's patterns,
// "*.*" matching every file as it does in the texts' own convention.
QStringList ToQtNameFilters(std::string_view filter);

// The dialog a chooser shows, ready to run: the filters, defaultExtension (no dot) appended to a
// name typed without one, and the checks of the kind. An empty filter gives no filter list.
std::unique_ptr<QFileDialog> MakeFileChooser(FileChooserKind kind, std::string_view filter,
                                             std::string_view defaultExtension, QWidget* owner);

// Runs the chooser modally over owner. Returns the chosen path as file-system bytes, or nothing
// when the person cancels. The next chooser starts in the folder of the last chosen file.
std::optional<std::string> ChooseFile(FileChooserKind kind, std::string_view filter,
                                      std::string_view defaultExtension, QWidget* owner);

}  // namespace propdesk
