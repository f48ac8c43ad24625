#include "qt/dialogs/search_text_field.h"

#include <QValidator>

#include <algorithm>

#include "search/search_state.h"
#include "qt/dialogs/native_qstring.h"

namespace propdesk {
namespace {

struct FieldText {
  QString text;
  int caret;
};

qsizetype FirstLineBreak(QStringView text) {
  const auto found = std::find_if(text.begin(), text.end(), [](QChar c) {
    return c == u'\r' || c == u'\n' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
  });
  return found - text.begin();
}

QString FitEnteredText(QStringView inserted, std::size_t room) {
  const std::u16string fitted = propdesk::FitEnteredText(
      {reinterpret_cast<const char16_t*>(inserted.utf16()), static_cast<std::size_t>(inserted.size())}, room);
  return QString::fromUtf16(fitted.data(), static_cast<qsizetype>(fitted.size()));
}

// The field's text after an edit that turned `previous` into `edited` with the caret at the end of
// the inserted text: only the inserted text is changed, so that the text around it stays as it was.
FieldText FitEdit(const QString& previous, const QString& edited, int caret) {
  // What follows the caret, and what precedes the insertion, were there before the edit.
  qsizetype tail = std::min(edited.size() - caret, previous.size());
  while (tail > 0 && !QStringView(previous).endsWith(QStringView(edited).right(tail))) --tail;
  const qsizetype headLimit = std::min<qsizetype>(caret, previous.size() - tail);
  qsizetype head = 0;
  while (head < headLimit && previous[head] == edited[head]) ++head;

  const QStringView before = QStringView(edited).left(head);
  const QStringView after = QStringView(edited).right(tail);
  QStringView inserted = QStringView(edited).mid(head, edited.size() - head - tail);
  inserted = inserted.left(FirstLineBreak(inserted));

  const std::size_t kept = NativeLength(before) + NativeLength(after);
  const std::size_t room = kept < kMaxSearchTextBytes ? kMaxSearchTextBytes - kept : 0;
  const QString fitted = FitEnteredText(inserted, room);
  QString text = before.toString();
  text.append(fitted).append(after);
  return {text, static_cast<int>(head + fitted.size())};
}

// Keeps a field within the limit. It remembers the text it last accepted, because a line edit
// hands over only the text after an edit, and only the inserted text may be changed.
class NativeLimitValidator final : public QValidator {
 public:
  using QValidator::QValidator;

  State validate(QString& input, int& pos) const override {
    if (input == accepted_) return Acceptable;
    FieldText fitted = FitEdit(accepted_, input, pos);
    // Nothing of the insertion fits: refused, which leaves the line edit's undo history as it was.
    if (fitted.text == accepted_) return Invalid;
    if (fitted.text != input) {
      input = std::move(fitted.text);
      pos = fitted.caret;
    }
    accepted_ = input;
    return Acceptable;
  }

 private:
  mutable QString accepted_;
};

}  // namespace

SearchTextField::SearchTextField(QWidget* parent) : QLineEdit(parent) {
  setValidator(new NativeLimitValidator(this));
}

std::string SearchTextField::NativeText() const { return QStringToNative(text()); }

void SearchTextField::SetNativeText(std::string_view native) {
  setText(NativeToQString(CutToWholeCharacters(native, kMaxSearchTextBytes)));
}

}  // namespace propdesk
