#pragma once
// Places a dialog when it opens: centred over its owner, or over the screen's available area when
// there is no owner to centre on, and always kept inside that area.
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace propdesk {

// The top-left corner for a window of `size` centred on `centre` and kept inside `area`. Each axis
// is kept inside on its own; when the window is larger than the area, its left (top) edge meets the
// area's left (top) edge.
QPoint CenteredPosition(QSize size, const QRect& centre, const QRect& area);

// Moves the top-level `window` (size unchanged) centred over `centreOn`, by default its owner. An
// owner that is hidden or minimised is not centred on; the screen's available area is used instead.
void CenterWindow(QWidget* window, QWidget* centreOn = nullptr);

}  // namespace propdesk
