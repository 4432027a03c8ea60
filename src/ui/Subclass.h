#pragma once
// Watching a window made by someone else (a standard control, another object's window): the one way this
// program puts itself in another window's message path. Every message of the window passes through
// watcher.WatchedMessage(hwnd, message, wParam, lParam) first, which passes it on with DefSubclassProc.
// The watch ends with the window (after its WM_NCDESTROY) or with Unwatch. A watcher that goes while
// another program's procedure sits above the subclass chain leaves its place in the chain, only passing
// messages on: taking it out would take that procedure out with it.
// https://learn.microsoft.com/windows/win32/controls/subclassing-overview

#include <windows.h>

#include <commctrl.h>

namespace ui {

namespace detail {
// Hands an exception of a watcher to the application's error box; never into Windows.
void ReportWatchException();
// The window procedure of a subclassed window, while nobody has put another one over it.
inline LONG_PTR gSubclassEntry = 0;

template <typename T>
LRESULT CALLBACK WatchProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                           DWORD_PTR data) {
    LRESULT result = 0;
    if (!data) {
        result = DefSubclassProc(hwnd, message, wParam, lParam); // its watcher is gone
    } else {
        try {
            result = reinterpret_cast<T*>(data)->WatchedMessage(hwnd, message, wParam, lParam);
        } catch (...) {
            ReportWatchException();
        }
    }
    if (message == WM_NCDESTROY) RemoveWindowSubclass(hwnd, &WatchProc<T>, id);
    return result;
}
} // namespace detail

// The watcher is the reference data, and its address the watch's id: two watchers of one class may watch
// one window.
template <typename T> bool Watch(HWND hwnd, T& watcher) {
    if (!SetWindowSubclass(hwnd, &detail::WatchProc<T>, reinterpret_cast<UINT_PTR>(&watcher),
                           reinterpret_cast<DWORD_PTR>(&watcher)))
        return false;
    if (!detail::gSubclassEntry) detail::gSubclassEntry = GetWindowLongPtrW(hwnd, GWLP_WNDPROC);
    return true;
}

// Only for a window this watcher watches.
template <typename T> void Unwatch(HWND hwnd, T& watcher) {
    if (!hwnd || !IsWindow(hwnd)) return;
    const auto id = reinterpret_cast<UINT_PTR>(&watcher);
    if (GetWindowLongPtrW(hwnd, GWLP_WNDPROC) == detail::gSubclassEntry)
        RemoveWindowSubclass(hwnd, &detail::WatchProc<T>, id);
    else
        SetWindowSubclass(hwnd, &detail::WatchProc<T>, id, 0); // stays in the chain, only passing on
}

} // namespace ui
