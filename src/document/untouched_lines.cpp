#include "document/untouched_lines.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <exception>
#include <utility>

#include "convert/utf8_native_codec.h"
#include "document/line_diff.h"

namespace propdesk {
namespace {

constexpr std::string_view kCrLf = "\r\n";

// The lines of a text one after another: a line ends at CR LF, a lone CR or a lone LF, and the
// last line (empty after a final break) at the end of the text.
class LineReader {
 public:
  explicit LineReader(std::string_view text)
      : text_(text), nextCr_(Find('\r', 0)), nextLf_(Find('\n', 0)) {}

  // The next line's content and line end (empty for the last line); false after the last line.
  bool Next(std::string_view& content, std::string_view& lineEnd) {
    if (done_) return false;
    if (nextCr_ < start_) nextCr_ = Find('\r', start_);
    if (nextLf_ < start_) nextLf_ = Find('\n', start_);
    const std::size_t lineBreak = std::min(nextCr_, nextLf_);
    content = text_.substr(start_, lineBreak - start_);
    done_ = lineBreak == text_.size();
    const bool crLf = lineBreak == nextCr_ && nextLf_ == lineBreak + 1 && nextLf_ < text_.size();
    const std::size_t breakSize = crLf ? 2 : 1;
    lineEnd = done_ ? std::string_view() : text_.substr(lineBreak, breakSize);
    start_ = lineBreak + breakSize;
    return true;
  }

 private:
  // Where the next c at or after from is, or the text's size.
  std::size_t Find(char c, std::size_t from) const {
    const void* found = std::memchr(text_.data() + from, c, text_.size() - from);
    return found ? static_cast<std::size_t>(static_cast<const char*>(found) - text_.data()) : text_.size();
  }

  std::string_view text_;
  std::size_t start_ = 0;
  std::size_t nextCr_;
  std::size_t nextLf_;
  bool done_ = false;
};

// A 64-bit hash of a line. Each step is a bijection of the state for a given word, so two lines of
// one length that differ within a single aligned word never share a key; other pairs do with a
// chance of about 2^-64.
std::uint64_t LineKey(std::string_view line) {
  constexpr std::uint64_t kWordFactor = 0x9E3779B97F4A7C15u;
  constexpr std::uint64_t kStepFactor = 0xC2B2AE3D27D4EB4Fu;
  const auto step = [](std::uint64_t state, std::uint64_t word) { return std::rotl(state ^ word * kWordFactor, 31) * kStepFactor; };
  std::uint64_t state = line.size() * kStepFactor ^ 0x165667B19E3779F9u;
  const char* p = line.data();
  std::size_t left = line.size();
  for (; left >= 8; p += 8, left -= 8) {
    std::uint64_t word;
    std::memcpy(&word, p, 8);
    state = step(state, word);
  }
  if (left > 0) {
    std::uint64_t word = 0;
    std::memcpy(&word, p, left);
    state = step(state, word);
  }
  state ^= state >> 33;
  state *= 0xFF51AFD7ED558CCDu;
  return state ^ state >> 33;
}

// The keys of the lines of text; expectedLines, about as many as there will be, spares the copies
// of a growing vector and its spare room.
std::vector<std::uint64_t> LineKeys(std::string_view text, std::size_t expectedLines) {
  std::vector<std::uint64_t> keys;
  keys.reserve(expectedLines);
  LineReader reader(text);
  for (std::string_view content, lineEnd; reader.Next(content, lineEnd);) keys.push_back(LineKey(content));
  return keys;
}

// Appends bytes that start a line end or an empty line's end. After a lone CR an LF would join it
// into one line end, losing a line: a CR goes first, making the LF part of a line end of its own.
void AppendAfterLine(std::string& file, std::string_view bytes) {
  if (!file.empty() && file.back() == '\r' && bytes.starts_with('\n')) file += '\r';
  file += bytes;
}

// The lines of the file in a stretch between common runs that the diff left unpaired: a changed
// or new line whose key one of them has takes its bytes, each line taken once, in file order.
class UnpairedLines {
 public:
  void Clear() { lines_.clear(); }

  void Add(std::uint64_t key, std::string_view content, std::string_view lineEnd) {
    lines_.push_back({key, content, lineEnd, 0});
  }

  void Sort() {
    std::sort(lines_.begin(), lines_.end(), [](const Line& a, const Line& b) {
      return a.key != b.key ? a.key < b.key : a.content.data() < b.content.data();
    });
  }

