#include "convert/native_check.h"

#include <cstring>
#include <memory>

#include "common/utf8.h"
#include "convert/cp932.h"
#include "convert/escape_syntax.h"

namespace propdesk {
namespace {


std::uint8_t ByteAt(const char* p) { return static_cast<std::uint8_t>(*p); }

// Per non-ASCII byte and the byte after it: the length of the character they start, with
// kUndefinedBit set when the code page does not define it. One lookup instead of range tests,
// whose outcome varies too much to predict.
constexpr std::uint8_t kUndefinedBit = 4;
constexpr std::uint8_t kLengthBits = 3;

struct Cp932Characters {
  std::uint8_t step[0x100][0x100];
};

const Cp932Characters& GetCp932Characters() {
  static const auto characters = [] {
    auto table = std::make_unique<Cp932Characters>();
    for (int b = 0; b < 0x100; ++b) {
      for (int t = 0; t < 0x100; ++t) {
        const auto lead = static_cast<std::uint8_t>(b);
        const auto trail = static_cast<std::uint8_t>(t);
        std::uint8_t step = 1;
        if (cp932::IsLeadByte(lead)) {
          step = cp932::IsTrailByte(trail) ? (cp932::IsUndefinedPair(lead, trail) ? 2 | kUndefinedBit : 2) : 1 | kUndefinedBit;
        }
        table->step[b][t] = step;
      }
    }
    return table;
  }();
  return *characters;
}

}  // namespace

void NativeTextCheck::Tally::Add(std::uint64_t offset, std::uint64_t bytes) {
  if (count == 0) first = offset;
  count += bytes;
}

void NativeTextCheck::Feed(std::string_view block) {
  const char* const begin = block.data();
  const char* const end = begin + block.size();
  MatchByteOrderMark(block);
  if (encoding_ == NativeEncoding::kCp932) FeedCp932(begin, end);
  if (TracksUtf8()) FeedUtf8(begin, end);
  offset_ += block.size();
}

void NativeTextCheck::MatchByteOrderMark(std::string_view block) {
  for (std::size_t i = 0; i < block.size() && offset_ + i == static_cast<std::uint64_t>(bomSeen_) && bomSeen_ < 3;
       ++i) {
    if (static_cast<std::uint8_t>(block[i]) == static_cast<std::uint8_t>(utf8::kByteOrderMark[bomSeen_])) ++bomSeen_;
  }
}

void NativeTextCheck::FeedCp932(const char* begin, const char* end) {
  const char* p = begin;
  for (; p < end && leadPending_; ++p) StepCp932(ByteAt(p), OffsetOf(p, begin));
  for (p = ScanCp932(p, begin, end); p < end; ++p) StepCp932(ByteAt(p), OffsetOf(p, begin));
}

const char* NativeTextCheck::ScanCp932(const char* p, const char* begin, const char* end) {
  const Cp932Characters& characters = GetCp932Characters();
  while (p < end) {
    const std::uint8_t b = ByteAt(p);
    if (b < 0x80) {
      p = escape::SkipAscii(p, end);
      continue;
    }
    if (end - p < 2) return cp932::IsLeadByte(b) ? p : end;
    // A branch rather than adding the looked-up length: the next position then does not wait for
    // the lookup, since the branch is predicted (nearly every character is a defined one).
    const std::uint8_t step = characters.step[b][ByteAt(p + 1)];
    if (step == 2) {
      p += 2;
    } else if (step == 1) {
      ++p;
    } else {
      cp932Invalid_.Add(OffsetOf(p, begin), 1);
      p += step & kLengthBits;
    }
  }
  return p;
}

void NativeTextCheck::StepCp932(std::uint8_t b, std::uint64_t offset) {
  if (leadPending_) {
    leadPending_ = false;
    if (cp932::IsTrailByte(b)) {
      if (cp932::IsUndefinedPair(lead_, b)) cp932Invalid_.Add(offset - 1, 1);
      return;
    }
    cp932Invalid_.Add(offset - 1, 1);
  }
  if (cp932::IsLeadByte(b)) {
    leadPending_ = true;
    lead_ = b;
  }
}

void NativeTextCheck::FeedUtf8(const char* begin, const char* end) {
  const char* p = begin;
  for (; p < end && utf8PendingSize_ > 0; ++p) {
    utf8Pending_[utf8PendingSize_++] = *p;
    ResolveUtf8Pending(false);
  }
  p = ScanUtf8(p, begin, end);
  if (p < end && TracksUtf8()) {
    utf8PendingOffset_ = OffsetOf(p, begin);
    utf8PendingSize_ = static_cast<std::size_t>(end - p);
    std::memcpy(utf8Pending_, p, utf8PendingSize_);
  }
}

// Counts like the UTF-8 encoder replaces: a byte that does not start a valid sequence is invalid,
// and the scan resumes at the next byte. Reading code page 932, only whether the text could be
// UTF-8 matters: the scan ends at the first invalid byte.
const char* NativeTextCheck::ScanUtf8(const char* p, const char* begin, const char* end) {
  while (p < end && TracksUtf8()) {
    if (ByteAt(p) < 0x80) {
      p = escape::SkipAscii(p, end);
      continue;
    }
    const std::size_t length = utf8::SequenceLength(ByteAt(p));
    if (length > 0 && static_cast<std::size_t>(end - p) < length) return p;
    if (length > 0 && utf8::Decode({p, length}).length == length) {
      utf8Multibyte_ = true;
      p += length;
    } else {
      utf8Invalid_.Add(OffsetOf(p, begin), 1);
      ++p;
    }
  }
  return end;
}

void NativeTextCheck::ResolveUtf8Pending(bool atEnd) {
  while (utf8PendingSize_ > 0) {
    const std::size_t length = utf8::SequenceLength(ByteAt(utf8Pending_));
    if (length > utf8PendingSize_ && !atEnd) return;
    std::size_t used = 1;
    if (length > 0 && length <= utf8PendingSize_ && utf8::Decode({utf8Pending_, length}).length == length) {
      utf8Multibyte_ = utf8Multibyte_ || length > 1;
      used = length;
    } else {
      utf8Invalid_.Add(utf8PendingOffset_, 1);
    }
    utf8PendingSize_ -= used;
    utf8PendingOffset_ += used;
    std::memmove(utf8Pending_, utf8Pending_ + used, utf8PendingSize_);
  }
}

void NativeTextCheck::Finish() {
  if (leadPending_) cp932Invalid_.Add(offset_ - 1, 1);
  leadPending_ = false;
  ResolveUtf8Pending(true);
}

bool NativeTextCheck::LooksLikeUtf8() const {
  return encoding_ == NativeEncoding::kCp932 && (bomSeen_ == 3 || (utf8Invalid_.count == 0 && utf8Multibyte_));
}

}  // namespace propdesk
