#include "qt/dialogs/template_dialog.h"

#include <QAbstractButton>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLabel>
#include <QShowEvent>
#include <QStringList>
#include <algorithm>

#include "qt/dialogs/center_window.h"

namespace propdesk {
namespace {

constexpr int kPointSize = 9;
// The space the templates leave between a control and the dialog's edge.
constexpr int kMarginUnits = 7;

// Gothic is the Japanese name for sans-serif faces.
bool IsGothicFamily(const QString& family) {
  return family.contains(QStringLiteral("Gothic"), Qt::CaseInsensitive) ||
         family.contains(QStringLiteral("ゴシック")) || family.contains(QStringLiteral("Sans"), Qt::CaseInsensitive);
}

// Measured, because the font database does not know the pitch of every face.
bool IsProportionalFamily(const QString& family) {
  const QFontMetrics metrics(QFont(family, kPointSize));
  return metrics.horizontalAdvance(QLatin1Char('i')) != metrics.horizontalAdvance(QLatin1Char('W'));
}

// A face with Japanese glyphs, preferring a proportional gothic one like the requested face.
QString JapaneseFamily() {
  const QStringList families = QFontDatabase::families(QFontDatabase::Japanese);
  const auto unlikeness = [](const QString& family) {
    return (IsGothicFamily(family) ? 0 : 2) + (IsProportionalFamily(family) ? 0 : 1);
  };
  const auto best = std::min_element(families.begin(), families.end(),
                                     [&](const QString& a, const QString& b) { return unlikeness(a) < unlikeness(b); });
  return best == families.end() ? QString() : *best;
}

// units * size / parts, rounded to nearest.
int ScaleRounded(int units, int size, int parts) { return (units * size + parts / 2) / parts; }

}  // namespace

QFont DialogFont() {
  QFont font(QStringLiteral("ＭＳ Ｐゴシック"), kPointSize);
  QStringList families{font.family()};
  if (const QString fallback = JapaneseFamily(); !fallback.isEmpty()) families.append(fallback);
  font.setFamilies(families);
  font.setStyleHint(QFont::SansSerif);
  return font;
}

DialogUnits::DialogUnits(const QFont& font) {
  const QFontMetrics metrics(font);
  const int alphabetWidth = metrics.horizontalAdvance(
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  averageCharWidth_ = (alphabetWidth / 26 + 1) / 2;
  lineHeight_ = metrics.height();
}

int DialogUnits::ToPixelsX(int units) const { return ScaleRounded(units, averageCharWidth_, 4); }

int DialogUnits::ToPixelsY(int units) const { return ScaleRounded(units, lineHeight_, 8); }

QRect DialogUnits::ToPixels(const QRect& units) const {
  return {ToPixelsX(units.x()), ToPixelsY(units.y()), ToPixelsX(units.width()), ToPixelsY(units.height())};
}

TemplateDialog::TemplateDialog(QWidget* owner, const QString& caption, int width, int height)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint),
      units_(DialogFont()) {
  setFont(DialogFont());
  setWindowTitle(caption);
  setFixedSize(units_.ToPixelsX(width), units_.ToPixelsY(height));
}

void TemplateDialog::reject() { done(kCancel); }

void TemplateDialog::Place(QWidget* control, int x, int y, int width, int height) {
  QRect pixels = units_.ToPixels(QRect(x, y, width, height));
  // A text may need more room in the font found here than in the one the layout was made for.
  if (qobject_cast<QAbstractButton*>(control) != nullptr || qobject_cast<QLabel*>(control) != nullptr) {
    pixels.setWidth(std::max(pixels.width(), control->sizeHint().width()));
  }
  control->setGeometry(pixels);
  const int neededWidth = pixels.x() + pixels.width() + units_.ToPixelsX(kMarginUnits);
  if (neededWidth > this->width()) setFixedWidth(neededWidth);
}

void TemplateDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) CenterWindow(this);
}

}  // namespace propdesk
