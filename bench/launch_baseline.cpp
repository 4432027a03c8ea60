// The baseline of the click-to-launch benchmark: one window that starts the program named on its
// command line through ShellExecuteW when it is clicked, as directly as a program can.

#include "BaselineWindow.h"

#include <windows.h>
#include <shellapi.h>

namespace {
const wchar_t* g_program = L"";

LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_LBUTTONUP: ShellExecuteW(hwnd, nullptr, g_program, nullptr, nullptr, SW_SHOWNORMAL); return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}
} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    g_program = commandLine;
    HWND hwnd = ShowBaselineWindow(instance, Proc, L"LaunchBaseline", L"launch baseline",
                                   RECT{500, 550, 600, 650}, SW_SHOW);
    (void)hwnd;
    return RunBaselineLoop();
}
