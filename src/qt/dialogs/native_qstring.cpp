#include "qt/dialogs/native_qstring.h"

#include <algorithm>
#include <cstdint>

#include "convert/cp932.h"
#include "convert/escape_syntax.h"
#include "convert/native_text.h"

namespace propdesk {
namespace {

constexpr char16_t kLineSeparator = u'\u2028';
constexpr char16_t kParagraphSeparator = u'\u2029';

bool IsViewLineBreak(char16_t unit) { return unit == u'\n' || unit == kParagraphSeparator; }

// The bytes of one view character; returns their count.
int EncodeViewUnit(char16_t unit, char* out) {
  if (IsViewLineBreak(unit)) {
    out[0] = '\r';
    out[1] = '\n';
    return 2;
  }
  if (unit == kLoneCrPlaceholder || unit == kLoneLfPlaceholder) {
    out[0] = unit == kLoneCrPlaceholder ? '\r' : '\n';
    return 1;
  }
  return cp932::EncodeUnit(unit, out);
}

}  // namespace

QString NativeToQString(std::string_view native) {
  QString text(static_cast<qsizetype>(native.size()), Qt::Uninitialized);
  QChar* out = text.data();
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(native.data());
  const std::size_t size = native.size();
  for (std::size_t i = 0; i < size;) {
    const std::uint8_t b = bytes[i];
    const bool nextExists = i + 1 < size;
    if (b == '\r') {
      const bool crlf = nextExists && bytes[i + 1] == '\n';
      *out++ = crlf ? QChar(u'\n') : QChar(kLoneCrPlaceholder);
      i += crlf ? 2 : 1;
    } else if (b == '\n') {
      *out++ = QChar(kLoneLfPlaceholder);
      ++i;
    } else {
      *out++ = QChar(NextNativeCharacter(native, i));
    }
  }
  text.truncate(out - text.constData());
  return text;
}

std::size_t NativeLength(QStringView text) {
  std::size_t length = 0;
  char bytes[2];
  for (const QChar c : text) length += static_cast<std::size_t>(EncodeViewUnit(c.unicode(), bytes));
  return length;
}

void AppendNative(std::string& out, QStringView text) {
  std::size_t at = out.size();
  out.resize(at + NativeLength(text));
  for (const QChar c : text) at += static_cast<std::size_t>(EncodeViewUnit(c.unicode(), &out[at]));
}

std::string QStringToNative(QStringView text) {
  std::string native;
  AppendNative(native, text);
  return native;
}

qsizetype IndexOfNativeOffset(QStringView text, std::size_t offset) {
  std::size_t bytesBefore = 0;
  char bytes[2];
  for (qsizetype i = 0; i < text.size(); ++i) {
    bytesBefore += static_cast<std::size_t>(EncodeViewUnit(text[i].unicode(), bytes));
    if (bytesBefore > offset) return i;
  }
  return text.size();
}

bool IsEncodable(QStringView text) {
  return std::all_of(text.begin(), text.end(), [](QChar c) { return cp932::RoundTrips(c.unicode()); });
}

QString EnteredViewText(QStringView text) {
  QString entered;
  entered.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i].unicode();
    if (unit == u'\r') {
      const bool crlf = i + 1 < text.size() && text[i + 1] == u'\n';
      entered += crlf ? QChar(u'\n') : QChar(kLoneCrPlaceholder);
      i += crlf ? 1 : 0;
    } else if (unit == u'\n' || unit == kLineSeparator || unit == kParagraphSeparator) {
      entered += u'\n';
    } else if (cp932::RoundTrips(unit)) {
      entered += QChar(unit);
    } else {
      char escape[8];
      escape::WriteEscape(unit, escape);
      entered += QLatin1StringView(escape, escape::kSize);
    }
  }
  return entered;
}

QString ExternalPlainText(QStringView text) {
  QString plain = text.toString();
  for (QChar& c : plain) {
    if (c == kParagraphSeparator || c == kLoneLfPlaceholder) {
      c = u'\n';
    } else if (c == kLoneCrPlaceholder) {
      c = u'\r';
    }
  }
  return plain;
}

}  // namespace propdesk
