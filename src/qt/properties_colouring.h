#pragma once
// Colours the .properties structure of the lines the edit view shows: comments, keys,
// separators, values, continuation backslashes and escapes, with the escapes that stay as text
// (\uXXXX) marked apart, all readable on the view's background. The colours are formats of the
// lines' layouts, not of the text, so the text, its positions, undo and the modified flag are
// untouched; a line that was never shown is never lexed, so opening a large file costs nothing more.
#include <QPalette>
#include <QTextBlock>
#include <QTextCharFormat>

#include <optional>
#include <string>
#include <vector>

#include "convert/properties_lexer.h"

class QPlainTextEdit;

namespace propdesk {

// One line as native bytes with its spans.
struct LineSyntax {
  std::string native;
  std::vector<properties::Span> spans;
};

class PropertiesColouring {
 public:
  explicit PropertiesColouring(QPlainTextEdit& edit);

  // The spans of a block's line. Whether the line continues an earlier one is found by looking
  // back over the lines before it that end in a continuation backslash, a bounded number of them.
  LineSyntax SyntaxOf(const QTextBlock& block) const;

  // The formats of the spans on the view's background as it is (read-only mode changes it): the
  // palette's colours, made readable on it where they are not.
  struct Formats {
    Formats(const QPalette& palette, const QColor& shownOn);
    // What they were made for.
    qint64 paletteKey;
    QColor background;
    QTextCharFormat comment;  // and separators
    QTextCharFormat key;
    QTextCharFormat escape;  // and continuation backslashes
    QTextCharFormat keptEscape;
    QTextCharFormat malformedEscape;
  };

  // The first and last block whose formats changed; invalid blocks when none did.
  struct Recoloured {
    QTextBlock first;
    QTextBlock last;
  };

  // Gives count blocks from first the formats of their spans, where they differ from the formats
  // they have, and has them laid out again.
  Recoloured Colour(QTextBlock first, int count);

 private:
  properties::LineStart StartOf(const QTextBlock& block) const;

  QPlainTextEdit& edit_;
  std::optional<Formats> formats_;
};

}  // namespace propdesk
