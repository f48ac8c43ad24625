#include "qt/qt_text_view.h"

#include <QTextBlock>
#include <QTextCursor>

#include <algorithm>
#include <functional>

#include "qt/edit_view_widget.h"
#include "qt/dialogs/native_qstring.h"

namespace propdesk {
namespace {

// Replaces the cursor's selection (possibly empty) with text as one undoable edit.
void ReplaceSelected(QTextCursor& cursor, const QString& text) {
  cursor.beginEditBlock();
  cursor.removeSelectedText();
  cursor.insertText(text);
  cursor.endEditBlock();
}

}  // namespace

QtTextView::QtTextView(EditViewWidget& edit) : edit_(edit), offsets_(*edit.document()) {
  QObject::connect(edit_.document(), &QTextDocument::contentsChange, &edit_, [this] { nativeText_.reset(); });
}

const std::string& QtTextView::GetText() const {
  // One copy of the document's characters in order, cheaper than taking the text line by line.
  if (!nativeText_) nativeText_ = QStringToNative(edit_.document()->toRawText());
  return *nativeText_;
}

void QtTextView::ReleaseNativeTextApartFrom(std::string_view text) {
  if (!nativeText_) return;
  const std::less<const char*> before;
  const char* begin = nativeText_->data();
  const bool inside = !before(text.data(), begin) && before(text.data(), begin + nativeText_->size() + 1);
  if (!inside) nativeText_.reset();
}

bool QtTextView::IsEmpty() const { return edit_.document()->isEmpty(); }

void QtTextView::SetText(std::string_view text) {
  ReleaseNativeTextApartFrom(text);
  QTextDocument& document = *edit_.document();
  const QString replacement = NativeToQString(text);
  const bool modified = document.isModified();
  // The document's own setPlainText, unlike the widget's, does not pass over the whole new text
  // a second time to set its character format. It marks the document modified, but the flag is
  // the caller's to set.
  document.setPlainText(replacement);
  document.setModified(modified);
  edit_.setTextCursor(QTextCursor(&document));
}

void QtTextView::ReplaceAllText(std::string_view text) {
  ReleaseNativeTextApartFrom(text);
  const QString replacement = NativeToQString(text);
  QTextCursor cursor(edit_.document());
  cursor.select(QTextCursor::Document);
  ReplaceSelected(cursor, replacement);
  // Replacing empty text with empty text is no edit, but the document counts as changed anyway.
  if (!edit_.document()->isModified()) edit_.document()->setModified(true);
  cursor.movePosition(QTextCursor::Start);
  edit_.setTextCursor(cursor);
}

ByteRange QtTextView::GetSelection() const {
  const QTextCursor cursor = edit_.textCursor();
  const std::size_t start = offsets_.ByteOffsetOf(cursor.selectionStart());
  if (!cursor.hasSelection()) return {start, start};
  return {start, offsets_.ByteOffsetOf(cursor.selectionEnd())};
}

void QtTextView::SetSelection(std::size_t start, std::size_t end) {
  QTextCursor cursor = edit_.textCursor();
  const int startPosition = offsets_.PositionOf(std::min(start, end));
  cursor.setPosition(startPosition);
  if (start != end) cursor.setPosition(offsets_.PositionOf(std::max(start, end)), QTextCursor::KeepAnchor);
  edit_.setTextCursor(cursor);
}

void QtTextView::ScrollCaretIntoView() { edit_.ensureCursorVisible(); }

void QtTextView::ReplaceSelection(std::string_view text) {
  QTextCursor cursor = edit_.textCursor();
  ReplaceSelected(cursor, NativeToQString(text));
  edit_.setTextCursor(cursor);
}

LineColumn QtTextView::GetSelectionStartLineColumn() const {
  return offsets_.LineColumnOf(edit_.textCursor().selectionStart());
}

bool QtTextView::IsModified() const { return edit_.document()->isModified(); }

void QtTextView::SetModified(bool modified) { edit_.document()->setModified(modified); }

bool QtTextView::CanUndo() const { return edit_.document()->isUndoAvailable(); }

void QtTextView::Undo() { edit_.undo(); }

void QtTextView::EmptyUndoBuffer() { edit_.document()->clearUndoRedoStacks(); }

bool QtTextView::IsReadOnly() const { return edit_.isReadOnly(); }

void QtTextView::SetReadOnly(bool readOnly) { edit_.setReadOnly(readOnly); }

}  // namespace propdesk
