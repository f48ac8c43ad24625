#include "settings/reg_file.h"

#include <algorithm>
#include <cstdio>

#include "common/hex_digit.h"
#include "common/utf8.h"
#include "settings/utf16le.h"

namespace propdesk {
namespace {

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";
// Hex data lines are wrapped before this column, as exports wrap them.
constexpr std::size_t kHexLineWidth = 77;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimLeft(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  return text;
}

std::string_view TrimRight(std::string_view text) {
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

char FoldCase(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Key and value names compare as the registry compares them, without regard to (ASCII) case.
bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, [](char x, char y) { return FoldCase(x) == FoldCase(y); });
}

// Reads 1 to maxDigits hexadecimal digits, all of text.
std::optional<std::uint32_t> ParseHexNumber(std::string_view text, std::size_t maxDigits) {
  if (text.empty() || text.size() > maxDigits) return std::nullopt;
  std::uint32_t number = 0;
  for (const char c : text) {
    const int digit = HexDigitValue(c);
    if (digit < 0) return std::nullopt;
    number = number << 4 | static_cast<std::uint32_t>(digit);
  }
  return number;
}

bool IsStringType(std::uint32_t type) { return type == kRegSz || type == kRegExpandSz || type == kRegMultiSz; }

// One physical line: its full text with the line end, and its content without it.
struct PhysicalLine {
  std::string_view text;
  std::string_view content;
  std::string_view eol;
};

class LineReader {
 public:
  explicit LineReader(std::string_view text) : rest_(text) {}
  bool AtEnd() const { return rest_.empty(); }
  PhysicalLine Peek() const {
    const std::size_t newline = rest_.find('\n');
    const std::size_t end = newline == std::string_view::npos ? rest_.size() : newline + 1;
    PhysicalLine line{rest_.substr(0, end), rest_.substr(0, end), {}};
    std::size_t eolLength = newline == std::string_view::npos ? 0 : 1;
    if (eolLength == 1 && newline > 0 && rest_[newline - 1] == '\r') eolLength = 2;
    line.content.remove_suffix(eolLength);
    line.eol = line.text.substr(line.text.size() - eolLength);
    return line;
  }
  PhysicalLine Next() {
    const PhysicalLine line = Peek();
    rest_.remove_prefix(line.text.size());
    return line;
  }

 private:
  std::string_view rest_;
};

// A line that opens a key or names a value; a hex continuation never runs into one.
bool StartsEntry(std::string_view content) {
  const std::string_view trimmed = TrimLeft(content);
  return !trimmed.empty() && (trimmed.front() == '[' || trimmed.front() == '"' || trimmed.front() == '@');
}

// Reads a quoted string at the start of text with \\ and \" unescaped; rest receives what follows
// the closing quote. Any other backslash sequence, or a missing closing quote, makes it unreadable.
std::optional<std::string> ParseQuoted(std::string_view text, std::string_view& rest) {
  if (text.empty() || text.front() != '"') return std::nullopt;
  std::string out;
  for (std::size_t i = 1; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '"') {
      rest = text.substr(i + 1);
      return out;
    }
    if (c == '\\') {
      if (i + 1 == text.size() || (text[i + 1] != '\\' && text[i + 1] != '"')) return std::nullopt;
      ++i;
    }
    out += text[i];
  }
  return std::nullopt;
}

std::string Quote(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  out += '"';
  return out;
}

// Comma-separated bytes of one or two hex digits each; blanks around them are allowed.
std::optional<std::string> ParseHexBytes(std::string_view list) {
  std::string bytes;
  if (TrimLeft(list).empty()) return bytes;
  while (true) {
    const std::size_t comma = list.find(',');
    const auto number = ParseHexNumber(TrimRight(TrimLeft(list.substr(0, comma))), 2);
    if (!number) return std::nullopt;
    bytes += static_cast<char>(*number);
    if (comma == std::string_view::npos) return bytes;
    list.remove_prefix(comma + 1);
  }
}

// hex:..., hex(N):..., with string types converted from UTF-16LE.
std::optional<RegValue> ParseHexData(std::string_view data) {
  std::uint32_t type = kRegBinary;
  if (data.starts_with("hex(")) {
    const std::size_t close = data.find("):");
    if (close == std::string_view::npos) return std::nullopt;
    const auto number = ParseHexNumber(data.substr(4, close - 4), 8);
    if (!number) return std::nullopt;
    type = *number;
    data.remove_prefix(close + 2);
  } else if (data.starts_with("hex:")) {
    data.remove_prefix(4);
  } else {
    return std::nullopt;
  }
  auto bytes = ParseHexBytes(data);
  if (!bytes) return std::nullopt;
  if (IsStringType(type)) {
    if (bytes->size() % 2 != 0) return std::nullopt;
    *bytes = Utf16LeToUtf8(*bytes);
  }
  return RegValue{type, std::move(*bytes)};
}

std::optional<RegValue> ParseData(std::string_view data) {
  data = TrimRight(data);
  if (data.starts_with('"')) {
    std::string_view rest;
    const auto text = ParseQuoted(data, rest);
    if (!text || !rest.empty()) return std::nullopt;
    return RegValue::String(*text);
  }
  if (data.starts_with("dword:")) {
    const std::string_view digits = data.substr(6);
    // Exports always write eight digits; fewer are taken as a cut-off line, not as a smaller number.
    if (digits.size() != 8) return std::nullopt;
    const auto number = ParseHexNumber(digits, 8);
    if (!number) return std::nullopt;
    return RegValue::Dword(*number);
  }
  return ParseHexData(data);
}

// A REG_SZ that a quoted string can carry: one final NUL, and no line break that would split the line.
bool FitsQuotes(const RegValue& value) {
  return value.type == kRegSz && value.data.ends_with('\0') &&
         value.data.find_first_of(std::string_view("\0\r\n", 3)) == value.data.size() - 1;
}

std::string FormatHex(std::string line, const RegValue& value, std::string_view eol) {
  char prefix[16];
  if (value.type == kRegBinary) {
    std::snprintf(prefix, sizeof prefix, "hex:");
  } else {
    std::snprintf(prefix, sizeof prefix, "hex(%x):", static_cast<unsigned>(value.type));
  }
  line += prefix;
  const std::string bytes = IsStringType(value.type) ? Utf8ToUtf16Le(value.data) : value.data;
  std::size_t column = line.size();
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    char item[4];
    std::snprintf(item, sizeof item, i + 1 < bytes.size() ? "%02x," : "%02x",
                  static_cast<unsigned>(static_cast<unsigned char>(bytes[i])));
    const std::string_view itemText(item);
    if (column + itemText.size() > kHexLineWidth) {
      line += '\\';
      line += eol;
      line += "  ";
      column = 2;
    }
    line += itemText;
    column += itemText.size();
  }
  return line;
}

