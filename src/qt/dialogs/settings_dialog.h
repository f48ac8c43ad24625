#pragma once
// The settings dialog: edits the five options and saves them at once on OK.
#include <string>

#include "qt/dialogs/program_chooser.h"
#include "qt/dialogs/template_dialog.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace propdesk {

class SettingsDialog : public TemplateDialog {
 public:
  // Shows the record's current values; Browse asks chooseProgram for the converter program.
  SettingsDialog(QWidget* owner, ProgramChooser chooseProgram);

 private:
  // Shows the record's current values; the dialog centres itself when it is shown.
  void OnInitDialog();
  // The path's label, field and Browse button are usable only while the converter box is ticked.
  void UpdatePathControls();
  void OnOK();
  void OnBrowse();
  std::string PathFieldBytes() const;

  QCheckBox* readOnlyOpen_;
  QCheckBox* exitByEsc_;
  QCheckBox* useNative2Ascii_;
  QLabel* pathLabel_;
  QLineEdit* pathField_;
  QPushButton* browse_;
  QCheckBox* keepUntouchedLines_;
  ProgramChooser chooseProgram_;
  std::string shownPath_;  // the record's path as it was put into the field
};

// Runs the settings dialog modally over owner (the active window); answers 1 for OK, 2 for Cancel.
int RunSettingsDialog(QWidget* owner, ProgramChooser chooseProgram = ChooseProgramFile);

}  // namespace propdesk
