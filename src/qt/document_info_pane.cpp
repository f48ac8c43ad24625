#include "qt/document_info_pane.h"

namespace propdesk {

DocumentInfoPane::DocumentInfoPane(QWidget* parent) : QLabel(parent) { ShowFileFormat(FileFormat{}); }

void DocumentInfoPane::ShowFileFormat(const FileFormat& format) {
  format_ = QString::fromStdString(FileFormatLabel(format));
  ShowBoth();
}

void DocumentInfoPane::ShowCaretCharacter(const QString& character) {
  character_ = character;
  ShowBoth();
}

void DocumentInfoPane::ShowBoth() {
  setText(character_.isEmpty() ? format_ : character_ + QStringLiteral("   ") + format_);
}

}  // namespace propdesk
