#pragma once
// Native byte offsets over a Qt text document whose blocks are the lines of the text: each line
// break is the two bytes CR LF. Each block's byte length is kept in the block's user state once
// counted and forgotten when the block changes, so that walking to an offset counts only the
// lines changed since the last walk.
#include <QMetaObject>
#include <QTextBlock>
#include <QTextDocument>

#include <cstddef>

#include "document/text_view.h"

namespace propdesk {

class NativeOffsets {
 public:
  explicit NativeOffsets(QTextDocument& document);
  NativeOffsets(const NativeOffsets&) = delete;
  NativeOffsets& operator=(const NativeOffsets&) = delete;
  ~NativeOffsets();

  // The byte offset of a document position.
  std::size_t ByteOffsetOf(int position) const;
  // The document position of a byte offset; an offset inside a character or a line break moves
  // back to its start, an offset past the end moves to the end.
  int PositionOf(std::size_t byteOffset) const;
  // Line and byte column of a document position; costs time in proportion to its line only.
  LineColumn LineColumnOf(int position) const;

 private:
  std::size_t BlockByteLength(QTextBlock block) const;
  void ForgetLengths(int from, int charsAdded);

  QTextDocument& document_;
  QMetaObject::Connection changeConnection_;
};

}  // namespace propdesk
