// The baseline of the hot-key, tray and second-start benchmarks: a window that a registered hot key shows
// (Ctrl+Alt+S) and another hides (Ctrl+Alt+X), that the tray message with a pointer move (1224, 512)
// shows too, and that the pointer on the right screen edge shows (checked every 100 ms, putting the
// pointer back ten pixels), guarded by a named mutex so that a second start ends at once, as directly as a
// program can.

#include "BaselineWindow.h"

#include <windows.h>

namespace {

constexpr int kShow = 1, kHide = 2;

LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_HOTKEY:
        if (wParam == kShow) {
            ShowWindow(hwnd, SW_SHOW);
            SetForegroundWindow(hwnd);
        } else if (wParam == kHide) {
            ShowWindow(hwnd, SW_HIDE);
        }
        return 0;
    case WM_USER + 200:
        if (lParam == WM_MOUSEMOVE) {
            ShowWindow(hwnd, SW_SHOW);
            SetForegroundWindow(hwnd);
        }
        return 0;
    case WM_TIMER: {
        POINT p;
        const int right = GetSystemMetrics(SM_CXSCREEN) - 1;
        if (GetCursorPos(&p) && p.x == right) {
            ShowWindow(hwnd, SW_SHOW);
            SetCursorPos(right - 9, p.y);
        }
        return 0;
    }
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    HANDLE running = CreateMutexW(nullptr, FALSE, L"pmrunBenchHotKeyBaseline");
    if (running && GetLastError() == ERROR_ALREADY_EXISTS) return 0;
    HWND hwnd = ShowBaselineWindow(instance, Proc, L"HotKeyBaseline", L"hot key baseline",
                                   RECT{500, 550, 600, 650}, SW_SHOW);
    RegisterHotKey(hwnd, kShow, MOD_CONTROL | MOD_ALT, 'S');
    RegisterHotKey(hwnd, kHide, MOD_CONTROL | MOD_ALT, 'X');
    SetTimer(hwnd, 1, 100, nullptr);
    const int result = RunBaselineLoop();
    CloseHandle(running);
    return result;
}
