#pragma once
// What the baseline programs share: one top-most tool window of a class of their own, and the loop.

#include <windows.h>

// style: the bare popup by default; the panel's baseline has the panel's own frame.
inline HWND ShowBaselineWindow(HINSTANCE instance, WNDPROC proc, const wchar_t* className,
                               const wchar_t* title, RECT bounds, int showCommand, DWORD style = WS_POPUP) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = className;
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, className, title, style, bounds.left,
                                bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, nullptr,
                                nullptr, instance, nullptr);
    ShowWindow(hwnd, showCommand);
    return hwnd;
}

inline int RunBaselineLoop() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
        DispatchMessageW(&msg);
    return 0;
}
