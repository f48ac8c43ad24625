#include "qt/readable_colour.h"

#include <algorithm>
#include <cmath>

namespace propdesk {
namespace {

double RelativeLuminance(const QColor& colour) {
  const auto linear = [](double channel) {
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) + 0.0722 * linear(colour.blueF());
}

// from moved the fraction share of the way to to.
QColor Mix(const QColor& from, const QColor& to, double share) {
  const auto mix = [share](double a, double b) { return a + (b - a) * share; };
  return QColor::fromRgbF(static_cast<float>(mix(from.redF(), to.redF())),
                          static_cast<float>(mix(from.greenF(), to.greenF())),
                          static_cast<float>(mix(from.blueF(), to.blueF())));
}

}  // namespace

double ContrastRatio(const QColor& first, const QColor& second) {
  const double a = RelativeLuminance(first);
  const double b = RelativeLuminance(second);
  return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

QColor ReadableOn(const QColor& colour, const QColor& background) {
  const QColor drawn = Mix(background, colour, colour.alphaF());
  if (ContrastRatio(drawn, background) >= kMinimumTextContrast) return drawn;
  const QColor black(Qt::black);
  const QColor white(Qt::white);
  // One of the two always reaches the minimum: on any background the greater of their contrasts is
  // at least 4.58.
  const QColor& extreme = ContrastRatio(black, background) >= ContrastRatio(white, background) ? black : white;
  constexpr int kSteps = 32;
  for (int step = 1; step < kSteps; ++step) {
    const QColor moved = Mix(drawn, extreme, static_cast<double>(step) / kSteps);
    if (ContrastRatio(moved, background) >= kMinimumTextContrast) return moved;
  }
  return extreme;
}

}  // namespace propdesk
