#pragma once
// Move-only owners of Windows handles, each defined by its close function, and scoped device contexts.
// Window handles are not wrapped here: a Window object clears its HWND when the window goes away.

#include <windows.h>
#include <commctrl.h>

#include <utility>

namespace ui {

template <typename Traits> class UniqueHandleT {
public:
    using pointer = typename Traits::pointer;

    UniqueHandleT() noexcept = default;
    explicit UniqueHandleT(pointer handle) noexcept : handle_(handle) {}
    UniqueHandleT(const UniqueHandleT&) = delete;
    UniqueHandleT& operator=(const UniqueHandleT&) = delete;
    UniqueHandleT(UniqueHandleT&& other) noexcept : handle_(other.release()) {}
    UniqueHandleT& operator=(UniqueHandleT&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~UniqueHandleT() { reset(); }

    pointer get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != Traits::Empty(); }
    pointer release() noexcept { return std::exchange(handle_, Traits::Empty()); }
    void reset(pointer handle = Traits::Empty()) noexcept {
        pointer old = std::exchange(handle_, handle);
        if (old != Traits::Empty()) Traits::Close(old);
    }
    // For calls that return a handle through an output parameter.
    pointer* put() noexcept {
        reset();
        return &handle_;
    }

private:
    pointer handle_ = Traits::Empty();
};

struct IconTraits {
    using pointer = HICON;
    static HICON Empty() { return nullptr; }
    static void Close(HICON h) { DestroyIcon(h); }
};
struct MenuTraits {
    using pointer = HMENU;
    static HMENU Empty() { return nullptr; }
    static void Close(HMENU h) { DestroyMenu(h); }
};
template <typename T> struct GdiTraits {
    using pointer = T;
    static T Empty() { return nullptr; }
    static void Close(T h) { DeleteObject(h); }
};
struct ImageListTraits {
    using pointer = HIMAGELIST;
    static HIMAGELIST Empty() { return nullptr; }
    static void Close(HIMAGELIST h) { ImageList_Destroy(h); }
};
struct KeyTraits {
    using pointer = HKEY;
    static HKEY Empty() { return nullptr; }
    static void Close(HKEY h) { RegCloseKey(h); }
};
struct KernelHandleTraits {
    using pointer = HANDLE;
    static HANDLE Empty() { return nullptr; }
    static void Close(HANDLE h) { CloseHandle(h); }
};
struct FileHandleTraits {
    using pointer = HANDLE;
    static HANDLE Empty() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { CloseHandle(h); }
};

using UniqueHicon = UniqueHandleT<IconTraits>;
using UniqueHmenu = UniqueHandleT<MenuTraits>;
template <typename T> using UniqueGdi = UniqueHandleT<GdiTraits<T>>;
using UniqueGdiObject = UniqueGdi<HGDIOBJ>;
using UniqueHbrush = UniqueGdi<HBRUSH>;
using UniqueHpen = UniqueGdi<HPEN>;
using UniqueHfont = UniqueGdi<HFONT>;
using UniqueHrgn = UniqueGdi<HRGN>;
using UniqueHbitmap = UniqueGdi<HBITMAP>;
using UniqueHimagelist = UniqueHandleT<ImageListTraits>;
using UniqueHkey = UniqueHandleT<KeyTraits>;
using UniqueHandle = UniqueHandleT<KernelHandleTraits>;
using UniqueFileHandle = UniqueHandleT<FileHandleTraits>;

// BeginPaint/EndPaint for one WM_PAINT.
class PaintDc {
public:
    explicit PaintDc(HWND hwnd) : hwnd_(hwnd), dc_(BeginPaint(hwnd, &ps_)) {}
    ~PaintDc() { EndPaint(hwnd_, &ps_); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    HDC get() const { return dc_; }
    const RECT& Area() const { return ps_.rcPaint; }

private:
    HWND hwnd_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// GetDC/ReleaseDC; a null window gives the screen.
class WindowDc {
public:
    explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    ~WindowDc() {
        if (dc_) ReleaseDC(hwnd_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

class MemoryDc {
public:
    explicit MemoryDc(HDC compatible) : dc_(CreateCompatibleDC(compatible)) {}
    ~MemoryDc() {
        if (dc_) DeleteDC(dc_);
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    HDC get() const { return dc_; }

private:
    HDC dc_;
};

// Selects an object into a DC and puts the previous one back.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ~SelectGuard() {
        if (old_) SelectObject(dc_, old_);
    }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

} // namespace ui
