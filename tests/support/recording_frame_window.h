#pragma once
// Stands for the main window: keeps the last title and file format and every edit-forbidden switch
// it was told of.
#include <string>
#include <vector>

#include "document/frame_window.h"

namespace propdesk::test {

class RecordingFrameWindow final : public FrameWindow {
 public:
  void SetTitle(std::string_view text) override { title = text; }
  void EditForbiddenChanged(bool editForbidden) override { editForbiddenChanges.push_back(editForbidden); }
  void FileFormatChanged(const FileFormat& format) override { fileFormat = format; }

  std::string title;
  std::vector<bool> editForbiddenChanges;
  FileFormat fileFormat;
};

}  // namespace propdesk::test
