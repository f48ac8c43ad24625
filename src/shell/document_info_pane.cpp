#include "shell/document_info_pane.h"

namespace propdesk {

DocumentInfoPane::DocumentInfoPane(QWidget* parent) : QLabel(parent) {}

void DocumentInfoPane::ShowFileFormat(const FileFormat& format) {
  setText(QString::fromStdString(FileFormatLabel(format)));
}

}  // namespace propdesk
