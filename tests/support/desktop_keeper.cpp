// Keeps Wine's desktop process alive for a whole test run. Without a program that uses the desktop,
// Wine ends its desktop process a second after each test program and starts it again for the next one;
// that process inherits the test runner's output pipe, so every test would wait out that second, and
// one started by a test program that lists its tests would hold the list's pipe open for the whole run.
// Shows nothing; creates the file named by its argument once the desktop is there; runs until it is ended.

#include <windows.h>

#include <shellapi.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // A window (never shown) ties this process to the desktop, which is there once it has been made.
    HWND hwnd = CreateWindowExW(0, L"STATIC", L"pmrun desktop keeper", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                nullptr, nullptr);
    if (!hwnd) return 1;
    int count = 0;
    wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
    if (args && count > 1) {
        HANDLE ready = CreateFileW(args[1], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (ready != INVALID_HANDLE_VALUE) CloseHandle(ready);
    }
    LocalFree(args);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
        DispatchMessageW(&msg);
    return 0;
}
