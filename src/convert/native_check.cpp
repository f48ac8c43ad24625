#include "convert/native_check.h"

#include "convert/cp932.h"
#include "convert/escape_syntax.h"

namespace propdesk {
namespace {

constexpr std::uint8_t kByteOrderMark[] = {0xEF, 0xBB, 0xBF};
constexpr char16_t kCp932Undefined = 0x30FB;

// The code page gives U+30FB for every pair it does not define; only 81 45 is that character.
bool IsUndefinedPair(std::uint8_t lead, std::uint8_t trail) {
  return cp932::DecodePair(lead, trail) == kCp932Undefined && !(lead == 0x81 && trail == 0x45);
}

}  // namespace

void NativeTextCheck::Tally::Add(std::uint64_t offset, std::uint64_t bytes) {
  if (count == 0) first = offset;
  count += bytes;
}

void NativeTextCheck::Feed(std::string_view block) {
  const char* p = block.data();
  const char* const end = p + block.size();
  while (p < end) {
    if (!leadPending_ && utf8Seen_ == 0) {
      const char* const stop = escape::SkipAscii(p, end);
      offset_ += static_cast<std::uint64_t>(stop - p);
      p = stop;
      if (p == end) return;
    }
    Step(static_cast<std::uint8_t>(*p++));
    ++offset_;
  }
}

void NativeTextCheck::Step(std::uint8_t b) {
  if (offset_ == static_cast<std::uint64_t>(bomSeen_) && bomSeen_ < 3 && b == kByteOrderMark[bomSeen_]) ++bomSeen_;
  if (encoding_ == NativeEncoding::kCp932) StepCp932(b);
  if (TracksUtf8()) StepUtf8(b);
}

void NativeTextCheck::StepCp932(std::uint8_t b) {
  if (leadPending_) {
    leadPending_ = false;
    if (cp932::IsTrailByte(b)) {
      if (IsUndefinedPair(lead_, b)) cp932Invalid_.Add(offset_ - 1, 1);
      return;
    }
    cp932Invalid_.Add(offset_ - 1, 1);
  }
  if (cp932::IsLeadByte(b)) {
    leadPending_ = true;
    lead_ = b;
  }
}

// Counts like the UTF-8 encoder replaces: a sequence that breaks off makes its lead byte and the
// continuation bytes before the break invalid, and the byte that broke it is looked at afresh.
void NativeTextCheck::StepUtf8(std::uint8_t b) {
  if (utf8Seen_ > 0) {
    if (utf8::Continues(utf8Lead_, utf8Seen_, b)) {
      if (++utf8Seen_ == utf8Lead_.length) {
        utf8Seen_ = 0;
        utf8Multibyte_ = true;
      }
      return;
    }
    utf8Invalid_.Add(offset_ - static_cast<std::uint64_t>(utf8Seen_), static_cast<std::uint64_t>(utf8Seen_));
    utf8Seen_ = 0;
    if (!TracksUtf8()) return;
  }
  if (b < 0x80) return;
  utf8Lead_ = utf8::DescribeLead(b);
  if (utf8Lead_.length == 0) {
    utf8Invalid_.Add(offset_, 1);
  } else {
    utf8Seen_ = 1;
  }
}

void NativeTextCheck::Finish() {
  if (leadPending_) cp932Invalid_.Add(offset_ - 1, 1);
  if (utf8Seen_ > 0) {
    utf8Invalid_.Add(offset_ - static_cast<std::uint64_t>(utf8Seen_), static_cast<std::uint64_t>(utf8Seen_));
  }
  leadPending_ = false;
  utf8Seen_ = 0;
}

bool NativeTextCheck::LooksLikeUtf8() const {
  return encoding_ == NativeEncoding::kCp932 && (bomSeen_ == 3 || (utf8Invalid_.count == 0 && utf8Multibyte_));
}

}  // namespace propdesk
