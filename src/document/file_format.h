#pragma once
// The form in which a document's file holds its text. It is decided when the file is opened and
// used by every later Save and Save As.
#include <cstddef>
#include <string>
#include <string_view>

namespace propdesk {

struct FileFormat {
  enum class Encoding {
    kEscaped,  // ASCII with \uXXXX escapes (native code page 932 bytes, where there are any)
    kUtf8,     // raw UTF-8
  };
  Encoding encoding = Encoding::kEscaped;
  // The file began with the UTF-8 byte-order mark EF BB BF; the view does not show it.
  bool byteOrderMark = false;
  // A bare LF came before the first CR LF: the view shows CR LF, and saving writes LF back.
  bool lfLineEnds = false;
  bool operator==(const FileFormat&) const = default;
};

// The form of a file's bytes: whether they begin with a byte-order mark, and UTF-8 when the bytes
// after it of 0x80 and above form valid UTF-8 with at least one multi-byte sequence.
FileFormat FileFormatOf(std::string_view bytes);

// Where the text of a file of the format begins: after its byte-order mark.
std::size_t TextStart(const FileFormat& format);

// Puts the byte-order mark back in front of the bytes to be written, when the format has one.
void PutByteOrderMark(const FileFormat& format, std::string& bytes);

// The status bar's words for the format.
std::string FileFormatLabel(const FileFormat& format);

}  // namespace propdesk
