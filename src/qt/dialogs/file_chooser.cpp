#include "qt/dialogs/file_chooser.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QMessageBox>
#include <QString>
#include <QTreeView>

#include "common/filter_text.h"

namespace propdesk {
namespace {

// The patterns as Qt's blank-separated list. "*.*" matches names without a dot too, which Qt's
// "*.*" would not.
QString ToQtPatterns(const std::vector<std::string>& patterns) {
  QStringList converted;
  for (const std::string& pattern : patterns) {
    converted << (pattern == "*.*" ? QStringLiteral("*") : QString::fromStdString(pattern));
  }
  return converted.join(u' ');
}

// A save chooser that refuses a name in a folder that does not exist and stays open, as the open
// chooser does for a missing file (Qt's own save chooser would accept it).
class SaveFileDialog : public QFileDialog {
 public:
  using QFileDialog::QFileDialog;

  void accept() override {
    const QStringList files = selectedFiles();
    if (files.size() == 1) {
      const QString folder = QFileInfo(files.front()).absolutePath();
      if (!QFileInfo(folder).isDir()) {
        const QString message =
            QFileDialog::tr("%1\nDirectory not found.\nPlease verify the correct directory name was given.");
        QMessageBox::warning(this, windowTitle(), message.arg(folder));
        return;
      }
    }
    QFileDialog::accept();
  }
};

// The list of files shows the size, type and date columns as wide as their contents, and the name
// column takes the room that is left.
void FitColumns(QFileDialog& dialog) {
  auto* list = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
  if (!list) return;
  QHeaderView& header = *list->header();
  header.setStretchLastSection(false);
  header.setSectionResizeMode(QHeaderView::ResizeToContents);
  header.setSectionResizeMode(0, QHeaderView::Stretch);
}

// The folder the next chooser starts in; the working directory until a file has been chosen.
QString& LastChosenFolder() {
  static QString folder;
  return folder;
}

}  // namespace

QStringList ToQtNameFilters(std::string_view filter) {
  QStringList nameFilters;
  for (const FilterItem& item : SplitFilterText(filter)) {
    const QString patterns = ToQtPatterns(item.patterns);
    if (patterns.isEmpty()) continue;  // a description without patterns
    // Qt takes the patterns from the last parentheses and, with the details hidden, shows the
    // text before them: the description exactly as written.
    nameFilters << QStringLiteral("%1 (%2)").arg(QString::fromStdString(item.description), patterns);
  }
  return nameFilters;
}

std::unique_ptr<QFileDialog> MakeFileChooser(FileChooserKind kind, std::string_view filter,
                                             std::string_view defaultExtension, QWidget* owner) {
  std::unique_ptr<QFileDialog> dialog =
      kind == FileChooserKind::Open ? std::make_unique<QFileDialog>(owner) : std::make_unique<SaveFileDialog>(owner);
  // Qt's own dialog, so that the filters show and match as above on every desktop.
  dialog->setOption(QFileDialog::DontUseNativeDialog);
  dialog->setOption(QFileDialog::HideNameFilterDetails);
  FitColumns(*dialog);
  if (kind == FileChooserKind::Open) {
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
  } else {
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
  }
  const QStringList nameFilters = ToQtNameFilters(filter);
  if (!nameFilters.isEmpty()) dialog->setNameFilters(nameFilters);
  dialog->setDefaultSuffix(QString::fromUtf8(defaultExtension));
  if (!LastChosenFolder().isEmpty()) dialog->setDirectory(LastChosenFolder());
  return dialog;
}

std::optional<std::string> ChooseFile(FileChooserKind kind, std::string_view filter,
                                      std::string_view defaultExtension, QWidget* owner) {
  const auto dialog = MakeFileChooser(kind, filter, defaultExtension, owner);
  if (dialog->exec() != QDialog::Accepted) return std::nullopt;
  const QStringList files = dialog->selectedFiles();
  if (files.isEmpty()) return std::nullopt;
  LastChosenFolder() = QFileInfo(files.first()).absolutePath();
  return QFile::encodeName(files.first()).toStdString();
}

}  // namespace propdesk
