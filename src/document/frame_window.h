#pragma once
// What the document operations need of the main window besides the text view and the prompts.
#include <string_view>

#include "document/file_format.h"

namespace propdesk {

class FrameWindow {
 public:
  virtual ~FrameWindow() = default;
  // Sets the window title (UTF-8).
  virtual void SetTitle(std::string_view title) = 0;
  // Edit-forbidden mode was switched: the window updates the menu check mark and, when it was
  // switched on, closes an open find or replace dialog.
  virtual void EditForbiddenChanged(bool editForbidden) = 0;
  // The document now has this file format (after an open, New or Import): the window shows it.
  virtual void FileFormatChanged(const FileFormat& format) = 0;
};

}  // namespace propdesk
