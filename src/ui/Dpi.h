#pragma once
// The DPI a window or monitor is shown at. The build targets Windows 7, where neither per-monitor call
// exists: both are looked up at run time, and without them the screen's DPI stands for every monitor.

#include "base/Handles.h"
#include "ui/DpiRules.h"

#include <windows.h>

namespace ui {

int WindowDpi(HWND window);
int MonitorDpi(HMONITOR monitor);
// The monitor that holds most of the rectangle, or the nearest one.
int DpiAt(const RECT& screenRect);
// The two reads above, replaceable so that tests can stand for monitors of other DPIs (no test machine
// has them).
struct DpiPlatform {
    int (*AtRect)(const RECT& screenRect);
    int (*OfWindow)(HWND window);
};
DpiPlatform& DpiCalls();
// Outer bounds for client bounds, with the frame at the DPI the window shows at (the system's frame
// where Windows has no per-DPI call).
void AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, int dpi);
// The screen's DPI as GDI reports it.
int SystemDpi();
// An icon resource at the size the notification area asks for now (LoadIconMetric, small), where
// comctl32 has the call; otherwise at the system's small-icon size.
base::UniqueHicon LoadSmallIcon(HINSTANCE module, const wchar_t* resource);

} // namespace ui