bool EndsWithBlankLine(std::string_view text) {
  return text == "\n" || text == "\r\n" || text.ends_with("\n\n") || text.ends_with("\n\r\n");
}

}  // namespace

RegValue RegValue::Dword(std::uint32_t number) {
  std::string bytes(4, '\0');
  for (std::size_t i = 0; i < 4; ++i) bytes[i] = static_cast<char>((number >> (8 * i)) & 0xFF);
  return {kRegDword, std::move(bytes)};
}

RegValue RegValue::String(std::string_view text) {
  std::string data(text);
  data += '\0';
  return {kRegSz, std::move(data)};
}

std::optional<std::uint32_t> RegValue::AsDword() const {
  if (type != kRegDword || data.size() != 4) return std::nullopt;
  std::uint32_t number = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    number |= static_cast<std::uint32_t>(static_cast<unsigned char>(data[i])) << (8 * i);
  }
  return number;
}

std::string FormatRegValue(std::string_view name, const RegValue& value, std::string_view eol) {
  std::string line = name.empty() ? std::string("@") : Quote(name);
  line += '=';
  if (const auto number = value.AsDword()) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "dword:%08x", static_cast<unsigned>(*number));
    return line + digits;
  }
  if (FitsQuotes(value)) return line + Quote(std::string_view(value.data).substr(0, value.data.size() - 1));
  return FormatHex(std::move(line), value, eol);
}

RegFile::RegFile() : preamble_(std::string(kHeader) + "\r\n") {}

std::optional<RegFile> RegFile::Parse(std::string_view text) {
  RegFile file;
  file.preamble_.clear();
  if (text.starts_with(utf8::kByteOrderMark)) {
    file.preamble_ += utf8::kByteOrderMark;
    text.remove_prefix(utf8::kByteOrderMark.size());
  }
  LineReader reader(text);
  bool headerFound = false;
  while (!headerFound && !reader.AtEnd()) {
    const PhysicalLine line = reader.Next();
    file.preamble_ += line.text;
    const std::string_view content = TrimRight(line.content);
    if (content.empty()) continue;
    if (content != kHeader) return std::nullopt;
    headerFound = true;
    if (!line.eol.empty()) file.eol_ = line.eol;
  }
  if (!headerFound) return std::nullopt;

  while (!reader.AtEnd()) {
    const PhysicalLine line = reader.Next();
    const std::string_view content = TrimLeft(line.content);
    if (content.starts_with('[')) {
      file.sections_.push_back(ParseSectionHeader(std::string(line.text), content));
    } else if (file.sections_.empty()) {
      file.preamble_ += line.text;
    } else if (StartsEntry(content)) {
      std::string fullText(line.text);
      std::string joined(TrimRight(content));
      while (joined.ends_with('\\') && !reader.AtEnd() && !StartsEntry(reader.Peek().content)) {
        const PhysicalLine continuation = reader.Next();
        fullText += continuation.text;
        joined.pop_back();
        joined += TrimRight(TrimLeft(continuation.content));
      }
      file.sections_.back().lines.push_back(ParseValueLine(std::move(fullText), joined));
    } else {
      file.sections_.back().lines.push_back(Line{std::string(line.text), std::nullopt, std::nullopt});
    }
  }
  return file;
}

