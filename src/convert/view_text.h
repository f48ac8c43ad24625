#pragma once
// The text a window's edit view holds, as UTF-16 code units, against the document's native text
// (code page 932 bytes with CR LF line breaks): conversion both ways, byte offsets of view indexes
// and the text that typing or pasting enters. Each native character is one code unit of the view.
#include <cstddef>
#include <string>
#include <string_view>

namespace propdesk {

// How the view writes a line break of the native text (CR LF).
enum class ViewLineBreak {
  Lf,    // one '\n' (U+2029 counts as one too): a text document that knows no other line end
  CrLf,  // the two units CR LF: an edit control that breaks lines only there
};

// A CR not followed by LF and an LF not preceded by CR cannot be line breaks of the view, and an
// edit control ends its text at a NUL. They are therefore held as these noncharacters: code page
// 932 cannot encode them and no byte sequence decodes to them, so they stand for nothing else.
// The Lf form keeps NUL as U+0000, which its text document holds like any other character.
inline constexpr char16_t kLoneCrPlaceholder = u'\uFDEE';
inline constexpr char16_t kLoneLfPlaceholder = u'\uFDEF';
inline constexpr char16_t kNulPlaceholder = u'\uFDED';

// Native bytes to view text, written to out, which has room for native.size() units; returns the
// number written. A lead byte followed by a trail byte is one character; every other byte is a
// character of its own.
std::size_t WriteViewText(std::string_view native, ViewLineBreak form, char16_t* out);
std::u16string NativeToViewText(std::string_view native, ViewLineBreak form);

// View text to native bytes, appended to out: line breaks become CR LF, placeholders their byte,
// every other character its code page 932 bytes.
void AppendNative(std::string& out, std::u16string_view text, ViewLineBreak form);
std::string ViewTextToNative(std::u16string_view text, ViewLineBreak form);

// The number of bytes AppendNative writes for text: the byte offset of the view index text.size(),
// and the byte column of an index counted from the start of its line.
std::size_t NativeLength(std::u16string_view text, ViewLineBreak form);

// The index in text of the character that holds byte offset (a character's second byte, or the
// LF of a CR LF, counts as the character), or text.size() when offset lies at or past its end.
std::size_t IndexOfNativeOffset(std::u16string_view text, std::size_t offset, ViewLineBreak form);

// True when every character of text comes back unchanged from code page 932.
bool IsEncodable(std::u16string_view text);

// Text typed or pasted, as the view takes it in: a character with an exact code page 932 form
// stays, any other code unit (each half of a surrogate pair too) becomes its lowercase \uxxxx
// escape text (never a best fit or '?'), so that nothing entered is lost and the view holds only
// text that is saved as shown. Every line break (CR LF, LF, U+2028, U+2029) becomes the form's
// line break and a lone CR stays a lone CR.
std::u16string EnteredViewText(std::u16string_view text, ViewLineBreak form);

// The view's text as plain text for other programs: line breaks as the view holds them (U+2029
// as '\n'), the lone CR and LF placeholders as the control characters they stand for.
std::u16string ExternalPlainText(std::u16string_view text);

}  // namespace propdesk
