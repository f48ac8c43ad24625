#pragma once
// Colours of text that stay readable on their background, light or dark: a contrast of at least
// 4.5:1, the ratio that the accessibility guidelines for the web ask of normal text.
#include <QColor>

namespace propdesk {

inline constexpr double kMinimumTextContrast = 4.5;

// The contrast ratio of two opaque colours, from 1 (equal) to 21 (black and white).
double ContrastRatio(const QColor& first, const QColor& second);

// colour as drawn over background (with its transparency), moved towards black or white, whichever
// stands out more from background, just far enough to reach kMinimumTextContrast.
QColor ReadableOn(const QColor& colour, const QColor& background);

}  // namespace propdesk
