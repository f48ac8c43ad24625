#include "convert/conversion_front.h"

#include "convert/escape_codec.h"
#include "common/string_table.h"

namespace propdesk {
namespace {

bool ReportOutOfMemory(std::string* errorText) {
  if (errorText) LoadText(IDS_CONVERSION_FIRST + 5, *errorText, 1024);
  return false;
}

}  // namespace

bool ConvertToNative(std::string& text, std::string* errorText) {
  return DecodeEscapes(text) || ReportOutOfMemory(errorText);
}

bool ConvertToEscaped(std::string& text, std::string* errorText) {
  return EncodeEscapes(text) || ReportOutOfMemory(errorText);
}

}  // namespace propdesk
