#include "mascot/TrackingRules.h"

#include <cmath>
#include <limits>

std::optional<float> PupilRatio(std::int64_t numerator, std::int64_t divisor) {
    if (divisor == 0) return std::nullopt;
    return static_cast<float>(static_cast<double>(numerator) / static_cast<double>(divisor));
}

int ScaleTruncated(double size, float ratio) {
    const double product = std::trunc(size * static_cast<double>(ratio));
    // Far-off monitors give large ratios; keep the result a valid int rather than overflow.
    constexpr double kMin = std::numeric_limits<int>::min(), kMax = std::numeric_limits<int>::max();
    if (!(product >= kMin)) return std::numeric_limits<int>::min();
    if (product > kMax) return std::numeric_limits<int>::max();
    return static_cast<int>(product);
}

std::optional<PupilLefts> PupilColumns(int pointerX, int eyeX, int screenWidth, const EyeGeometry& eyes) {
    if (eyeX < pointerX) {
        const auto r = PupilRatio(std::int64_t{pointerX} - eyeX, std::int64_t{screenWidth} - eyeX);
        if (!r) return std::nullopt;
        return PupilLefts{eyes.rightEyeLeft - eyes.leftPupilWidth,
                          eyes.rightEyeLeft + ScaleTruncated(eyes.rightEyeWidth - eyes.rightPupilWidth, *r)};
    }
    const auto r = PupilRatio(pointerX, eyeX);
    if (!r) return std::nullopt;
    return PupilLefts{1 + ScaleTruncated(eyes.leftEyeWidth - eyes.leftPupilWidth, *r), eyes.rightEyeLeft};
}

std::optional<PupilTops> PupilRows(int pointerY, int eyeY, int screenHeight, const EyeGeometry& eyes) {
    if (pointerY < eyeY) {
        const auto r = PupilRatio(pointerY, eyeY);
        if (!r) return std::nullopt;
        return PupilTops{ScaleTruncated(eyes.leftEyeHeight / 2.0, *r),
                         ScaleTruncated(eyes.rightEyeHeight / 2.0, *r)};
    }
    const auto r = PupilRatio(std::int64_t{pointerY} - eyeY, std::int64_t{screenHeight} - eyeY);
    if (!r) return std::nullopt;
    const int c = eyes.halfClientHeight;
    return PupilTops{c + ScaleTruncated((eyes.leftEyeHeight - 2.0 * eyes.leftPupilHeight) / 2.0, *r),
                     c + ScaleTruncated((eyes.rightEyeHeight - 2.0 * eyes.rightPupilHeight) / 2.0, *r)};
}

std::optional<PupilLefts> PupilColumns(int pointerX, int eyeX, const ScreenRect& desktop,
                                       const EyeGeometry& eyes) {
    return PupilColumns(pointerX - desktop.left, eyeX - desktop.left, desktop.Width(), eyes);
}

std::optional<PupilTops> PupilRows(int pointerY, int eyeY, const ScreenRect& desktop,
                                   const EyeGeometry& eyes) {
    return PupilRows(pointerY - desktop.top, eyeY - desktop.top, desktop.Height(), eyes);
}

namespace {
EdgeStep EdgeStepFor(EdgeAction option, IntPoint pushedBack) {
    switch (option) {
    case EdgeAction::HidePanel: return {EdgeStep::Action::HidePanel, {}};
    case EdgeAction::ShowPanel: return {EdgeStep::Action::ShowPanel, pushedBack};
    default: return {};
    }
}
} // namespace

std::array<EdgeStep, 4> EdgeSteps(IntPoint p, const MonitorLayout& monitors, const EdgeOptions& edges,
                                  int push) {
    std::array<EdgeStep, 4> steps{};
    const MonitorArea* on = MonitorAt(p, monitors);
    if (!on) return steps;
    const ScreenRect& m = on->bounds;
    // A border with another monitor beyond it is no wall: the pointer just passes over.
    const auto wall = [&](IntPoint beyond) { return MonitorAt(beyond, monitors) == nullptr; };
    if (p.x == m.left && wall({p.x - 1, p.y})) steps[0] = EdgeStepFor(edges.left, {m.left + push, p.y});
    if (p.y == m.top && wall({p.x, p.y - 1})) steps[1] = EdgeStepFor(edges.top, {p.x, m.top + push});
    if (p.x == m.right - 1 && wall({p.x + 1, p.y}))
        steps[2] = EdgeStepFor(edges.right, {m.right - push, p.y});
    if (p.y == m.bottom - 1 && wall({p.x, p.y + 1}))
        steps[3] = EdgeStepFor(edges.bottom, {p.x, m.bottom - push});
    return steps;
}

std::array<EdgeStep, 4> EdgeSteps(IntPoint p, int screenWidth, int screenHeight, const EdgeOptions& edges) {
    const ScreenRect screen{0, 0, screenWidth, screenHeight};
    return EdgeSteps(p, MonitorLayout{{screen, screen}}, edges);
}

bool HoverMode(const EdgeOptions& edges, const std::wstring& showHotKey, const std::wstring& hideHotKey,
               const std::wstring& pamuHide) {
    constexpr EdgeAction off = EdgeAction::Nothing;
    return edges.left == off && edges.top == off && edges.right == off && edges.bottom == off &&
           showHotKey.empty() && hideHotKey.empty() && pamuHide == L"No";
}

bool PointerOverPanel(IntPoint p, int left, int top, int width, int height) {
    return left < p.x && p.x < left + width && top < p.y && p.y < top + height;
}
