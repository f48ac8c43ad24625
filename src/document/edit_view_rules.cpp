#include "document/edit_view_rules.h"

namespace propdesk {

std::string CaretPositionText(const TextView& view) {
  const LineColumn position = view.GetSelectionStartLineColumn();
  return std::to_string(position.line + 1) + ":" + std::to_string(position.column + 1);
}

bool EscapeClosesWindow(const Settings& settings, bool editForbidden) {
  return editForbidden && settings.ExitByESC;
}

}  // namespace propdesk
