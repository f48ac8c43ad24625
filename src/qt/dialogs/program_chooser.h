#pragma once
// The file chooser behind the settings dialog's Browse button, which asks for the converter program.
#include <QFileDialog>
#include <QString>
#include <functional>
#include <optional>
#include <string>

namespace propdesk {

class FilterProxy;

// Asks the person for a program, in a chooser owned by `owner`. Answers the chosen path in
// file-system bytes, or nothing when the person cancels.
using ProgramChooser = std::function<std::optional<std::string>(QWidget* owner)>;

// Whether a file shows under any of a filter's patterns ("*.exe", "*.*"), without regard to case. "*.*" shows every file. Executable files without an extension also show
// under "*.exe": programs seldom have an extension on this system.
bool MatchesFilterPatterns(const QStringList& patterns, const QString& fileName, bool executable);

// An open-file chooser with the program filters of the string table. A name typed without an
// extension that does not exist means the same name with ".exe" when that file exists.
class ProgramFileDialog : public QFileDialog {
 public:
  explicit ProgramFileDialog(QWidget* owner);

  void accept() override;

 private:
  void UseFilter(const QString& description);

  QStringList descriptions_;
  QList<QStringList> patterns_;  // each description's patterns
  FilterProxy* proxy_;
};

// The ProgramChooser the settings dialog uses unless it is given another.
std::optional<std::string> ChooseProgramFile(QWidget* owner);

}  // namespace propdesk
