#include "ui/MonitorRules.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace {

// Distance between two rectangles along one axis; 0 where they overlap on it.
std::int64_t Gap(int aLow, int aHigh, int bLow, int bHigh) {
    if (aHigh <= bLow) return static_cast<std::int64_t>(bLow) - aHigh;
    if (bHigh <= aLow) return static_cast<std::int64_t>(aLow) - bHigh;
    return 0;
}

// The offset that moves [low, low + size) inside [areaLow, areaHigh); the start wins when it is too small.
int Inside(int low, int size, int areaLow, int areaHigh) {
    if (low + size > areaHigh) low = areaHigh - size;
    return std::max(low, areaLow);
}

} // namespace

const MonitorArea* MonitorAt(IntPoint point, const MonitorLayout& monitors) {
    for (const MonitorArea& m : monitors)
        if (m.bounds.Contains(point)) return &m;
    return nullptr;
}

ScreenRect VirtualScreen(const MonitorLayout& monitors) {
    if (monitors.empty()) return {};
    ScreenRect all = monitors.front().bounds;
    for (const MonitorArea& m : monitors) {
        all.left = std::min(all.left, m.bounds.left);
        all.top = std::min(all.top, m.bounds.top);
        all.right = std::max(all.right, m.bounds.right);
        all.bottom = std::max(all.bottom, m.bounds.bottom);
    }
    return all;
}

const MonitorArea* NearestMonitor(const ScreenRect& rect, const MonitorLayout& monitors) {
    const MonitorArea* nearest = nullptr;
    std::int64_t best = std::numeric_limits<std::int64_t>::max();
    for (const MonitorArea& m : monitors) {
        const std::int64_t dx = Gap(rect.left, rect.right, m.bounds.left, m.bounds.right);
        const std::int64_t dy = Gap(rect.top, rect.bottom, m.bounds.top, m.bounds.bottom);
        const std::int64_t distance = dx * dx + dy * dy;
        if (distance < best) {
            best = distance;
            nearest = &m;
        }
    }
    return nearest;
}

std::optional<ScreenRect> PlaceOnMonitors(const ScreenRect& rect, const MonitorLayout& monitors) {
    for (const MonitorArea& m : monitors)
        if (m.bounds.Intersects(rect)) return std::nullopt;
    const MonitorArea* nearest = NearestMonitor(rect, monitors);
    if (!nearest) return std::nullopt;
    const ScreenRect& work = nearest->work;
    const int left = Inside(rect.left, rect.Width(), work.left, work.right);
    const int top = Inside(rect.top, rect.Height(), work.top, work.bottom);
    return ScreenRect{left, top, left + rect.Width(), top + rect.Height()};
}

ScreenRect BesideAnchor(const ScreenRect& anchor, int width, int height, const MonitorArea& monitor) {
    const int left = anchor.left + width <= monitor.work.right ? anchor.left : anchor.right - width;
    int top = anchor.bottom + height <= monitor.work.bottom ? anchor.bottom : anchor.top - height;
    top = std::max(top, monitor.bounds.top);
    return {left, top, left + width, top + height};
}

ScreenRect CentredIn(const ScreenRect& rect, const ScreenRect& area) {
    const int left = area.left + (area.Width() - rect.Width()) / 2;
    const int top = area.top + (area.Height() - rect.Height()) / 2;
    return {left, top, left + rect.Width(), top + rect.Height()};
}
