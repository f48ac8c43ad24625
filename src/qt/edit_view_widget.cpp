#include "qt/edit_view_widget.h"

#include <QAbstractTextDocumentLayout>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QHelpEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QResizeEvent>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolTip>
#include <QUrl>

#include <algorithm>
#include <memory>

#include "document/caret_character.h"
#include "qt/dialogs/native_qstring.h"
#include "qt/qt_text_view.h"

namespace propdesk {
namespace {

bool CarriesLocalFiles(const QMimeData* source) {
  const QList<QUrl> urls = source->urls();
  return std::any_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); });
}

}  // namespace

EditViewWidget::EditViewWidget(QWidget* parent)
    : QPlainTextEdit(parent), textView_(std::make_unique<QtTextView>(*this)), colouring_(*this) {
  setLineWrapMode(QPlainTextEdit::NoWrap);
  // Mouse movement without a pressed button also refreshes the caret position.
  viewport()->setMouseTracking(true);
}

EditViewWidget::~EditViewWidget() = default;

TextView& EditViewWidget::textView() { return *textView_; }

void EditViewWidget::setEscapeHandler(std::function<bool()> handler) { escapeHandler_ = std::move(handler); }

QString EditViewWidget::CaretCharacterText() const {
  return DescribeCharacterAt(textCursor(), &propdesk::CaretCharacterText);
}

QString EditViewWidget::DescribeCharacterAt(const QTextCursor& cursor, CharacterDescription describe) const {
  const LineSyntax line = colouring_.SyntaxOf(cursor.block());
  const std::size_t column = NativeLength(QStringView(cursor.block().text()).left(cursor.positionInBlock()));
  return QString::fromStdString(describe(line.native, line.spans, column));
}

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
  if (RemoveKeptEscapeFor(event)) {
    event->accept();
    return;
  }
  PassKeyPress(event);
}

bool EditViewWidget::RemoveKeptEscapeFor(QKeyEvent* event) {
  // Backspace as the text control takes it: with or without Shift.
  const bool backspace =
      event->key() == Qt::Key_Backspace && (event->modifiers() & ~Qt::ShiftModifier) == Qt::NoModifier;
  if (isReadOnly() || (!backspace && !event->matches(QKeySequence::Delete))) return false;
  QTextCursor cursor = textCursor();
  if (cursor.hasSelection()) return false;
  const QTextBlock block = cursor.block();
  const QString text = block.text();
  const std::size_t column = NativeLength(QStringView(text).left(cursor.positionInBlock()));
  if (backspace && column == 0) return false;
  const LineSyntax line = colouring_.SyntaxOf(block);
  const std::optional<KeptEscape> kept = KeptEscapeAt(line.native, line.spans, backspace ? column - 1 : column);
  if (!kept || (backspace ? kept->end : kept->begin) != column) return false;
  cursor.setPosition(block.position() + static_cast<int>(IndexOfNativeOffset(text, kept->begin)));
  cursor.setPosition(block.position() + static_cast<int>(IndexOfNativeOffset(text, kept->end)), QTextCursor::KeepAnchor);
  cursor.removeSelectedText();
  setTextCursor(cursor);
  return true;
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
                    event->nativeVirtualKey(), event->nativeModifiers(), EnteredViewText(event->text()),
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
  entered.setCommitString(EnteredViewText(committed), event->replacementStart(), event->replacementLength());
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
    // Greyed as a read-only edit control is, so that nobody types into it unawares; the colouring
    // follows the background.
    viewport()->setBackgroundRole(isReadOnly() ? QPalette::Window : QPalette::Base);
    viewport()->update();
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

void EditViewWidget::paintEvent(QPaintEvent* event) {
  // Lines do not wrap, so a line is at least one line spacing high: this many lines cover the
  // viewport. Colouring them first lets this paint show their colours.
  const int shownLines = viewport()->height() / std::max(1, fontMetrics().lineSpacing()) + 2;
  PropertiesColouring::Recoloured recoloured;
  {
    // This paint shows the new colours; the layout's own repaint requests would paint again.
    const QSignalBlocker noRepaint(document()->documentLayout());
    recoloured = colouring_.Colour(firstVisibleBlock(), shownLines);
  }
  QPlainTextEdit::paintEvent(event);
  if (!recoloured.first.isValid()) return;
  // Lines recoloured outside this paint (after an edit that changed how later lines continue).
  const QRect lines = blockBoundingGeometry(recoloured.first)
                          .united(blockBoundingGeometry(recoloured.last))
                          .translated(contentOffset())
                          .toAlignedRect();
  if (!event->rect().contains(lines)) viewport()->update(lines);
}

bool EditViewWidget::viewportEvent(QEvent* event) {
  if (event->type() != QEvent::ToolTip) return QPlainTextEdit::viewportEvent(event);
  const auto* help = static_cast<QHelpEvent*>(event);
  const QString text = DescribeCharacterAt(cursorForPosition(help->pos()), &KeptEscapeText);
  if (text.isEmpty()) {
    QToolTip::hideText();
  } else {
    QToolTip::showText(help->globalPos(), text, viewport());
  }
  return true;
}

bool EditViewWidget::canInsertFromMimeData(const QMimeData* source) const {
  return !CarriesLocalFiles(source) && QPlainTextEdit::canInsertFromMimeData(source);
}

void EditViewWidget::insertFromMimeData(const QMimeData* source) {
  if (!source->hasText()) return;
  QMimeData entered;
  entered.setText(EnteredViewText(source->text()));
  QPlainTextEdit::insertFromMimeData(&entered);
}

QMimeData* EditViewWidget::createMimeDataFromSelection() const {
  auto* selection = new QMimeData;
  selection->setText(ExternalPlainText(textCursor().selectedText()));
  return selection;
}

}  // namespace propdesk
