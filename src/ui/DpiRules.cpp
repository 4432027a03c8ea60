#include "ui/DpiRules.h"

#include <cstdint>
#include <limits>

namespace ui {

int ScaleBetweenDpis(int value, int from, int to) {
    if (from <= 0) from = kDefaultDpi;
    if (to <= 0) to = kDefaultDpi;
    const std::int64_t product = std::int64_t{value} * to;
    const std::int64_t half = from / 2;
    const std::int64_t scaled = product >= 0 ? (product + half) / from : -((-product + half) / from);
    // Far-off positions on large DPIs: keep the result an int rather than overflow.
    if (scaled > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    if (scaled < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    return static_cast<int>(scaled);
}

int ScaleToDpi(int value, int dpi) {
    return ScaleBetweenDpis(value, kDefaultDpi, dpi);
}

} // namespace ui
