#pragma once
// What the core needs of the view that holds the document text. The Qt shell implements it over
// its text widget; core tests use a test double. Text and positions are native code page 932
// bytes with CR LF line breaks; a double-byte character counts two. NUL bytes are text like any
// other. An operation that runs out of memory may throw std::bad_alloc and leaves the view as it was.
#include <cstddef>
#include <string>
#include <string_view>

namespace propdesk {

struct ByteRange {
  std::size_t start = 0;
  std::size_t end = 0;  // start <= end
};

struct LineColumn {
  std::size_t line = 0;    // zero-based line of the selection start
  std::size_t column = 0;  // zero-based byte offset of the selection start within that line
};

class TextView {
 public:
  virtual ~TextView() = default;

  // The whole text, valid until the text next changes. May cost time in proportion to the text:
  // for open, save, search and Replace All.
  virtual const std::string& GetText() const = 0;
  virtual bool IsEmpty() const = 0;
  // Replaces the whole text, putting the caret at the start; modified flag and undo are the caller's.
  virtual void SetText(std::string_view text) = 0;
  // Replaces the whole text as one undoable edit that leaves the document modified.
  virtual void ReplaceAllText(std::string_view text) = 0;

  virtual ByteRange GetSelection() const = 0;
  // Selects [start, end); offsets past the end are clamped to the text's length.
  virtual void SetSelection(std::size_t start, std::size_t end) = 0;
  virtual void ScrollCaretIntoView() = 0;
  // Replaces the selection with text as an undoable edit; the caret ends after the new text.
  virtual void ReplaceSelection(std::string_view text) = 0;
  // Line and byte column of the selection start; costs time in proportion to that line only.
  virtual LineColumn GetSelectionStartLineColumn() const = 0;

  virtual bool IsModified() const = 0;
  virtual void SetModified(bool modified) = 0;
  virtual bool CanUndo() const = 0;
  virtual void Undo() = 0;
  virtual void EmptyUndoBuffer() = 0;

  virtual bool IsReadOnly() const = 0;
  virtual void SetReadOnly(bool readOnly) = 0;
};

}  // namespace propdesk
