#include "convert/view_text.h"

#include <algorithm>
#include <cstdint>

#include "convert/cp932.h"
#include "convert/escape_syntax.h"
#include "convert/native_text.h"

namespace propdesk {
namespace {

constexpr char16_t kLineSeparator = u'\u2028';
constexpr char16_t kParagraphSeparator = u'\u2029';

bool IsLfFormLineBreak(char16_t unit) { return unit == u'\n' || unit == kParagraphSeparator; }

// The bytes of one view character; returns their count.
int EncodeViewUnit(char16_t unit, ViewLineBreak form, char* out) {
  if (form == ViewLineBreak::Lf && IsLfFormLineBreak(unit)) {
    out[0] = '\r';
    out[1] = '\n';
    return 2;
  }
  switch (unit) {
    case kLoneCrPlaceholder: out[0] = '\r'; return 1;
    case kLoneLfPlaceholder: out[0] = '\n'; return 1;
    case kNulPlaceholder: out[0] = '\0'; return 1;
    default: return cp932::EncodeUnit(unit, out);
  }
}

void AppendLineBreak(std::u16string& text, ViewLineBreak form) {
  text += form == ViewLineBreak::Lf ? u"\n" : u"\r\n";
}

}  // namespace

std::size_t WriteViewText(std::string_view native, ViewLineBreak form, char16_t* out) {
  char16_t* const begin = out;
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(native.data());
  const std::size_t size = native.size();
  for (std::size_t i = 0; i < size;) {
    const std::uint8_t b = bytes[i];
    if (b == '\r' && i + 1 < size && bytes[i + 1] == '\n') {
      if (form == ViewLineBreak::CrLf) *out++ = u'\r';
      *out++ = u'\n';
      i += 2;
    } else if (b == '\r' || b == '\n') {
      *out++ = b == '\r' ? kLoneCrPlaceholder : kLoneLfPlaceholder;
      ++i;
    } else if (b == 0 && form == ViewLineBreak::CrLf) {
      *out++ = kNulPlaceholder;
      ++i;
    } else {
      *out++ = NextNativeCharacter(native, i);
    }
  }
  return static_cast<std::size_t>(out - begin);
}

std::u16string NativeToViewText(std::string_view native, ViewLineBreak form) {
  std::u16string text(native.size(), u'\0');
  text.resize(WriteViewText(native, form, text.data()));
  return text;
}

std::size_t NativeLength(std::u16string_view text, ViewLineBreak form) {
  std::size_t length = 0;
  char bytes[2];
  for (const char16_t unit : text) length += static_cast<std::size_t>(EncodeViewUnit(unit, form, bytes));
  return length;
}

void AppendNative(std::string& out, std::u16string_view text, ViewLineBreak form) {
  std::size_t at = out.size();
  out.resize(at + NativeLength(text, form));
  for (const char16_t unit : text) at += static_cast<std::size_t>(EncodeViewUnit(unit, form, &out[at]));
}

std::string ViewTextToNative(std::u16string_view text, ViewLineBreak form) {
  std::string native;
  AppendNative(native, text, form);
  return native;
}

std::size_t IndexOfNativeOffset(std::u16string_view text, std::size_t offset, ViewLineBreak form) {
  std::size_t bytesBefore = 0;
  char bytes[2];
  for (std::size_t i = 0; i < text.size(); ++i) {
    bytesBefore += static_cast<std::size_t>(EncodeViewUnit(text[i], form, bytes));
    if (bytesBefore > offset) {
      // The LF of a CR LF belongs to the line break that starts at the CR.
      const bool crlfSecondHalf = form == ViewLineBreak::CrLf && text[i] == u'\n' && i > 0 && text[i - 1] == u'\r';
      return crlfSecondHalf ? i - 1 : i;
    }
  }
  return text.size();
}

bool IsEncodable(std::u16string_view text) {
  return std::all_of(text.begin(), text.end(), [](char16_t unit) { return cp932::RoundTrips(unit); });
}

std::u16string EnteredViewText(std::u16string_view text, ViewLineBreak form) {
  std::u16string entered;
  entered.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    if (unit == u'\r') {
      const bool crlf = i + 1 < text.size() && text[i + 1] == u'\n';
      if (crlf) {
        AppendLineBreak(entered, form);
        ++i;
      } else {
        entered += kLoneCrPlaceholder;
      }
    } else if (unit == u'\n' || unit == kLineSeparator || unit == kParagraphSeparator) {
      AppendLineBreak(entered, form);
    } else if (cp932::RoundTrips(unit)) {
      entered += unit;
    } else {
      char escape[8];  // WriteEscape stores a whole word
      escape::WriteEscape(unit, escape);
      entered.append(escape, escape + escape::kSize);
    }
  }
  return entered;
}

std::u16string ExternalPlainText(std::u16string_view text) {
  std::u16string plain(text);
  for (char16_t& unit : plain) {
    if (unit == kParagraphSeparator || unit == kLoneLfPlaceholder) {
      unit = u'\n';
    } else if (unit == kLoneCrPlaceholder) {
      unit = u'\r';
    }
  }
  return plain;
}

}  // namespace propdesk
