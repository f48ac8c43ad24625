#include "document/file_format.h"

#include "common/string_table.h"
#include "common/utf8.h"
#include "convert/utf8_native_codec.h"

namespace propdesk {

FileFormat FileFormatOf(std::string_view bytes) {
  FileFormat format;
  format.byteOrderMark = bytes.starts_with(utf8::kByteOrderMark);
  if (IsUtf8Text(bytes.substr(TextStart(format)))) format.encoding = FileFormat::Encoding::kUtf8;
  return format;
}

std::size_t TextStart(const FileFormat& format) { return format.byteOrderMark ? utf8::kByteOrderMark.size() : 0; }

void PutByteOrderMark(const FileFormat& format, std::string& bytes) {
  if (format.byteOrderMark) bytes.insert(0, utf8::kByteOrderMark);
}

std::string FileFormatLabel(const FileFormat& format) {
  std::string label;
  if (format.encoding == FileFormat::Encoding::kUtf8) {
    LoadText(format.byteOrderMark ? IDS_UTF8_WITH_BOM : IDS_UTF8, label);
  } else {
    LoadText(format.byteOrderMark ? IDS_ESCAPED_FORM_WITH_BOM : IDS_ESCAPED_FORM, label);
  }
  return label;
}

}  // namespace propdesk
