#include "convert/conversion_front.h"

#include <utility>

#include "convert/escape_codec.h"
#include "convert/external_converter.h"
#include "convert/meaning_safe_decoder.h"
#include "settings/settings.h"

namespace propdesk {
namespace {

CancelCheck& ExternalCancelCheck() {
  static CancelCheck check;
  return check;
}

using BuiltInStep = bool (*)(std::string&);
using ExternalStep = bool (ExternalConverter::*)(std::string_view, std::string_view);

bool Convert(std::string& text, std::string* errorText, BuiltInStep builtIn, ExternalStep external) {
  const Settings& settings = GetSettings();
  if (!settings.UseNative2Ascii) {
    if (builtIn(text)) return true;
    if (errorText) *errorText = ConversionMessage(ConversionStatus::OutOfMemory, 0);
    return false;
  }
  ExternalConverter converter(ExternalCancelCheck());
  if ((converter.*external)(settings.Native2AsciiPath, text)) {
    text = converter.TakeOutput();
    return true;
  }
  if (errorText) *errorText = converter.ErrorText();
  return false;
}

}  // namespace

bool ConvertToNative(std::string& text, std::string* errorText) {
  return Convert(text, errorText, DecodeEscapesKeepingMeaning, &ExternalConverter::ToNative);
}

bool ConvertToEscaped(std::string& text, std::string* errorText) {
  return Convert(text, errorText, EncodeEscapes, &ExternalConverter::ToEscaped);
}

void SetExternalCancelCheck(CancelCheck shouldCancel) { ExternalCancelCheck() = std::move(shouldCancel); }

}  // namespace propdesk
