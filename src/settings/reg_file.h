#pragma once
// The text form of registry export files ("Windows Registry Editor Version 5.00"), read and edited in
// place: every line the program does not change is written back exactly as it was read.
//
// The text is taken as UTF-8 (file-system bytes on Linux), so a person can edit it; quoted strings
// are kept byte for byte. Data given as hex(1), hex(2) or hex(7) is UTF-16LE, as real exports write it.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace propdesk {

inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegMultiSz = 7;

// A typed value as the narrow registry calls return it: string types hold UTF-8 text with their
// terminating NULs, every other type its raw bytes (a REG_DWORD four little-endian bytes).
struct RegValue {
  std::uint32_t type = 0;
  std::string data;

  static RegValue Dword(std::uint32_t number);
  static RegValue String(std::string_view text);
  // The number of a REG_DWORD of four bytes; nullopt for any other type or size.
  std::optional<std::uint32_t> AsDword() const;
  friend bool operator==(const RegValue&, const RegValue&) = default;
};

// One value line as an export writes it ("Name"=..., @=... for the unnamed value), without its line
// end; hex data is wrapped with backslash continuations, the continuation lines ending in eol.
std::string FormatRegValue(std::string_view name, const RegValue& value, std::string_view eol);

class RegFile {
 public:
  // A file holding only the header line.
  RegFile();

  // Reads an export; nullopt when the text does not start with the header line. Lines that cannot be
  // understood are kept as they are and ignored.
  [[nodiscard]] static std::optional<RegFile> Parse(std::string_view text);

  // The value named name (case-insensitive, "" for the unnamed value) of the key at keyPath
  // ("HKEY_CURRENT_USER\\Software\\..."), as importing the file would leave it: later lines win, a
  // deleted key or value is missing, and a value whose data cannot be read is missing too.
  std::optional<RegValue> Query(std::string_view keyPath, std::string_view name) const;

  // Sets the value, replacing its line in the key's last section or adding the line (and the section)
  // where an import would see it last.
  void Set(std::string_view keyPath, std::string_view name, const RegValue& value);

  std::string Text() const;

 private:
  struct Line {
    std::string text;  // as read, with its line end and any continuation lines
    std::optional<std::string> valueName;
    std::optional<RegValue> value;  // missing for a deleted value and for data that cannot be read
  };
  struct Section {
    std::string header;  // the [key] line as read
    std::string keyPath;
    bool deletesKey = false;
    bool usable = false;  // false for a header that cannot be read, whose values then belong nowhere
    std::vector<Line> lines;
  };

  static Section ParseSectionHeader(std::string header, std::string_view content);
  static Line ParseValueLine(std::string text, std::string_view content);
  // A section that sets values of the key, or one that deletes the key or a key above it.
  static bool OpensKey(const Section& section, std::string_view keyPath);
  static bool DeletesKey(const Section& section, std::string_view keyPath);
  std::string& LastText();

  std::string preamble_;  // the header line and whatever precedes the first section
  std::vector<Section> sections_;
  std::string eol_ = "\r\n";
};

}  // namespace propdesk
