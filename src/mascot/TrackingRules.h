#pragma once
// What one tick of the mascot's timer decides: where the pupils go, which screen edges act, and
// whether the panel follows the pointer (hover mode). Free of Windows so that it is tested directly.

#include "settings/EyeOptions.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

struct IntPoint {
    int x = 0;
    int y = 0;
};

// The eyes and pupils as the formulas use them: sizes and the right eye's left edge, in client pixels.
struct EyeGeometry {
    int leftEyeWidth = 14, leftEyeHeight = 28;                      // Shape1
    int rightEyeLeft = 16, rightEyeWidth = 14, rightEyeHeight = 28; // Shape2
    int leftPupilWidth = 4, leftPupilHeight = 8;                    // Shape3
    int rightPupilWidth = 4, rightPupilHeight = 8;                  // Shape4
    int halfClientHeight = 15;                                      // C: client height div 2
};

struct PupilLefts {
    int left = 0;  // Shape3
    int right = 0; // Shape4
};
struct PupilTops {
    int left = 0;  // Shape3
    int right = 0; // Shape4
};

// The ratio of the pointer's way between the eye point and a screen border, rounded to 32 bits as the
// pupils have always been placed; empty when the divisor is zero (the eye point on that border).
std::optional<float> PupilRatio(std::int64_t numerator, std::int64_t divisor);
// size x ratio in double precision, truncated toward zero (and kept within int).
int ScaleTruncated(double size, float ratio);

// Pupil columns for pointer x and eye point x on a screen screenWidth wide; empty leaves them as they are.
std::optional<PupilLefts> PupilColumns(int pointerX, int eyeX, int screenWidth, const EyeGeometry& eyes);
// Pupil rows for pointer y and eye point y on a screen screenHeight high; empty leaves them as they are.
std::optional<PupilTops> PupilRows(int pointerY, int eyeY, int screenHeight, const EyeGeometry& eyes);

// The edge options; an action without a name does nothing.
struct EdgeOptions {
    EdgeAction left = EdgeAction::HidePanel;   // LWall
    EdgeAction top = EdgeAction::HidePanel;    // TWall
    EdgeAction right = EdgeAction::HidePanel;  // RWall
    EdgeAction bottom = EdgeAction::HidePanel; // BWall
};

struct EdgeStep {
    enum class Action { None, HidePanel, ShowPanel };
    Action action = Action::None;
    IntPoint cursor; // ShowPanel: where the pointer is put afterwards
};

// Left, top, right, bottom, in that order, all judged on the one pointer reading.
// A panel-showing edge puts the pointer pushBack pixels in from it.
std::array<EdgeStep, 4> EdgeSteps(IntPoint pointer, int screenWidth, int screenHeight,
                                  const EdgeOptions& edges, int pushBack = 10);

// The panel follows the pointer only when no edge, hot key or hiding option would show it otherwise.
bool HoverMode(const EdgeOptions& edges, const std::wstring& showHotKey, const std::wstring& hideHotKey,
               const std::wstring& pamuHide);

// Strictly inside the panel's window bounds.
bool PointerOverPanel(IntPoint pointer, int left, int top, int width, int height);
