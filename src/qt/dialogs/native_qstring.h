#pragma once
// Conversion between the document's native text (code page 932 bytes, CR LF line breaks) and the
// QString held by the Qt text view, with the project's own code page 932 tables.
#include <QString>
#include <QStringView>

#include <cstddef>
#include <string>
#include <string_view>

#include "convert/view_text.h"

namespace propdesk {

// Qt's text document turns every CR and LF into a line break: a lone CR or LF is held as its
// placeholder (convert/view_text.h), and each line break of the native text is one '\n'.

// Native bytes to view text. CR LF becomes '\n'; a lead byte followed by a trail byte is one
// character; every other byte is a character of its own. NUL bytes stay U+0000.
QString NativeToQString(std::string_view native);

// View text to native bytes, appended to out: '\n' and U+2029 become CR LF, the placeholders their
// byte, every other character its code page 932 bytes.
void AppendNative(std::string& out, QStringView text);
std::string QStringToNative(QStringView text);

// The number of bytes AppendNative writes for text.
std::size_t NativeLength(QStringView text);

// The index in text of the character that holds byte offset (a character's second byte counts
// as the character), or the length of text when offset lies at or past its end.
qsizetype IndexOfNativeOffset(QStringView text, std::size_t offset);

// True when every character of text comes back unchanged from code page 932.
bool IsEncodable(QStringView text);

// Text typed or pasted, as the view takes it in: a character with an exact code page 932 form
// stays, any other code unit becomes its lowercase \uxxxx escape text (never a best fit or '?'),
// so that nothing entered is lost and the view holds only text that is saved as shown. Every line
// break (CR LF, LF, U+2028, U+2029) becomes '\n' and a lone CR stays a lone CR.
QString EnteredViewText(QStringView text);

// The view's text as plain text for other programs: line breaks as '\n', placeholders as the
// control character they stand for.
QString ExternalPlainText(QStringView text);

}  // namespace propdesk
