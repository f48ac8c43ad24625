#pragma once
// Which lines two versions of a text have in common, told by the lines' keys (hashes of their
// contents): the lines of "before" that are still there in "after", in the same order.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace propdesk {

// count lines, from before[beforeStart] and after[afterStart] on, that are the same in both.
struct CommonRun {
  std::size_t beforeStart = 0;
  std::size_t afterStart = 0;
  std::size_t count = 0;
  bool operator==(const CommonRun&) const = default;
};

// The common lines in ascending order, as runs that neither touch nor overlap. Lines equal at the
// start and the end are matched first, so one edited, inserted or deleted line costs time in
// proportion to the lines only; between them, lines that occur once in each version anchor the
// match. The work is bounded: where it would grow beyond a few passes over the lines, or where
// no line anchors a stretch, that stretch counts as changed, which is never wrong, only less exact.
std::vector<CommonRun> FindCommonLines(std::span<const std::uint64_t> before, std::span<const std::uint64_t> after);

}  // namespace propdesk
