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

bool Convert(std::string& text, std::string* errorText, const ConverterChoice& choice, BuiltInStep builtIn,
             ExternalStep external) {
  if (!choice.useExternal) {
    if (builtIn(text)) return true;
    if (errorText) *errorText = ConversionMessage(ConversionStatus::OutOfMemory, 0);
    return false;
  }
  ExternalConverter converter(choice.shouldCancel);
  if ((converter.*external)(choice.commandPath, text)) {
    text = converter.TakeOutput();
    return true;
  }
  if (errorText) *errorText = converter.ErrorText();
  return false;
}

// The choice of the settings at this moment, with the installed cancel check.
ConverterChoice CurrentChoice() {
  const Settings& settings = GetSettings();
  return {settings.UseNative2Ascii, settings.Native2AsciiPath, ExternalCancelCheck()};
}

}  // namespace

bool ConvertToNative(std::string& text, std::string* errorText, const ConverterChoice& choice) {
  return Convert(text, errorText, choice, DecodeEscapesKeepingMeaning, &ExternalConverter::ToNative);
}

bool ConvertToEscaped(std::string& text, std::string* errorText, const ConverterChoice& choice) {
  return Convert(text, errorText, choice, EncodeEscapes, &ExternalConverter::ToEscaped);
}

bool ConvertToNative(std::string& text, std::string* errorText) {
  return ConvertToNative(text, errorText, CurrentChoice());
}

bool ConvertToEscaped(std::string& text, std::string* errorText) {
  return ConvertToEscaped(text, errorText, CurrentChoice());
}

void SetExternalCancelCheck(CancelCheck shouldCancel) { ExternalCancelCheck() = std::move(shouldCancel); }

}  // namespace propdesk
