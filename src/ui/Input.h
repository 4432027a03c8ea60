#pragma once
// Mouse buttons and shift states as the forms' events report them.

#include <windows.h>

namespace ui {

enum class MouseButton { mbLeft, mbRight, mbMiddle };

using ShiftState = unsigned;
constexpr ShiftState ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32,
                     ssDouble = 64;

// The shift state of a mouse message's wParam, with Alt read from the keyboard.
ShiftState MouseShiftState(WPARAM wParam);
// The shift state of the keyboard right now.
ShiftState KeyboardShiftState();

// Button presses, double clicks, releases and moves in the client area.
bool IsMouseMessage(UINT message);
bool IsButtonDown(UINT message); // presses and double clicks
bool IsDoubleClick(UINT message);
MouseButton ButtonOf(UINT message);

} // namespace ui
