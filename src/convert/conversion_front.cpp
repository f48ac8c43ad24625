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

using BuiltInStep = bool (*)(std::string_view, std::string&);
using ExternalStep = bool (ExternalConverter::*)(std::string_view, std::string_view);

bool Convert(std::string_view text, std::string& result, std::string* errorText, const ConverterChoice& choice,
             BuiltInStep builtIn, ExternalStep external) {
  if (!choice.useExternal) {
    if (builtIn(text, result)) return true;
    if (errorText) *errorText = ConversionMessage(ConversionStatus::OutOfMemory, 0);
    return false;
  }
  ExternalConverter converter(choice.shouldCancel);
  if ((converter.*external)(choice.commandPath, text)) {
    result = converter.TakeOutput();
    return true;
  }
  if (errorText) *errorText = converter.ErrorText();
  return false;
}

bool ConvertInPlace(std::string& text, std::string* errorText, const ConverterChoice& choice, BuiltInStep builtIn,
                    ExternalStep external) {
  std::string result;
  if (!Convert(text, result, errorText, choice, builtIn, external)) return false;
  text.swap(result);
  return true;
}

// The choice of the settings at this moment, with the installed cancel check.
ConverterChoice CurrentChoice() {
  const Settings& settings = GetSettings();
  return {settings.UseNative2Ascii, settings.Native2AsciiPath, ExternalCancelCheck()};
}

}  // namespace

bool ConvertToNative(std::string& text, std::string* errorText, const ConverterChoice& choice) {
  return ConvertInPlace(text, errorText, choice, DecodeEscapesKeepingMeaning, &ExternalConverter::ToNative);
}

bool ConvertToEscaped(std::string& text, std::string* errorText, const ConverterChoice& choice) {
  return ConvertInPlace(text, errorText, choice, EncodeEscapes, &ExternalConverter::ToEscaped);
}

bool ConvertToNative(std::string_view escaped, std::string& native, std::string* errorText) {
  return Convert(escaped, native, errorText, CurrentChoice(), DecodeEscapesKeepingMeaning, &ExternalConverter::ToNative);
}

bool ConvertToNative(std::string& text, std::string* errorText) {
  return ConvertToNative(text, errorText, CurrentChoice());
}

bool ConvertToEscaped(std::string& text, std::string* errorText) {
  return ConvertToEscaped(text, errorText, CurrentChoice());
}

void SetExternalCancelCheck(CancelCheck shouldCancel) { ExternalCancelCheck() = std::move(shouldCancel); }

}  // namespace propdesk
