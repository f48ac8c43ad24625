#include "win32/center_window.h"

namespace propdesk {
namespace {

// The start of a span of the given length: centred on [centreFrom, centreTo), then kept inside
// [areaFrom, areaTo); the first test wins when the span is longer than the area.
LONG CenteredStart(LONG length, LONG centreFrom, LONG centreTo, LONG areaFrom, LONG areaTo) {
  LONG start = (centreFrom + centreTo) / 2 - length / 2;
  if (start < areaFrom) {
    start = areaFrom;
  } else if (start + length > areaTo) {
    start = areaTo - length;
  }
  return start;
}

}  // namespace

POINT CenteredPosition(SIZE size, const RECT& centre, const RECT& area) {
  return {CenteredStart(size.cx, centre.left, centre.right, area.left, area.right),
          CenteredStart(size.cy, centre.top, centre.bottom, area.top, area.bottom)};
}

void CenterWindow(HWND window, HWND centreOn) {
  const bool child = (GetWindowLongW(window, GWL_STYLE) & WS_CHILD) != 0;
  if (!centreOn) centreOn = child ? GetParent(window) : GetWindow(window, GW_OWNER);
  RECT own{};
  GetWindowRect(window, &own);
  RECT area{};
  RECT centre{};
  if (child) {
    HWND parent = GetParent(window);
    GetClientRect(parent, &area);
    GetClientRect(centreOn, &centre);
    MapWindowPoints(centreOn, parent, reinterpret_cast<POINT*>(&centre), 2);
  } else {
    if (centreOn) {
      const LONG style = GetWindowLongW(centreOn, GWL_STYLE);
      if (!(style & WS_VISIBLE) || (style & WS_MINIMIZE)) centreOn = nullptr;
    }
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    if (centreOn) {
      GetWindowRect(centreOn, &centre);
    } else {
      centre = area;
    }
  }
  const POINT at = CenteredPosition({own.right - own.left, own.bottom - own.top}, centre, area);
  SetWindowPos(window, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace propdesk
