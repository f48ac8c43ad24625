#pragma once
// The modeless Find and Replace dialogs, with the controls and Japanese texts that people know from
// the Windows find and replace dialogs. A dialog shows the shared search state when it opens; a button press writes
// the fields and options back into it, records the action and reports it with actionRequested().
// Cancel, ESC and the close box end the dialog (QDialog::finished).
#include <cstdint>

#include "search/search_state.h"
#include "qt/dialogs/template_dialog.h"

class QCheckBox;
class QPushButton;
class QRadioButton;

namespace propdesk {

class SearchTextField;

enum class FindReplaceKind { Find, Replace };

class FindReplaceDialog final : public TemplateDialog {
  Q_OBJECT

 public:
  // The state must outlive the dialog.
  FindReplaceDialog(FindReplaceKind kind, SearchState& state, QWidget* owner);

  FindReplaceKind Kind() const { return kind_; }

 signals:
  // A button wrote the fields and options into the search state and recorded its action there.
  void actionRequested();

 private:
  SearchTextField* AddField(const QString& label, const char* name, int y);
  void AddDirection();
  QPushButton* AddButton(const QString& text, const char* name, int y);
  void ShowState();
  void UpdateButtons();
  void Press(std::uint32_t action);

  FindReplaceKind kind_;
  SearchState& state_;
  SearchTextField* findWhat_ = nullptr;
  SearchTextField* replaceWith_ = nullptr;  // Replace dialog only
  QCheckBox* matchCase_ = nullptr;
  QRadioButton* up_ = nullptr;  // Find dialog only
  QRadioButton* down_ = nullptr;
  QPushButton* findNext_ = nullptr;
  QPushButton* replace_ = nullptr;  // Replace dialog only
  QPushButton* replaceAll_ = nullptr;
};

}  // namespace propdesk
