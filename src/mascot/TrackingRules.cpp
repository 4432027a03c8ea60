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

namespace {
EdgeStep EdgeStepFor(EdgeAction option, IntPoint pushedBack) {
    switch (option) {
    case EdgeAction::HidePanel: return {EdgeStep::Action::HidePanel, {}};
    case EdgeAction::ShowPanel: return {EdgeStep::Action::ShowPanel, pushedBack};
    default: return {};
    }
}
} // namespace

std::array<EdgeStep, 4> EdgeSteps(IntPoint p, int screenWidth, int screenHeight, const EdgeOptions& edges,
                                  int pushBack) {
    std::array<EdgeStep, 4> steps{};
    if (p.x == 0) steps[0] = EdgeStepFor(edges.left, {pushBack, p.y});
    if (p.y == 0) steps[1] = EdgeStepFor(edges.top, {p.x, pushBack});
    if (p.x == screenWidth - 1) steps[2] = EdgeStepFor(edges.right, {screenWidth - pushBack, p.y});
    if (p.y == screenHeight - 1) steps[3] = EdgeStepFor(edges.bottom, {p.x, screenHeight - pushBack});
    return steps;
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
