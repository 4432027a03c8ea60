// The baseline of the idle benchmark: one small window and a 100 ms timer that reads the pointer, the
// least a program that follows the pointer must do.

#include "BaselineWindow.h"

#include <windows.h>

namespace {
LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TIMER: {
        POINT p;
        GetCursorPos(&p);
        return 0;
    }
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}
} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    HWND hwnd = ShowBaselineWindow(instance, Proc, L"IdleBaseline", L"idle baseline", RECT{40, 600, 71, 631},
                                   SW_SHOWNA);
    SetTimer(hwnd, 1, 100, nullptr);
    return RunBaselineLoop();
}
