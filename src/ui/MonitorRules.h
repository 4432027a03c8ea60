#pragma once
// The desktop as a set of monitors, each a rectangle of screen pixels with its work area, and the rules
// that place things on it. No Windows here: the layouts are tested directly, as no test machine has
// several monitors.

#include <optional>
#include <vector>

struct IntPoint {
    int x = 0;
    int y = 0;
};

// Right and bottom are outside, as in a Windows RECT.
struct ScreenRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Contains(IntPoint p) const { return left <= p.x && p.x < right && top <= p.y && p.y < bottom; }
    bool Intersects(const ScreenRect& other) const {
        return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
    }
    bool operator==(const ScreenRect&) const = default;
};

struct MonitorArea {
    ScreenRect bounds;
    ScreenRect work; // without the task bar and other docked bars
};
using MonitorLayout = std::vector<MonitorArea>;

// The monitor that holds the point, or null.
const MonitorArea* MonitorAt(IntPoint point, const MonitorLayout& monitors);
// The bounds of the whole desktop: the smallest rectangle around every monitor.
ScreenRect VirtualScreen(const MonitorLayout& monitors);
// The monitor nearest to the rectangle by the distance between their edges (0 where they overlap), the
// first of equals; null without monitors.
const MonitorArea* NearestMonitor(const ScreenRect& rect, const MonitorLayout& monitors);

// A window at rect that lies on no monitor (a place stored while a monitor was attached that no longer
// is) comes back whole into the work area of the nearest monitor; empty when it lies on one already.
std::optional<ScreenRect> PlaceOnMonitors(const ScreenRect& rect, const MonitorLayout& monitors);

// A window of width x height beside anchor: under it, or above it when it would pass the work area's
// bottom; left-aligned with it, or right-aligned when it would pass the work area's right edge; never
// above the monitor's top.
ScreenRect BesideAnchor(const ScreenRect& anchor, int width, int height, const MonitorArea& monitor);

// Rect moved (not resized) to the middle of area.
ScreenRect CentredIn(const ScreenRect& rect, const ScreenRect& area);
