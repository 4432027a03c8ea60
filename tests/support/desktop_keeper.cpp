// Keeps Wine's desktop process alive for a whole test run. Without a program that uses the desktop,
// Wine ends its desktop process a second after each test program and starts it again for the next one;
// that process inherits the test runner's output pipe, so every test would wait out that second.
// Shows nothing; runs until it is ended.

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // A window (never shown) ties this process to the desktop.
    HWND hwnd = CreateWindowExW(0, L"STATIC", L"pmrun desktop keeper", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                nullptr, nullptr);
    MSG msg;
    while (hwnd && GetMessageW(&msg, nullptr, 0, 0) > 0)
        DispatchMessageW(&msg);
    return 0;
}
