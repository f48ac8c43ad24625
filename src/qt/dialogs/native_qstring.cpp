#include "qt/dialogs/native_qstring.h"

namespace propdesk {
namespace {

std::u16string_view Units(QStringView text) {
  return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

QString ToQString(const std::u16string& text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QString NativeToQString(std::string_view native) {
  QString text(static_cast<qsizetype>(native.size()), Qt::Uninitialized);
  const std::size_t length = WriteViewText(native, ViewLineBreak::Lf, reinterpret_cast<char16_t*>(text.data()));
  text.truncate(static_cast<qsizetype>(length));
  return text;
}

std::size_t NativeLength(QStringView text) { return NativeLength(Units(text), ViewLineBreak::Lf); }

void AppendNative(std::string& out, QStringView text) { AppendNative(out, Units(text), ViewLineBreak::Lf); }

std::string QStringToNative(QStringView text) { return ViewTextToNative(Units(text), ViewLineBreak::Lf); }

qsizetype IndexOfNativeOffset(QStringView text, std::size_t offset) {
  return static_cast<qsizetype>(IndexOfNativeOffset(Units(text), offset, ViewLineBreak::Lf));
}

bool IsEncodable(QStringView text) { return IsEncodable(Units(text)); }

QString EnteredViewText(QStringView text) { return ToQString(EnteredViewText(Units(text), ViewLineBreak::Lf)); }

QString ExternalPlainText(QStringView text) { return ToQString(ExternalPlainText(Units(text))); }

}  // namespace propdesk
