#pragma once
// A document's file as it was last read or written, kept so that saving writes every line the
// person has not changed back exactly as it stands in the file: its escapes with their case, its
// own line end, the byte-order mark. Only changed and new lines are encoded.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "convert/escape_codec.h"
#include "document/file_format.h"

namespace propdesk {

class UntouchedLines {
 public:
  // Keeps file, the file's bytes, whose text starts at textStart (after a byte-order mark), with
  // the lines of shown, the text the view shows for it (native, CR LF). Lines end at CR LF, a lone
  // CR or a lone LF in both. Nothing is kept when the two do not have as many lines, since their
  // lines could not be paired then.
  static std::optional<UntouchedLines> Keep(std::string file, std::size_t textStart, std::string_view shown);

  // The file that holds text, kept to be written: the lines of text that a line diff finds in
  // the text as kept are the file's bytes of those lines, each with its own line end, and so is a
  // line equal to one that the diff left unpaired between the same two common stretches (equal
  // lines between two edits). Other lines are encoded (escaped in the hex case most of the file's
  // escapes use, or UTF-8) and end like the file's first line. A file without a line break gets
  // CR LF. The last line ends as text ends.
  UntouchedLines Rewrite(std::string_view text, FileFormat::Encoding encoding) const;

  const std::string& File() const { return file_; }

 private:
  UntouchedLines(std::string file, std::size_t textStart, std::vector<std::uint64_t> lineKeys, HexCase hexCase,
                 std::string_view newLineEnd);

  std::string file_;
  std::size_t textStart_;
  // A hash of each line of the shown text: the text itself is not kept, to spare its memory.
  std::vector<std::uint64_t> lineKeys_;
  HexCase hexCase_;
  std::string_view newLineEnd_;
};

}  // namespace propdesk
