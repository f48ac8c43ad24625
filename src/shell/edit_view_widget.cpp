#include "shell/edit_view_widget.h"

#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QTextCursor>
#include <QUrl>

#include <algorithm>
#include <memory>

#include "shell/dialog_kit/native_qstring.h"
#include "shell/qt_text_view.h"

namespace propdesk {
namespace {

bool CarriesLocalFiles(const QMimeData* source) {
  const QList<QUrl> urls = source->urls();
  return std::any_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); });
}

}  // namespace

EditViewWidget::EditViewWidget(QWidget* parent)
    : QPlainTextEdit(parent), textView_(std::make_unique<QtTextView>(*this)) {
  setLineWrapMode(QPlainTextEdit::NoWrap);
  // Mouse movement without a pressed button also refreshes the caret position.
  viewport()->setMouseTracking(true);
}

EditViewWidget::~EditViewWidget() = default;

TextView& EditViewWidget::textView() { return *textView_; }

void EditViewWidget::setEscapeHandler(std::function<bool()> handler) { escapeHandler_ = std::move(handler); }

QMenu* EditViewWidget::createContextMenu(const QPoint& position) {
  QMenu* menu = createStandardContextMenu(position);
  // Qt's Japanese texts say "すべてを選択" where the Edit menu says "すべて選択".
  if (auto* selectAll = menu->findChild<QAction*>(QStringLiteral("select-all")))
    selectAll->setText(selectAll->text().replace(QStringLiteral("すべてを選択"), QStringLiteral("すべて選択")));
  return menu;
}

void EditViewWidget::contextMenuEvent(QContextMenuEvent* event) {
  const std::unique_ptr<QMenu> menu(createContextMenu(event->pos()));
  menu->exec(event->globalPos());
}

void EditViewWidget::deleteSelection() {
  if (isReadOnly()) return;
  QTextCursor cursor = textCursor();
  cursor.removeSelectedText();
  setTextCursor(cursor);
}

void EditViewWidget::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && escapeHandler_ && escapeHandler_()) {
    event->accept();
    return;
  }
  if (!event->text().isEmpty()) emit caretPositionRefreshRequested();
  // A read-only QPlainTextEdit scrolls by a page on Space; here a read-only text ignores typing.
  if (isReadOnly() && event->key() == Qt::Key_Space) return;
  PassKeyPress(event);
}

void EditViewWidget::PassKeyPress(QKeyEvent* event) {
  // Shift+Enter would put a line separator inside the line; every line break is a new line here.
  if (event->matches(QKeySequence::InsertLineSeparator)) {
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QPlainTextEdit::keyPressEvent(&enter);
    event->setAccepted(enter.isAccepted());
    return;
  }
  if (IsEncodable(event->text())) {
    QPlainTextEdit::keyPressEvent(event);
    return;
  }
  QKeyEvent entered(event->type(), event->key(), event->modifiers(), event->nativeScanCode(),
                    event->nativeVirtualKey(), event->nativeModifiers(), RoundTripEnteredText(event->text()),
                    event->isAutoRepeat(), static_cast<quint16>(event->count()));
  QPlainTextEdit::keyPressEvent(&entered);
  event->setAccepted(entered.isAccepted());
}

void EditViewWidget::keyReleaseEvent(QKeyEvent* event) {
  emit caretPositionRefreshRequested();
  QPlainTextEdit::keyReleaseEvent(event);
}

void EditViewWidget::inputMethodEvent(QInputMethodEvent* event) {
  const QString& committed = event->commitString();
  if (!committed.isEmpty()) emit caretPositionRefreshRequested();
  if (IsEncodable(committed)) {
    QPlainTextEdit::inputMethodEvent(event);
    return;
  }
  QInputMethodEvent entered(event->preeditString(), event->attributes());
  entered.setCommitString(RoundTripEnteredText(committed), event->replacementStart(), event->replacementLength());
  QPlainTextEdit::inputMethodEvent(&entered);
  event->setAccepted(entered.isAccepted());
}

void EditViewWidget::mouseMoveEvent(QMouseEvent* event) {
  emit caretPositionRefreshRequested();
  QPlainTextEdit::mouseMoveEvent(event);
}

void EditViewWidget::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ReadOnlyChange) {
    // QPlainTextEdit's read-only mode takes keyboard navigation and the caret away; keep both.
    if (isReadOnly()) {
      setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
      // Changing the flags hides the caret of a focused area until it gains the focus again.
      if (hasFocus()) {
        QFocusEvent focusIn(QEvent::FocusIn, Qt::OtherFocusReason);
        QPlainTextEdit::focusInEvent(&focusIn);
      }
    }
    if (readOnlyShown_ != isReadOnly()) {
      readOnlyShown_ = isReadOnly();
      emit readOnlyChanged(readOnlyShown_);
    }
  }
  QPlainTextEdit::changeEvent(event);
}

void EditViewWidget::resizeEvent(QResizeEvent* event) {
  // On a change of width QPlainTextEdit lays out every line anew, giving each line of the document
  // a layout object, which costs time and memory in proportion to the whole document. Lines do not
  // wrap here, so the width does not change their layout: pass the resize on as one that keeps the
  // width, which still fits the scroll bars to the new size.
  QResizeEvent sameWidth(event->size(), QSize(event->size().width(), event->oldSize().height()));
  QPlainTextEdit::resizeEvent(&sameWidth);
}

bool EditViewWidget::canInsertFromMimeData(const QMimeData* source) const {
  return !CarriesLocalFiles(source) && QPlainTextEdit::canInsertFromMimeData(source);
}

void EditViewWidget::insertFromMimeData(const QMimeData* source) {
  if (!source->hasText()) return;
  QMimeData entered;
  entered.setText(RoundTripEnteredText(source->text()));
  QPlainTextEdit::insertFromMimeData(&entered);
}

QMimeData* EditViewWidget::createMimeDataFromSelection() const {
  auto* selection = new QMimeData;
  selection->setText(ExternalPlainText(textCursor().selectedText()));
  return selection;
}

}  // namespace propdesk