  // The next unpaired line with key, if there is one left.
  bool Take(std::uint64_t key, std::string_view& content, std::string_view& lineEnd) {
    const auto first = std::lower_bound(lines_.begin(), lines_.end(), key,
                                        [](const Line& line, std::uint64_t k) { return line.key < k; });
    if (first == lines_.end() || first->key != key) return false;
    // The first line of each key counts the lines of that key taken.
    const auto next = first + static_cast<std::ptrdiff_t>(first->taken);
    if (next == lines_.end() || next->key != key) return false;
    ++first->taken;
    content = next->content;
    lineEnd = next->lineEnd;
    return true;
  }

 private:
  struct Line {
    std::uint64_t key;
    std::string_view content;
    std::string_view lineEnd;
    std::size_t taken;
  };
  std::vector<Line> lines_;
};

}  // namespace

UntouchedLines::UntouchedLines(std::string file, std::size_t textStart, std::vector<std::uint64_t> lineKeys,
                               HexCase hexCase, std::string_view newLineEnd)
    : file_(std::move(file)), textStart_(textStart), lineKeys_(std::move(lineKeys)), hexCase_(hexCase),
      newLineEnd_(newLineEnd) {}

std::optional<UntouchedLines> UntouchedLines::Keep(std::string file, std::size_t textStart, std::string_view shown) {
  const std::string_view text = std::string_view(file).substr(textStart);
  std::size_t lines = 0;
  std::string_view newLineEnd;
  LineReader reader(text);
  for (std::string_view content, lineEnd; reader.Next(content, lineEnd); ++lines) {
    if (newLineEnd.empty()) newLineEnd = lineEnd;
  }
  // The line end as a constant, since the file's bytes move with the object.
  newLineEnd = newLineEnd == "\n" ? "\n" : newLineEnd == "\r" ? "\r" : kCrLf;
  std::vector<std::uint64_t> keys = LineKeys(shown, lines);
  if (keys.size() != lines) return std::nullopt;
  const HexCase hexCase = MajorityHexCase(text);
  return UntouchedLines(std::move(file), textStart, std::move(keys), hexCase, newLineEnd);
}

UntouchedLines UntouchedLines::Rewrite(std::string_view text, FileFormat::Encoding encoding) const {
  std::vector<std::uint64_t> keys = LineKeys(text, lineKeys_.size());
  // A sentinel run after the last line writes the changed lines at the end.
  std::vector<CommonRun> runs = FindCommonLines(lineKeys_, keys);
  runs.push_back({lineKeys_.size(), keys.size(), 0});
  EscapeEncoder encoder(hexCase_);

  std::string file;
  // Room for the longest result, so that a file grown by an edit is never copied: room that is
  // never written costs address space, not memory. Where that much cannot be had, the old size.
  try {
    file.reserve(file_.size() + encoder.MaxOutput(text.size()));
  } catch (const std::exception&) {
    file.reserve(file_.size());
  }
  file.append(file_, 0, textStart_);
  LineReader kept(std::string_view(file_).substr(textStart_));
  LineReader now(text);
  std::size_t keptLine = 0;
  std::size_t line = 0;
  std::string_view content, lineEnd;
  const auto endLine = [&](std::string_view ownEnd) {
    if (++line < keys.size()) AppendAfterLine(file, ownEnd.empty() ? newLineEnd_ : ownEnd);
  };
  UnpairedLines unpaired;
  for (const CommonRun& run : runs) {
    // The lines of the file between the last run and this one that the diff left unpaired.
    unpaired.Clear();
    for (; keptLine < run.beforeStart; ++keptLine) {
      kept.Next(content, lineEnd);
      if (line < run.afterStart) unpaired.Add(lineKeys_[keptLine], content, lineEnd);
    }
    unpaired.Sort();
    for (; line < run.afterStart;) {
      now.Next(content, lineEnd);
      std::string_view ownContent, ownEnd;
      if (unpaired.Take(keys[line], ownContent, ownEnd)) {
        file += ownContent;
      } else if (encoding == FileFormat::Encoding::kUtf8) {
        file += NativeToUtf8Text(content);
      } else {
        AppendConverted(encoder, content, file);
      }
      endLine(ownEnd);
    }
    if (run.count == 0) continue;
    // The run's bytes in one piece, through the content of its last line.
    const char* runStart = nullptr;
    for (std::size_t i = 0; i < run.count; ++i, ++keptLine) {
      kept.Next(content, lineEnd);
      if (i == 0) runStart = content.data();
      std::string_view shownContent, shownEnd;
      now.Next(shownContent, shownEnd);
    }
    AppendAfterLine(file, std::string_view(runStart, static_cast<std::size_t>(content.data() + content.size() - runStart)));
    line += run.count - 1;
    endLine(lineEnd);
  }
  return UntouchedLines(std::move(file), textStart_, std::move(keys), hexCase_, newLineEnd_);
}

}  // namespace propdesk
