#include "convert/conversion_front.h"

#include <utility>

#include "convert/escape_codec.h"
#include "convert/external_converter.h"
#include "convert/in_place.h"
#include "convert/meaning_safe_decoder.h"

namespace propdesk {
namespace {

using BuiltInStep = bool (*)(std::string_view, std::string&);

bool Convert(std::string_view text, std::string& result, std::string* errorText, const ConverterChoice& choice,
             BuiltInStep builtIn, ConversionDirection direction) {
  if (!choice.useExternal) {
    if (builtIn(text, result)) return true;
    if (errorText) *errorText = ConversionMessage(ConversionStatus::OutOfMemory, 0);
    return false;
  }
  ExternalConversion converted = ConvertExternally(direction, choice.commandPath, text, choice.shouldCancel);
  if (converted.Succeeded()) {
    result = std::move(converted.output);
    return true;
  }
  if (errorText) *errorText = ConversionMessage(converted.status, converted.systemError);
  return false;
}

}  // namespace

bool ConvertToNative(std::string& text, std::string* errorText, const ConverterChoice& choice) {
  return ConvertInPlace(text, [&](std::string_view escaped, std::string& native) {
    return ConvertToNative(escaped, native, errorText, choice);
  });
}

bool ConvertToEscaped(std::string& text, std::string* errorText, const ConverterChoice& choice) {
  return ConvertInPlace(text, [&](std::string_view native, std::string& escaped) {
    return Convert(native, escaped, errorText, choice, EncodeEscapes, ConversionDirection::ToEscaped);
  });
}

bool ConvertToNative(std::string_view escaped, std::string& native, std::string* errorText,
                     const ConverterChoice& choice) {
  return Convert(escaped, native, errorText, choice, DecodeEscapesKeepingMeaning, ConversionDirection::ToNative);
}

}  // namespace propdesk
