#pragma once
// The About box: the program's icon, name and version.
#include "qt/dialogs/template_dialog.h"

namespace propdesk {

class AboutDialog : public TemplateDialog {
 public:
  explicit AboutDialog(QWidget* owner);
};

// Runs the About box modally over owner (the active window); answers 1 for OK, 2 for Cancel.
int RunAboutDialog(QWidget* owner);

}  // namespace propdesk
