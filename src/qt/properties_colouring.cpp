#include "qt/properties_colouring.h"

#include <QPalette>
#include <QPlainTextEdit>
#include <QTextCharFormat>
#include <QTextLayout>

#include <optional>

#include "document/caret_character.h"
#include "qt/dialogs/native_qstring.h"

namespace propdesk {
namespace {

using properties::LineStart;
using properties::Span;
using properties::SpanKind;

// How far back a line's continuation is followed; a longer run of continued lines is lexed from
// this far back as if it started there.
constexpr int kMaxLookBack = 256;

bool EndsWithContinuation(const QString& text) {
  qsizetype backslashes = 0;
  while (backslashes < text.size() && text[text.size() - 1 - backslashes] == u'\\') ++backslashes;
  return backslashes % 2 == 1;
}

// The index in text of every byte offset of its native form, and of the offset past the end.
std::vector<int> IndexOfEachByte(const QString& text) {
  std::vector<int> indexes;
  indexes.reserve(static_cast<std::size_t>(text.size()) * 2 + 1);
  for (qsizetype i = 0; i < text.size(); ++i) {
    indexes.insert(indexes.end(), NativeLength(QStringView(text).mid(i, 1)), static_cast<int>(i));
  }
  indexes.push_back(static_cast<int>(text.size()));
  return indexes;
}

QTextCharFormat Foreground(const QPalette& palette, QPalette::ColorRole role) {
  QTextCharFormat format;
  format.setForeground(palette.color(role));
  return format;
}

// A colour between two, a quarter of the way from base to accent.
QColor Blend(const QColor& base, const QColor& accent) {
  const auto mix = [](int from, int to) { return from + (to - from) / 4; };
  return QColor(mix(base.red(), accent.red()), mix(base.green(), accent.green()), mix(base.blue(), accent.blue()));
}

// The format of a span, or nothing for a value, which keeps the text's own colour.
std::optional<QTextCharFormat> FormatOf(const LineSyntax& line, const Span& span, const QPalette& palette) {
  switch (span.kind) {
    case SpanKind::Comment:
    case SpanKind::Separator:
      return Foreground(palette, QPalette::PlaceholderText);
    case SpanKind::Key:
      return Foreground(palette, QPalette::Link);
    case SpanKind::Value:
      return std::nullopt;
    case SpanKind::Continuation:
      return Foreground(palette, QPalette::LinkVisited);
    case SpanKind::Escape: {
      QTextCharFormat format = Foreground(palette, QPalette::LinkVisited);
      if (UnicodeEscapeUnit(line.native, span)) {
        format.setBackground(Blend(palette.color(QPalette::Base), palette.color(QPalette::Highlight)));
      }
      return format;
    }
    case SpanKind::MalformedEscape: {
      QTextCharFormat format = Foreground(palette, QPalette::Text);
      format.setUnderlineStyle(QTextCharFormat::WaveUnderline);
      format.setUnderlineColor(palette.color(QPalette::LinkVisited));
      return format;
    }
  }
  return std::nullopt;
}

QList<QTextLayout::FormatRange> FormatsOf(const QString& text, const LineSyntax& line, const QPalette& palette) {
  QList<QTextLayout::FormatRange> formats;
  if (line.spans.empty()) return formats;
  const std::vector<int> indexes = IndexOfEachByte(text);
  for (const Span& span : line.spans) {
    const std::optional<QTextCharFormat> format = FormatOf(line, span, palette);
    if (!format) continue;
    const int start = indexes[span.begin];
    formats.append({start, indexes[span.end] - start, *format});
  }
  return formats;
}

}  // namespace

PropertiesColouring::PropertiesColouring(QPlainTextEdit& edit) : edit_(edit) {}

LineStart PropertiesColouring::StartOf(const QTextBlock& block) const {
  QTextBlock from = block;
  for (int steps = 0; steps < kMaxLookBack; ++steps) {
    const QTextBlock previous = from.previous();
    if (!previous.isValid() || !EndsWithContinuation(previous.text())) break;
    from = previous;
  }
  LineStart start = LineStart::NewLogicalLine;
  std::vector<Span> spans;
  for (; from != block; from = from.next()) start = properties::LexLine(QStringToNative(from.text()), start, spans);
  return start;
}

LineSyntax PropertiesColouring::SyntaxOf(const QTextBlock& block) const {
  LineSyntax line{QStringToNative(block.text()), {}};
  properties::LexLine(line.native, StartOf(block), line.spans);
  return line;
}

PropertiesColouring::Recoloured PropertiesColouring::Colour(QTextBlock first, int count) {
  Recoloured recoloured;
  if (!first.isValid()) return recoloured;
  const QPalette& palette = edit_.palette();
  LineStart start = StartOf(first);
  LineSyntax line;
  QTextBlock block = first;
  for (int i = 0; i < count && block.isValid(); ++i, block = block.next()) {
    const QString text = block.text();
    line.native = QStringToNative(text);
    start = properties::LexLine(line.native, start, line.spans);
    QList<QTextLayout::FormatRange> formats = FormatsOf(text, line, palette);
    QTextLayout* layout = block.layout();
    if (layout->formats() == formats) continue;
    layout->setFormats(formats);
    if (!recoloured.first.isValid()) recoloured.first = block;
    recoloured.last = block;
  }
  // Tells the layout which lines to lay out again, as an edit does, without being one.
  if (recoloured.first.isValid()) {
    const int from = recoloured.first.position();
    edit_.document()->markContentsDirty(from, recoloured.last.position() + recoloured.last.length() - from);
  }
  return recoloured;
}

}  // namespace propdesk
