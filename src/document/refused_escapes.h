#pragma once
// The \u escapes that Java's Properties.load refuses ("Malformed \uxxxx encoding"): a backslash
// that is not itself escaped, a 'u', and fewer than four hexadecimal digits. They are found in
// native text as the .properties format reads it: not in comments, not after an escaped backslash,
// not in the second byte of a double-byte character.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace propdesk {

struct RefusedEscape {
  std::size_t line = 0;   // zero-based line of the text (lines end at CR LF)
  std::size_t begin = 0;  // byte offsets of the escape, from its backslash, in the text
  std::size_t end = 0;
};

struct RefusedEscapes {
  // The first refused escape on a line that is not one of the known lines.
  std::optional<RefusedEscape> firstNew;
  // The lines of text (without their line ends; a lone CR or LF also ends a line) that hold a
  // refused escape, sorted and each once, so that a later save can tell the lines the person has
  // edited since.
  std::vector<std::string> lines;
};

// The refused escapes of text, with known as lines gave it for an earlier text.
RefusedEscapes FindRefusedEscapes(std::string_view text, const std::vector<std::string>& known = {});

}  // namespace propdesk
