#pragma once
// A reader of .properties files that does what Java's Properties.load(InputStream) does, to tell
// what a Java program makes of a file: logical lines, continuations, comments, key, separator,
// value, whitespace and escapes, each as Java handles them (tools/check_properties_reader.sh
// compares it with Java itself).
#include <map>
#include <string>
#include <string_view>

namespace propdesk::test {

enum class PropertiesEncoding {
  Latin1,  // Properties.load(InputStream): every byte is one character
  Utf8,    // PropertyResourceBundle: UTF-8, or Latin-1 when the bytes are not valid UTF-8
};

struct PropertiesContent {
  std::map<std::u16string, std::u16string> entries;
  // Empty, or the message of Java's IllegalArgumentException for a malformed \u escape.
  std::string error;

  bool operator==(const PropertiesContent&) const = default;
};

PropertiesContent ReadProperties(std::string_view bytes, PropertiesEncoding encoding = PropertiesEncoding::Latin1);

// The content in printable ASCII, one "key=value" line per entry (every character outside
// printable ASCII, '\\' and '=' as \uXXXX), or "error: " and the message: for test messages.
std::string Describe(const PropertiesContent& content);

}  // namespace propdesk::test
