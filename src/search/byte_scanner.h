#pragma once
// Scanners for the next or previous position of one or two byte values.
// Each byte value remembers where it was last found, so successive queries in one direction never
// scan the same stretch twice: a whole pass stays linear even when one value is common and the
// other absent.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace propdesk {

class ForwardByteScanner {
 public:
  ForwardByteScanner(std::string_view text, const std::array<std::uint8_t, 2>& values, std::size_t valueCount);
  // The first position at or after from holding one of the values, or text.size() when there is
  // none. from must not decrease from one call to the next.
  std::size_t Next(std::size_t from);

 private:
  std::string_view text_;
  std::array<std::uint8_t, 2> values_;
  std::size_t valueCount_;
  bool started_ = false;
  std::array<std::size_t, 2> found_{};  // per value: its first position at or after the last scan's start
};

class BackwardByteScanner {
 public:
  BackwardByteScanner(std::string_view text, const std::array<std::uint8_t, 2>& values, std::size_t valueCount);
  // The last position before `before` holding one of the values. before must not increase from
  // one call to the next.
  std::optional<std::size_t> Previous(std::size_t before);

 private:
  std::string_view text_;
  std::array<std::uint8_t, 2> values_;
  std::size_t valueCount_;
  bool started_ = false;
  std::array<std::optional<std::size_t>, 2> found_{};  // per value: its last position before the last scan's end
};

}  // namespace propdesk
