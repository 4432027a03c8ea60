#pragma once
// The monitors as Windows reports them, for the rules of MonitorRules.h.

#include "ui/MonitorRules.h"

#include <windows.h>

namespace ui {

ScreenRect ToScreenRect(const RECT& r);
// Every monitor of the desktop, the primary one first.
MonitorLayout ReadMonitors();
// The monitor a window is on (the nearest one when it is on none).
MonitorArea MonitorOfWindow(HWND window);
MonitorArea PrimaryMonitor();

} // namespace ui
