#pragma once
// Stands for the main window: keeps the last title and every edit-forbidden switch it was told of.
#include <string>
#include <vector>

#include "document/frame_window.h"

namespace propdesk::test {

class RecordingFrameWindow final : public FrameWindow {
 public:
  void SetTitle(std::string_view text) override { title = text; }
  void EditForbiddenChanged(bool editForbidden) override { editForbiddenChanges.push_back(editForbidden); }

  std::string title;
  std::vector<bool> editForbiddenChanges;
};

}  // namespace propdesk::test
