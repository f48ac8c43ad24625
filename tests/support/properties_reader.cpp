#include "support/properties_reader.h"

#include <cstdint>
#include <cstdio>
#include <optional>

namespace propdesk::test {
namespace {

bool IsWhitespace(char16_t c) { return c == ' ' || c == '\t' || c == '\f'; }

// Strict UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF) as UTF-16, or nothing.
std::optional<std::u16string> DecodeUtf8(std::string_view bytes) {
  std::u16string text;
  for (std::size_t i = 0; i < bytes.size();) {
    const auto lead = static_cast<std::uint8_t>(bytes[i]);
    const int trailing = lead < 0x80 ? 0 : lead >= 0xC2 && lead <= 0xDF ? 1 : (lead & 0xF0) == 0xE0 ? 2
                         : lead >= 0xF0 && lead <= 0xF4 ? 3 : -1;
    if (trailing < 0 || bytes.size() - i <= static_cast<std::size_t>(trailing)) return {};
    char32_t code = trailing == 0 ? lead : lead & (0x3F >> trailing);
    for (int k = 1; k <= trailing; ++k) {
      const auto next = static_cast<std::uint8_t>(bytes[i + static_cast<std::size_t>(k)]);
      if ((next & 0xC0) != 0x80) return {};
      code = code << 6 | (next & 0x3F);
    }
    static constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
    if (code < kSmallest[trailing] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return {};
    if (code >= 0x10000) {
      text.push_back(static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)));
      text.push_back(static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
    } else {
      text.push_back(static_cast<char16_t>(code));
    }
    i += static_cast<std::size_t>(trailing) + 1;
  }
  return text;
}

std::u16string DecodeLatin1(std::string_view bytes) {
  std::u16string text;
  for (const char byte : bytes) text.push_back(static_cast<std::uint8_t>(byte));
  return text;
}

// Java's LineReader: the next logical line, its continuations joined, without the backslash of
// each continuation and the leading whitespace of the line after it. Comment and blank lines are
// skipped. False at the end of the input.
bool ReadLogicalLine(const std::u16string& in, std::size_t& off, std::u16string& line) {
  line.clear();
  bool skipWhitespace = true;
  bool appendedLineBegin = false;
  bool precedingBackslash = false;
  const auto finish = [&] {
    if (precedingBackslash) line.pop_back();
    return true;
  };
  while (true) {
    if (off >= in.size()) return line.empty() ? false : finish();
    const char16_t c = in[off++];
    if (skipWhitespace) {
      if (IsWhitespace(c)) continue;
      if (!appendedLineBegin && (c == '\r' || c == '\n')) continue;
      skipWhitespace = false;
      appendedLineBegin = false;
    }
    if (line.empty() && (c == '#' || c == '!')) {
      while (off < in.size()) {
        const char16_t skipped = in[off++];
        if (skipped == '\r' || skipped == '\n') break;
      }
      skipWhitespace = true;
      continue;
    }
    if (c != '\n' && c != '\r') {
      line.push_back(c);
      precedingBackslash = c == '\\' ? !precedingBackslash : false;
      continue;
    }
    if (line.empty()) {
      skipWhitespace = true;
      continue;
    }
    // At the end of the input the logical line ends, even after a backslash (which is dropped).
    if (off >= in.size() || !precedingBackslash) return finish();
    line.pop_back();
    skipWhitespace = true;
    appendedLineBegin = true;
    precedingBackslash = false;
    if (c == '\r' && in[off] == '\n') ++off;
  }
}

constexpr const char* kMalformed = "Malformed \\uxxxx encoding.";

// Java's loadConvert: the escapes of in turned into their characters; nothing when a \u escape
// is malformed.
std::optional<std::u16string> Unescape(std::u16string_view in) {
  std::u16string out;
  for (std::size_t off = 0; off < in.size();) {
    char16_t c = in[off++];
    if (c != '\\') {
      out.push_back(c);
      continue;
    }
    if (off == in.size()) break;
    c = in[off++];
    if (c == 'u') {
      if (off + 4 > in.size()) return {};
      char16_t value = 0;
      for (int i = 0; i < 4; ++i) {
        const char16_t digit = in[off++];
        const int v = digit >= '0' && digit <= '9'   ? digit - '0'
                      : digit >= 'a' && digit <= 'f' ? digit - 'a' + 10
                      : digit >= 'A' && digit <= 'F' ? digit - 'A' + 10
                                                     : -1;
        if (v < 0) return {};
        value = static_cast<char16_t>(value << 4 | v);
      }
      out.push_back(value);
    } else {
      out.push_back(c == 't' ? u'\t' : c == 'r' ? u'\r' : c == 'n' ? u'\n' : c == 'f' ? u'\f' : c);
    }
  }
  return out;
}

void AppendDescribed(std::string& out, const std::u16string& text) {
  for (const char16_t c : text) {
    if (c >= 0x20 && c < 0x7F && c != '\\' && c != '=') {
      out.push_back(static_cast<char>(c));
    } else {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(c));
      out += escape;
    }
  }
}

}  // namespace

PropertiesContent ReadProperties(std::string_view bytes, PropertiesEncoding encoding) {
  std::optional<std::u16string> text;
  if (encoding == PropertiesEncoding::Utf8) text = DecodeUtf8(bytes);
  if (!text) text = DecodeLatin1(bytes);

  PropertiesContent content;
  std::size_t off = 0;
  std::u16string line;
  while (ReadLogicalLine(*text, off, line)) {
    // The key ends at the first unescaped '=', ':' or whitespace; then whitespace, at most one
    // '=' or ':', whitespace.
    std::size_t keyLength = 0;
    std::size_t valueStart = line.size();
    bool hasSeparator = false;
    for (bool precedingBackslash = false; keyLength < line.size(); ++keyLength) {
      const char16_t c = line[keyLength];
      if (!precedingBackslash && (c == '=' || c == ':' || IsWhitespace(c))) {
        valueStart = keyLength + 1;
        hasSeparator = c == '=' || c == ':';
        break;
      }
      precedingBackslash = c == '\\' ? !precedingBackslash : false;
    }
    for (; valueStart < line.size(); ++valueStart) {
      const char16_t c = line[valueStart];
      if (IsWhitespace(c)) continue;
      if (hasSeparator || (c != '=' && c != ':')) break;
      hasSeparator = true;
    }
    const std::optional<std::u16string> key = Unescape(std::u16string_view(line).substr(0, keyLength));
    const std::optional<std::u16string> value = Unescape(std::u16string_view(line).substr(valueStart));
    if (!key || !value) return {{}, kMalformed};
    content.entries[*key] = *value;
  }
  return content;
}

std::string Describe(const PropertiesContent& content) {
  if (!content.error.empty()) return "error: " + content.error + "\n";
  std::string out;
  for (const auto& [key, value] : content.entries) {
    AppendDescribed(out, key);
    out.push_back('=');
    AppendDescribed(out, value);
    out.push_back('\n');
  }
  return out;
}

}  // namespace propdesk::test
