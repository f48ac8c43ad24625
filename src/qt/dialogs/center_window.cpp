#include "qt/dialogs/center_window.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace propdesk {
namespace {

// The middle of a rectangle given by its left and top edges and its size, with the right and
// bottom edges just outside it, so that both windows centre alike; the division rounds toward zero.
QPoint Middle(const QRect& rect) {
  return {(rect.left() + rect.left() + rect.width()) / 2, (rect.top() + rect.top() + rect.height()) / 2};
}

// Start (left or top) of a span of `length` centred at `middle`, kept inside [areaStart, areaEnd).
int PlaceOnAxis(int middle, int length, int areaStart, int areaEnd) {
  const int start = middle - length / 2;
  if (start < areaStart) return areaStart;
  if (start + length > areaEnd) return areaEnd - length;
  return start;
}

QScreen* ScreenOf(const QWidget* window, const QWidget* centreOn) {
  if (centreOn != nullptr && centreOn->screen() != nullptr) return centreOn->screen();
  if (window->screen() != nullptr) return window->screen();
  return QGuiApplication::primaryScreen();
}

}  // namespace

QPoint CenteredPosition(QSize size, const QRect& centre, const QRect& area) {
  const QPoint middle = Middle(centre);
  return {PlaceOnAxis(middle.x(), size.width(), area.left(), area.left() + area.width()),
          PlaceOnAxis(middle.y(), size.height(), area.top(), area.top() + area.height())};
}

void CenterWindow(QWidget* window, QWidget* centreOn) {
  if (centreOn == nullptr) centreOn = window->parentWidget();
  if (centreOn != nullptr) centreOn = centreOn->window();
  if (centreOn != nullptr && (!centreOn->isVisible() || centreOn->isMinimized())) centreOn = nullptr;

  const QScreen* screen = ScreenOf(window, centreOn);
  if (screen == nullptr) return;
  const QRect area = screen->availableGeometry();
  const QRect centre = centreOn != nullptr ? centreOn->frameGeometry() : area;
  // A window that was never shown has no frame yet.
  const QSize size = window->isVisible() ? window->frameGeometry().size() : window->size();
  window->move(CenteredPosition(size, centre, area));
}

}  // namespace propdesk
