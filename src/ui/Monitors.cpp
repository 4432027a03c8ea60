#include "ui/Monitors.h"

#include <algorithm>

namespace ui {

namespace {

MonitorArea AreaOf(HMONITOR monitor) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (!GetMonitorInfoW(monitor, &info)) {
        // Gone between the question and the answer: the primary screen's size stands in.
        const ScreenRect screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        return {screen, screen};
    }
    return {ToScreenRect(info.rcMonitor), ToScreenRect(info.rcWork)};
}

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    reinterpret_cast<MonitorLayout*>(data)->push_back(AreaOf(monitor));
    return TRUE;
}

} // namespace

ScreenRect ToScreenRect(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

MonitorLayout ReadMonitors() {
    MonitorLayout monitors;
    EnumDisplayMonitors(nullptr, nullptr, &AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    if (monitors.empty()) return {PrimaryMonitor()};
    // The primary monitor holds the point 0, 0.
    std::stable_partition(monitors.begin(), monitors.end(), [](const MonitorArea& m) {
        return m.bounds.Contains({0, 0});
    });
    return monitors;
}

MonitorArea MonitorOfWindow(HWND window) {
    return AreaOf(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST));
}

MonitorArea PrimaryMonitor() {
    return AreaOf(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY));
}

} // namespace ui
