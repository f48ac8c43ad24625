#include "document/file_format.h"

#include "common/string_table.h"
#include "convert/utf8_native_codec.h"

namespace propdesk {

FileFormat TakeFileFormat(std::string& bytes) {
  FileFormat format;
  format.byteOrderMark = bytes.starts_with(kByteOrderMark);
  if (format.byteOrderMark) bytes.erase(0, kByteOrderMark.size());
  if (IsUtf8Text(bytes)) format.encoding = FileFormat::Encoding::kUtf8;
  return format;
}

void PutByteOrderMark(const FileFormat& format, std::string& bytes) {
  if (format.byteOrderMark) bytes.insert(0, kByteOrderMark);
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
