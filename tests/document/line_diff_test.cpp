// The lines two versions of a text have in common.
#include "document/line_diff.h"

#include <gtest/gtest.h>

#include <chrono>

namespace propdesk {
namespace {

using Keys = std::vector<std::uint64_t>;

TEST(FindCommonLinesTest, MatchesAroundInsertedDeletedAndMovedLines) {
  const struct {
    Keys before, after;
    std::vector<CommonRun> common;
  } cases[] = {
      {{}, {}, {}},
      {{}, {1}, {}},
      {{1, 2}, {}, {}},
      {{1, 2, 3}, {1, 2, 3}, {{0, 0, 3}}},
      {{1, 2, 3}, {1, 9, 2, 3}, {{0, 0, 1}, {1, 2, 2}}},
      {{1, 2, 3}, {1, 3}, {{0, 0, 1}, {2, 1, 1}}},
      {{1, 2, 3}, {0, 1, 2, 3, 4}, {{0, 1, 3}}},
      {{1, 2, 3, 4, 5}, {1, 3, 4, 2, 5}, {{0, 0, 1}, {2, 1, 2}, {4, 4, 1}}},
      // Repeated lines match next to lines that occur once.
      {{7, 1, 7, 2, 7}, {7, 2, 7}, {{0, 0, 1}, {3, 1, 2}}},
      {{0, 0, 5, 0, 6, 0}, {0, 5, 0, 0, 8, 6, 0}, {{0, 0, 1}, {2, 1, 2}, {4, 5, 2}}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FindCommonLines(c.before, c.after), c.common) << ::testing::PrintToString(c.before) << " to "
                                                           << ::testing::PrintToString(c.after);
  }
}

// The number of common lines, after checking that the runs pair equal lines in ascending order.
std::size_t CountCommon(const Keys& before, const Keys& after, const std::vector<CommonRun>& runs) {
  std::size_t common = 0;
  CommonRun previous;
  for (const CommonRun& run : runs) {
    EXPECT_GE(run.beforeStart, previous.beforeStart + previous.count);
    EXPECT_GE(run.afterStart, previous.afterStart + previous.count);
    EXPECT_LE(run.beforeStart + run.count, before.size());
    EXPECT_LE(run.afterStart + run.count, after.size());
    for (std::size_t i = 0; i < run.count && !::testing::Test::HasFailure(); ++i) {
      EXPECT_EQ(before[run.beforeStart + i], after[run.afterStart + i]);
    }
    common += run.count;
    previous = run;
  }
  return common;
}

// Every tenth of many lines changed, as a Replace All does, and texts whose lines all repeat: the
// work grows with the lines, not with their square (which would take minutes here).
TEST(FindCommonLinesTest, LargeTextsWithManyChangesStayFast) {
  Keys before(100'000), after(100'000);
  for (std::size_t i = 0; i < before.size(); ++i) {
    before[i] = i;
    after[i] = i % 10 == 3 ? i + (1u << 30) : i;
  }
  Keys repeating(100'000), shifted(100'000);
  for (std::size_t i = 0; i < repeating.size(); ++i) {
    repeating[i] = i % 2;
    shifted[i] = (i + 1) % 2;
  }
  const auto start = std::chrono::steady_clock::now();
  const std::vector<CommonRun> replaced = FindCommonLines(before, after);
  const std::vector<CommonRun> repeated = FindCommonLines(repeating, shifted);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
  EXPECT_EQ(CountCommon(before, after, replaced), 90'000u);
  CountCommon(repeating, shifted, repeated);
}

}  // namespace
}  // namespace propdesk
