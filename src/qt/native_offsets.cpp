#include "qt/native_offsets.h"

#include <algorithm>
#include <climits>

#include "qt/dialogs/native_qstring.h"

namespace propdesk {
namespace {

constexpr std::size_t kLineBreakBytes = 2;
constexpr int kUnknownLength = -1;  // the user state of a block Qt has just made

// The position clamped to the text: the document's last position is the end of its last line.
int ClampToText(const QTextDocument& document, int position) {
  return std::clamp(position, 0, document.characterCount() - 1);
}

// The text of a block from its start up to a document position inside it.
QString TextBefore(const QTextBlock& block, int position) {
  return block.text().left(position - block.position());
}

}  // namespace

NativeOffsets::NativeOffsets(QTextDocument& document) : document_(document) {
  changeConnection_ = QObject::connect(&document, &QTextDocument::contentsChange,
                                       [this](int from, int, int charsAdded) { ForgetLengths(from, charsAdded); });
}

NativeOffsets::~NativeOffsets() { QObject::disconnect(changeConnection_); }

std::size_t NativeOffsets::ByteOffsetOf(int position) const {
  position = ClampToText(document_, position);
  const QTextBlock target = document_.findBlock(position);
  std::size_t offset = 0;
  for (QTextBlock block = document_.begin(); block != target; block = block.next()) {
    offset += BlockByteLength(block) + kLineBreakBytes;
  }
  return offset + NativeLength(TextBefore(target, position));
}

int NativeOffsets::PositionOf(std::size_t byteOffset) const {
  std::size_t blockStart = 0;
  QTextBlock block = document_.begin();
  for (;; block = block.next()) {
    const std::size_t length = BlockByteLength(block);
    if (byteOffset < blockStart + length + kLineBreakBytes || !block.next().isValid()) break;
    blockStart += length + kLineBreakBytes;
  }
  return block.position() + static_cast<int>(IndexOfNativeOffset(block.text(), byteOffset - blockStart));
}

LineColumn NativeOffsets::LineColumnOf(int position) const {
  position = ClampToText(document_, position);
  const QTextBlock block = document_.findBlock(position);
  return {static_cast<std::size_t>(block.blockNumber()), NativeLength(TextBefore(block, position))};
}

std::size_t NativeOffsets::BlockByteLength(QTextBlock block) const {
  const int known = block.userState();
  if (known != kUnknownLength) return static_cast<std::size_t>(known);
  const std::size_t length = NativeLength(block.text());
  if (length <= static_cast<std::size_t>(INT_MAX)) block.setUserState(static_cast<int>(length));
  return length;
}

void NativeOffsets::ForgetLengths(int from, int charsAdded) {
  const QTextBlock last = document_.findBlock(from + charsAdded);
  for (QTextBlock block = document_.findBlock(from); block.isValid(); block = block.next()) {
    block.setUserState(kUnknownLength);
    if (block == last) break;
  }
}

}  // namespace propdesk
