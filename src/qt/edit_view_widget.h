#pragma once
// The text area of the main window: a QPlainTextEdit without line wrapping that holds the document
// and gives the core its byte view of it (textView()).
//
// Text typed, entered through an input method, pasted or dropped keeps every character: one
// without an exact code page 932 form enters as its \uxxxx escape text, so the area only ever
// holds text that is saved exactly as shown. Backspace and Delete remove such a kept escape whole.
// Read-only mode shows the window's background colour instead of the text background, as a
// read-only edit control is greyed, and keeps a visible caret with keyboard navigation and
// selection. Dragged local files are left to the window. The lines being painted are coloured by
// their .properties structure; hovering over an escape kept as text shows what it stands for.
//
// Signals of QPlainTextEdit the window uses as they are: modificationChanged(bool) (the document's
// one modified flag), undoAvailable(bool), copyAvailable(bool), selectionChanged().
#include <QPlainTextEdit>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "document/text_view.h"
#include "qt/properties_colouring.h"

namespace propdesk {

class QtTextView;

class EditViewWidget : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit EditViewWidget(QWidget* parent = nullptr);
  ~EditViewWidget() override;

  // The document text as native bytes with byte offsets, for the core's document operations.
  TextView& textView();

  // Decides on the ESC key before the area sees it; returns true when it took the key (for
  // instance to close the window), in which case no position refresh is requested and the area
  // never sees the key. Without a handler ESC goes to the area, which ignores it.
  void setEscapeHandler(std::function<bool()> handler);

  // The status bar's words for the character at the caret: its code point and escape, or what a
  // \uXXXX escape kept as text stands for. Empty at the end of a line.
  QString CaretCharacterText() const;
  // The right-click menu at `position`: Qt's own, its Select All worded as in the Edit menu. The
  // caller owns it.
  QMenu* createContextMenu(const QPoint& position);

 public slots:
  // Deletes the selected text as one undoable edit, unless the area is read-only.
  void deleteSelection();

 signals:
  // The caret position shown elsewhere should be read again now: sent on key release, on a
  // character typed (before it is inserted) and on mouse movement over the area.
  void caretPositionRefreshRequested();

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  bool viewportEvent(QEvent* event) override;
  bool canInsertFromMimeData(const QMimeData* source) const override;
  void insertFromMimeData(const QMimeData* source) override;
  QMimeData* createMimeDataFromSelection() const override;

 private:
  // What describe says of the character at a cursor's position in its line.
  using CharacterDescription = std::string (*)(std::string_view line, const std::vector<properties::Span>& spans,
                                               std::size_t column);
  QString DescribeCharacterAt(const QTextCursor& cursor, CharacterDescription describe) const;

  // Backspace just after a kept escape, or Delete just before one, removes the whole escape (both
  // of a surrogate pair), as it removes a whole double-byte character. True when it did.
  bool RemoveKeptEscapeFor(QKeyEvent* event);
  // Hands a key press on to the text area with its text made encodable.
  void PassKeyPress(QKeyEvent* event);

  std::unique_ptr<QtTextView> textView_;
  PropertiesColouring colouring_;
  std::function<bool()> escapeHandler_;
};

}  // namespace propdesk
