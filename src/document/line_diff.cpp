#include "document/line_diff.h"

#include <algorithm>
#include <tuple>

namespace propdesk {
namespace {

// How many times, over both versions, the lines between the common start and end may be examined.
constexpr std::size_t kPasses = 4;
// Work that is always allowed, so that small texts are matched exactly.
constexpr std::size_t kBaseWork = 1 << 16;

// Lines [beforeStart, beforeEnd) of before and [afterStart, afterEnd) of after.
struct Stretch {
  std::size_t beforeStart, beforeEnd, afterStart, afterEnd;
};

struct Anchor {
  std::size_t before, after;
};

class Matcher {
 public:
  Matcher(std::span<const std::uint64_t> before, std::span<const std::uint64_t> after)
      : before_(before), after_(after), work_(kBaseWork + kPasses * (before.size() + after.size())) {}

  std::vector<CommonRun> Run() {
    // Pending work with the leftmost on top, so that runs are found in order.
    pending_.push_back({false, {0, before_.size(), 0, after_.size()}});
    while (!pending_.empty()) {
      const Pending next = pending_.back();
      pending_.pop_back();
      if (next.isRun) {
        Emit({next.stretch.beforeStart, next.stretch.afterStart, next.stretch.beforeEnd - next.stretch.beforeStart});
      } else {
        Match(next.stretch);
      }
    }
    return std::move(runs_);
  }

 private:
  struct Pending {
    bool isRun;  // a run of common lines found (its two starts and beforeEnd), or a stretch to match
    Stretch stretch;
  };

  void PushRun(std::size_t beforeStart, std::size_t afterStart, std::size_t count) {
    if (count > 0) pending_.push_back({true, {beforeStart, beforeStart + count, afterStart, afterStart + count}});
  }

  // Lines only in one version are changed lines: there is nothing to match.
  void PushStretch(const Stretch& s) {
    if (s.beforeStart < s.beforeEnd && s.afterStart < s.afterEnd) pending_.push_back({false, s});
  }

  void Emit(const CommonRun& run) {
    if (!runs_.empty()) {
      CommonRun& last = runs_.back();
      if (last.beforeStart + last.count == run.beforeStart && last.afterStart + last.count == run.afterStart) {
        last.count += run.count;
        return;
      }
    }
    runs_.push_back(run);
  }

  void Match(const Stretch& s) {
    std::size_t head = 0;
    while (s.beforeStart + head < s.beforeEnd && s.afterStart + head < s.afterEnd &&
           before_[s.beforeStart + head] == after_[s.afterStart + head]) {
      ++head;
    }
    std::size_t tail = 0;
    while (s.beforeStart + head + tail < s.beforeEnd && s.afterStart + head + tail < s.afterEnd &&
           before_[s.beforeEnd - 1 - tail] == after_[s.afterEnd - 1 - tail]) {
      ++tail;
    }
    const Stretch middle{s.beforeStart + head, s.beforeEnd - tail, s.afterStart + head, s.afterEnd - tail};
    PushRun(middle.beforeEnd, middle.afterEnd, tail);
    PushAnchored(middle);
    PushRun(s.beforeStart, s.afterStart, head);
  }

  // Splits the stretch at its anchors, pushing the anchors and the stretches between them.
  void PushAnchored(const Stretch& s) {
    if (s.beforeStart == s.beforeEnd || s.afterStart == s.afterEnd) return;
    const std::size_t size = (s.beforeEnd - s.beforeStart) + (s.afterEnd - s.afterStart);
    if (size > work_) return;
    work_ -= size;
    const std::vector<Anchor> anchors = Anchors(s);
    std::size_t beforeEnd = s.beforeEnd;
    std::size_t afterEnd = s.afterEnd;
    for (auto anchor = anchors.rbegin(); anchor != anchors.rend(); ++anchor) {
      PushStretch({anchor->before + 1, beforeEnd, anchor->after + 1, afterEnd});
      PushRun(anchor->before, anchor->after, 1);
      beforeEnd = anchor->before;
      afterEnd = anchor->after;
    }
    if (!anchors.empty()) PushStretch({s.beforeStart, beforeEnd, s.afterStart, afterEnd});
  }

  // The lines that occur exactly once in each version of the stretch, as many of them as keep
  // their order in both (the longest increasing sequence of their places in after).
  std::vector<Anchor> Anchors(const Stretch& s) const {
    struct Line {
      std::uint64_t key;
      bool inAfter;
      std::size_t place;
    };
    std::vector<Line> lines;
    lines.reserve((s.beforeEnd - s.beforeStart) + (s.afterEnd - s.afterStart));
    for (std::size_t i = s.beforeStart; i < s.beforeEnd; ++i) lines.push_back({before_[i], false, i});
    for (std::size_t i = s.afterStart; i < s.afterEnd; ++i) lines.push_back({after_[i], true, i});
    std::sort(lines.begin(), lines.end(), [](const Line& a, const Line& b) {
      return std::tie(a.key, a.inAfter, a.place) < std::tie(b.key, b.inAfter, b.place);
    });
    std::vector<Anchor> unique;
    for (std::size_t i = 0; i < lines.size();) {
      std::size_t end = i + 1;
      while (end < lines.size() && lines[end].key == lines[i].key) ++end;
      if (end - i == 2 && !lines[i].inAfter && lines[i + 1].inAfter) unique.push_back({lines[i].place, lines[i + 1].place});
      i = end;
    }
    std::sort(unique.begin(), unique.end(), [](const Anchor& a, const Anchor& b) { return a.before < b.before; });
    return LongestIncreasing(unique);
  }

  // Patience sorting: tails[k] is the anchor that ends the best sequence of length k + 1 so far.
  static std::vector<Anchor> LongestIncreasing(const std::vector<Anchor>& anchors) {
    constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::vector<std::size_t> tails;
    std::vector<std::size_t> previous(anchors.size(), kNone);
    for (std::size_t i = 0; i < anchors.size(); ++i) {
      const auto place = std::lower_bound(tails.begin(), tails.end(), anchors[i].after,
                                          [&anchors](std::size_t tail, std::size_t after) { return anchors[tail].after < after; });
      if (place != tails.begin()) previous[i] = *(place - 1);
      if (place == tails.end()) {
        tails.push_back(i);
      } else {
        *place = i;
      }
    }
    std::vector<Anchor> sequence;
    for (std::size_t i = tails.empty() ? kNone : tails.back(); i != kNone; i = previous[i]) sequence.push_back(anchors[i]);
    std::reverse(sequence.begin(), sequence.end());
    return sequence;
  }

  std::span<const std::uint64_t> before_;
  std::span<const std::uint64_t> after_;
  std::size_t work_;
  std::vector<Pending> pending_;
  std::vector<CommonRun> runs_;
};

}  // namespace

std::vector<CommonRun> FindCommonLines(std::span<const std::uint64_t> before, std::span<const std::uint64_t> after) {
  return Matcher(before, after).Run();
}

}  // namespace propdesk
