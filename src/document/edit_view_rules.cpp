#include "document/edit_view_rules.h"

#include "settings/settings.h"

namespace propdesk {

std::string CaretPositionText(const TextView& view) {
  const LineColumn position = view.GetSelectionStartLineColumn();
  return std::to_string(position.line + 1) + ":" + std::to_string(position.column + 1);
}

bool EscapeClosesWindow(bool editForbidden) { return editForbidden && GetSettings().ExitByESC; }

}  // namespace propdesk
