#pragma once
// Sizes are written in 96-DPI units and shown at the DPI of the window's monitor. Free of Windows so
// that it is tested directly.

namespace ui {

constexpr int kDefaultDpi = 96;

// value x dpi / 96, rounded half away from zero as MulDiv rounds, so that 96 DPI changes nothing and
// a size scaled to one DPI and back returns where it was. A DPI of zero or less (a failed read) counts
// as 96.
int ScaleToDpi(int value, int dpi);
// value x to / from, rounded the same way: a size laid out for one monitor moved to another.
int ScaleBetweenDpis(int value, int from, int to);

} // namespace ui
