#include "ui/Dpi.h"

#include "base/Handles.h"

namespace ui {

namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
using LoadIconMetricFn = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, HICON*);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

template <typename Fn> Fn Lookup(const wchar_t* module, const char* name) {
    // Both modules stay loaded for the life of the process (user32 always, shcore once asked for).
    HMODULE handle = GetModuleHandleW(module);
    if (!handle) handle = LoadLibraryW(module);
    return handle ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(handle, name))) : nullptr;
}

GetDpiForWindowFn DpiForWindow() {
    static const auto fn = Lookup<GetDpiForWindowFn>(L"user32.dll", "GetDpiForWindow");
    return fn;
}

GetDpiForMonitorFn DpiForMonitor() {
    static const auto fn = Lookup<GetDpiForMonitorFn>(L"shcore.dll", "GetDpiForMonitor");
    return fn;
}

constexpr int kEffectiveDpi = 0; // MDT_EFFECTIVE_DPI

} // namespace

int SystemDpi() {
    // Fixed for the session: a change of it needs a new sign-in.
    static const int dpi = [] {
        base::WindowDc screen(nullptr);
        const int read = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSX) : 0;
        return read > 0 ? read : kDefaultDpi;
    }();
    return dpi;
}

int MonitorDpi(HMONITOR monitor) {
    UINT x = 0, y = 0;
    if (auto fn = DpiForMonitor(); fn && monitor && SUCCEEDED(fn(monitor, kEffectiveDpi, &x, &y)) && x > 0)
        return static_cast<int>(x);
    return SystemDpi();
}

namespace {

int SystemWindowDpi(HWND window) {
    if (auto fn = DpiForWindow(); fn && window)
        if (const UINT dpi = fn(window)) return static_cast<int>(dpi);
    return window ? MonitorDpi(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST)) : SystemDpi();
}

int SystemDpiAt(const RECT& screenRect) {
    return MonitorDpi(MonitorFromRect(&screenRect, MONITOR_DEFAULTTONEAREST));
}

} // namespace

DpiPlatform& DpiCalls() {
    static DpiPlatform calls{SystemDpiAt, SystemWindowDpi};
    return calls;
}

int WindowDpi(HWND window) {
    return DpiCalls().OfWindow(window);
}

int DpiAt(const RECT& screenRect) {
    return DpiCalls().AtRect(screenRect);
}

void AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, int dpi) {
    // Windows 10 1607 and later. https://learn.microsoft.com/windows/win32/api/winuser/nf-winuser-adjustwindowrectexfordpi
    static const auto fn = Lookup<AdjustWindowRectExForDpiFn>(L"user32.dll", "AdjustWindowRectExForDpi");
    if (!fn || !fn(&rect, style, FALSE, exStyle, static_cast<UINT>(dpi))) AdjustWindowRectEx(&rect, style, FALSE, exStyle);
}

base::UniqueHicon LoadSmallIcon(HINSTANCE module, const wchar_t* resource) {
    // Version 6 of comctl32 only, which the manifest asks for; looked up so that nothing fails to load
    // without it. https://learn.microsoft.com/windows/win32/api/commctrl/nf-commctrl-loadiconmetric
    static const auto fn = Lookup<LoadIconMetricFn>(L"comctl32.dll", "LoadIconMetric");
    constexpr int kSmall = 0; // LIM_SMALL
    HICON icon = nullptr;
    if (fn && SUCCEEDED(fn(module, resource, kSmall, &icon))) return base::UniqueHicon(icon);
    const int size = GetSystemMetrics(SM_CXSMICON);
    return base::UniqueHicon(static_cast<HICON>(LoadImageW(module, resource, IMAGE_ICON, size, size, 0)));
}

} // namespace ui
