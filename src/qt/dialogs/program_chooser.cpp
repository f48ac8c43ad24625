#include "qt/dialogs/program_chooser.h"

#include <QFileInfo>
#include <QFileSystemModel>
#include <QRegularExpression>
#include <QSortFilterProxyModel>
#include <algorithm>

#include "common/filter_text.h"
#include "common/string_table.h"

namespace propdesk {

namespace {

const QString kDefaultExtension = QStringLiteral("exe");

bool IsProgramPattern(const QString& pattern) {
  return pattern.compare(QStringLiteral("*.") + kDefaultExtension, Qt::CaseInsensitive) == 0;
}

bool MatchesPattern(const QString& pattern, const QString& fileName) {
  return pattern == QStringLiteral("*.*") || QRegularExpression::fromWildcard(pattern).match(fileName).hasMatch();
}

}  // namespace

bool MatchesFilterPatterns(const QStringList& patterns, const QString& fileName, bool executable) {
  return std::any_of(patterns.begin(), patterns.end(), [&](const QString& pattern) {
    if (IsProgramPattern(pattern) && executable && !fileName.contains(QLatin1Char('.'))) return true;
    return MatchesPattern(pattern, fileName);
  });
}

// Shows folders, and the files that match the selected filter's patterns.
class FilterProxy : public QSortFilterProxyModel {
 public:
  using QSortFilterProxyModel::QSortFilterProxyModel;

  void SetPatterns(const QStringList& patterns) {
    patterns_ = patterns;
    invalidateFilter();
  }

 protected:
  bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override {
    const auto* files = static_cast<const QFileSystemModel*>(sourceModel());
    const QModelIndex index = files->index(sourceRow, 0, sourceParent);
    if (files->isDir(index) || patterns_.isEmpty()) return true;
    const QFileInfo info = files->fileInfo(index);
    return MatchesFilterPatterns(patterns_, info.fileName(), info.isExecutable());
  }

 private:
  QStringList patterns_;
};

ProgramFileDialog::ProgramFileDialog(QWidget* owner) : QFileDialog(owner), proxy_(new FilterProxy(this)) {
  // Qt's own chooser: a platform one would not take the proxy that does the matching.
  setOption(QFileDialog::DontUseNativeDialog);
  setFileMode(QFileDialog::ExistingFile);
  setAcceptMode(QFileDialog::AcceptOpen);
  setProxyModel(proxy_);

  std::string filter;
  LoadText(IDS_PROGRAM_FILTER, filter, 260);
  for (const FilterItem& item : SplitFilterText(filter)) {
    descriptions_.append(QString::fromStdString(item.description));
    QStringList patterns;
    for (const std::string& pattern : item.patterns) patterns << QString::fromStdString(pattern);
    patterns_.append(patterns);
  }
  setNameFilters(descriptions_);
  connect(this, &QFileDialog::filterSelected, this, &ProgramFileDialog::UseFilter);
  UseFilter(selectedNameFilter());
}

void ProgramFileDialog::UseFilter(const QString& description) {
  // The file model would match the description's patterns itself, the way they match on this
  // system; let every file through to the proxy, which matches them as the filter means them.
  static_cast<QFileSystemModel*>(proxy_->sourceModel())->setNameFilters({});
  const qsizetype index = descriptions_.indexOf(description);
  proxy_->SetPatterns(index < 0 ? QStringList() : patterns_[index]);
}

void ProgramFileDialog::accept() {
  // Qt's chooser would add a default extension to every name typed without one; add it only when
  // the name as typed does not exist and the name with it does.
  const QStringList files = selectedFiles();
  const bool completes = files.size() == 1 && !QFileInfo::exists(files.front()) &&
                         QFileInfo(files.front()).suffix().isEmpty() &&
                         QFileInfo::exists(files.front() + QLatin1Char('.') + kDefaultExtension);
  setDefaultSuffix(completes ? kDefaultExtension : QString());
  QFileDialog::accept();
}

std::optional<std::string> ChooseProgramFile(QWidget* owner) {
  ProgramFileDialog dialog(owner);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return QFile::encodeName(dialog.selectedFiles().front()).toStdString();
}

}  // namespace propdesk
