#pragma once
// The text area of the main window: a QPlainTextEdit without line wrapping that holds the document
// and gives the core its byte view of it (textView()).
//
// Text typed, entered through an input method, pasted or dropped goes through the code page 932
// round trip first, so the area only ever holds text that is saved exactly as shown. Read-only
// mode keeps a visible caret with keyboard navigation and selection. Dragged local files are left
// to the window.
//
// Signals of QPlainTextEdit the window uses as they are: modificationChanged(bool) (the document's
// one modified flag), undoAvailable(bool), copyAvailable(bool), selectionChanged().
#include <QPlainTextEdit>

#include <functional>
#include <memory>

#include "document/text_view.h"

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
  // Read-only mode was switched (by setReadOnly or through textView()).
  void readOnlyChanged(bool readOnly);

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool canInsertFromMimeData(const QMimeData* source) const override;
  void insertFromMimeData(const QMimeData* source) override;
  QMimeData* createMimeDataFromSelection() const override;

 private:
  // Hands a key press on to the text area with its text made encodable.
  void PassKeyPress(QKeyEvent* event);

  std::unique_ptr<QtTextView> textView_;
  std::function<bool()> escapeHandler_;
  bool readOnlyShown_ = false;
};

}  // namespace propdesk
