#include "qt/properties_colouring.h"

#include <QPalette>
#include <QPlainTextEdit>
#include <QTextCharFormat>
#include <QTextLayout>


#include "document/caret_character.h"
#include "qt/dialogs/native_qstring.h"
#include "qt/readable_colour.h"

namespace propdesk {
namespace {

using properties::LineStart;
using properties::Span;
using properties::SpanKind;

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

// A colour between two, a quarter of the way from base to accent.
QColor Blend(const QColor& base, const QColor& accent) {
  const auto mix = [](int from, int to) { return from + (to - from) / 4; };
  return QColor(mix(base.red(), accent.red()), mix(base.green(), accent.green()), mix(base.blue(), accent.blue()));
}

QTextCharFormat Foreground(const QColor& colour) {
  QTextCharFormat format;
  format.setForeground(colour);
  return format;
}

}  // namespace

PropertiesColouring::Formats::Formats(const QPalette& palette, const QColor& shownOn)
    : paletteKey(palette.cacheKey()), background(shownOn) {
  comment = Foreground(ReadableOn(palette.color(QPalette::PlaceholderText), shownOn));
  key = Foreground(ReadableOn(palette.color(QPalette::Link), shownOn));
  escape = Foreground(ReadableOn(palette.color(QPalette::LinkVisited), shownOn));
  const QColor keptBackground = Blend(shownOn, palette.color(QPalette::Highlight));
  keptEscape = Foreground(ReadableOn(palette.color(QPalette::LinkVisited), keptBackground));
  keptEscape.setBackground(keptBackground);
  malformedEscape = Foreground(palette.color(QPalette::Text));
  malformedEscape.setUnderlineStyle(QTextCharFormat::WaveUnderline);
  malformedEscape.setUnderlineColor(escape.foreground().color());
}

namespace {

// The format of a span, or nothing for a value, which keeps the text's own colour.
const QTextCharFormat* FormatOf(const LineSyntax& line, const Span& span, const PropertiesColouring::Formats& formats) {
  switch (span.kind) {
    case SpanKind::Comment:
    case SpanKind::Separator:
      return &formats.comment;
    case SpanKind::Key:
      return &formats.key;
    case SpanKind::Value:
      return nullptr;
    case SpanKind::Continuation:
      return &formats.escape;
    case SpanKind::Escape:
      return UnicodeEscapeUnit(line.native, span) ? &formats.keptEscape : &formats.escape;
    case SpanKind::MalformedEscape:
      return &formats.malformedEscape;
  }
  return nullptr;
}

QList<QTextLayout::FormatRange> FormatsOf(const QString& text, const LineSyntax& line,
                                          const PropertiesColouring::Formats& spanFormats) {
  QList<QTextLayout::FormatRange> formats;
  if (line.spans.empty()) return formats;
  const std::vector<int> indexes = IndexOfEachByte(text);
  for (const Span& span : line.spans) {
    const QTextCharFormat* format = FormatOf(line, span, spanFormats);
    if (!format) continue;
    const int start = indexes[span.begin];
    formats.append({start, indexes[span.end] - start, *format});
  }
  return formats;
}

}  // namespace

PropertiesColouring::PropertiesColouring(QPlainTextEdit& edit) : edit_(edit) {}

LineStart PropertiesColouring::StartOf(const QTextBlock& block) const {
  const QTextDocument& document = *block.document();
  return StartOfLine(static_cast<std::size_t>(block.blockNumber()), [&document](std::size_t line) {
    return document.findBlockByNumber(static_cast<int>(line)).text().toStdU16String();
  });
}

LineSyntax PropertiesColouring::SyntaxOf(const QTextBlock& block) const {
  LineSyntax line{QStringToNative(block.text()), {}};
  properties::LexLine(line.native, StartOf(block), line.spans);
  return line;
}

PropertiesColouring::Recoloured PropertiesColouring::Colour(QTextBlock first, int count) {
  Recoloured recoloured;
  if (!first.isValid()) return recoloured;
  const QWidget& viewport = *edit_.viewport();
  const QPalette& palette = viewport.palette();
  const QColor background = palette.color(viewport.backgroundRole());
  // Made again only when the palette or the background changes, not at every paint.
  if (!formats_ || formats_->paletteKey != palette.cacheKey() || formats_->background != background) {
    formats_.emplace(palette, background);
  }
  const Formats& spanFormats = *formats_;
  LineStart start = StartOf(first);
  LineSyntax line;
  QTextBlock block = first;
  for (int i = 0; i < count && block.isValid(); ++i, block = block.next()) {
    const QString text = block.text();
    line.native = QStringToNative(text);
    start = properties::LexLine(line.native, start, line.spans);
    QList<QTextLayout::FormatRange> lineFormats = FormatsOf(text, line, spanFormats);
    QTextLayout* layout = block.layout();
    if (layout->formats() == lineFormats) continue;
    layout->setFormats(lineFormats);
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
