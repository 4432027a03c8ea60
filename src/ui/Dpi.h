#pragma once
// The DPI a window or monitor is shown at. The build targets Windows 7, where neither per-monitor call
// exists: both are looked up at run time, and without them the screen's DPI stands for every monitor.

#include "ui/DpiRules.h"

#include <windows.h>

namespace ui {

int WindowDpi(HWND window);
int MonitorDpi(HMONITOR monitor);
// The monitor that holds most of the rectangle, or the nearest one.
int DpiAt(const RECT& screenRect);
// The screen's DPI as GDI reports it.
int SystemDpi();
// The small-icon size (the tray's) for a DPI.
int SmallIconSize(int dpi);

} // namespace ui
