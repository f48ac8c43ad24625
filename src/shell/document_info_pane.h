#pragma once
// The status bar's pane beside the caret position: what the window tells about the document
// besides the position, today the file format ("UTF-8"), empty for an escaped file.
#include <QLabel>

#include "document/file_format.h"

namespace propdesk {

class DocumentInfoPane final : public QLabel {
 public:
  explicit DocumentInfoPane(QWidget* parent);

  void ShowFileFormat(const FileFormat& format);
};

}  // namespace propdesk
