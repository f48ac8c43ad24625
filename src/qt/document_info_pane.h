#pragma once
// The status bar's pane beside the caret position: the character at the caret (its code point
// and escape, or what an escape kept as text stands for) and the document's file format.
#include <QLabel>

#include "document/file_format.h"

namespace propdesk {

class DocumentInfoPane final : public QLabel {
 public:
  explicit DocumentInfoPane(QWidget* parent);

  void ShowFileFormat(const FileFormat& format);
  void ShowCaretCharacter(const QString& character);

 private:
  void ShowBoth();

  QString character_;
  QString format_;
};

}  // namespace propdesk