RegFile::Section RegFile::ParseSectionHeader(std::string header, std::string_view content) {
  Section section;
  section.header = std::move(header);
  content = TrimRight(content);
  if (content.size() < 2 || content.back() != ']') return section;
  std::string_view path = content.substr(1, content.size() - 2);
  if (path.starts_with('-')) {
    section.deletesKey = true;
    path.remove_prefix(1);
  }
  section.keyPath = path;
  section.usable = !path.empty();
  return section;
}

RegFile::Line RegFile::ParseValueLine(std::string text, std::string_view content) {
  Line line{std::move(text), std::nullopt, std::nullopt};
  std::string_view rest;
  if (content.starts_with('@')) {
    line.valueName = "";
    rest = content.substr(1);
  } else {
    line.valueName = ParseQuoted(content, rest);
    if (!line.valueName) return line;
  }
  rest = TrimLeft(rest);
  if (!rest.starts_with('=')) {
    line.valueName.reset();
    return line;
  }
  rest = TrimLeft(rest.substr(1));
  if (TrimRight(rest) != "-") line.value = ParseData(rest);
  return line;
}

bool RegFile::OpensKey(const Section& section, std::string_view keyPath) {
  return section.usable && !section.deletesKey && EqualsIgnoringCase(section.keyPath, keyPath);
}

bool RegFile::DeletesKey(const Section& section, std::string_view keyPath) {
  if (!section.usable || !section.deletesKey || keyPath.size() < section.keyPath.size()) return false;
  const bool isSubkey = keyPath.size() > section.keyPath.size() && keyPath[section.keyPath.size()] == '\\';
  return (keyPath.size() == section.keyPath.size() || isSubkey) &&
         EqualsIgnoringCase(keyPath.substr(0, section.keyPath.size()), section.keyPath);
}

std::optional<RegValue> RegFile::Query(std::string_view keyPath, std::string_view name) const {
  std::optional<RegValue> result;
  for (const Section& section : sections_) {
    if (DeletesKey(section, keyPath)) {
      result.reset();
    } else if (OpensKey(section, keyPath)) {
      for (const Line& line : section.lines) {
        if (line.valueName && EqualsIgnoringCase(*line.valueName, name)) result = line.value;
      }
    }
  }
  return result;
}

void RegFile::Set(std::string_view keyPath, std::string_view name, const RegValue& value) {
  // The key's last section counts, unless a later one deletes the key.
  Section* target = nullptr;
  for (Section& section : sections_) {
    if (DeletesKey(section, keyPath)) {
      target = nullptr;
    } else if (OpensKey(section, keyPath)) {
      target = &section;
    }
  }
  if (target == nullptr) {
    std::string& last = LastText();
    if (!last.ends_with('\n')) last += eol_;
    if (!EndsWithBlankLine(last)) last += eol_;
    Section section;
    section.header = "[" + std::string(keyPath) + "]" + eol_;
    section.keyPath = keyPath;
    section.usable = true;
    section.lines.push_back(Line{eol_, std::nullopt, std::nullopt});  // the blank line that ends a key
    sections_.push_back(std::move(section));
    target = &sections_.back();
  }

  Line newLine{FormatRegValue(name, value, eol_) + eol_, std::string(name), value};
  auto& lines = target->lines;
  const auto named = [&](const Line& line) { return line.valueName.has_value(); };
  const auto sameName = [&](const Line& line) { return line.valueName && EqualsIgnoringCase(*line.valueName, name); };
  if (const auto found = std::find_if(lines.rbegin(), lines.rend(), sameName); found != lines.rend()) {
    *found = std::move(newLine);
    return;
  }
  // A new value goes after the key's last value, before the blank lines and comments that follow it.
  const auto lastNamed = std::find_if(lines.rbegin(), lines.rend(), named);
  const auto at = lastNamed.base();
  std::string& before = at == lines.begin() ? target->header : std::prev(at)->text;
  if (!before.ends_with('\n')) before += eol_;
  lines.insert(at, std::move(newLine));
}

std::string& RegFile::LastText() {
  if (sections_.empty()) return preamble_;
  Section& section = sections_.back();
  return section.lines.empty() ? section.header : section.lines.back().text;
}

std::string RegFile::Text() const {
  std::string text = preamble_;
  for (const Section& section : sections_) {
    text += section.header;
    for (const Line& line : section.lines) text += line.text;
  }
  return text;
}

}  // namespace propdesk
