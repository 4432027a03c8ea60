#include "ui/Input.h"

namespace ui {

ShiftState MouseShiftState(WPARAM wParam) {
    ShiftState state = 0;
    if (wParam & MK_SHIFT) state |= ssShift;
    if (wParam & MK_CONTROL) state |= ssCtrl;
    if (wParam & MK_LBUTTON) state |= ssLeft;
    if (wParam & MK_RBUTTON) state |= ssRight;
    if (wParam & MK_MBUTTON) state |= ssMiddle;
    if (GetKeyState(VK_MENU) < 0) state |= ssAlt;
    return state;
}

ShiftState KeyboardShiftState() {
    ShiftState state = 0;
    if (GetKeyState(VK_SHIFT) < 0) state |= ssShift;
    if (GetKeyState(VK_CONTROL) < 0) state |= ssCtrl;
    if (GetKeyState(VK_MENU) < 0) state |= ssAlt;
    return state;
}

} // namespace ui
