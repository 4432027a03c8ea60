#pragma once
// Move-only owners of Windows handles, each defined by its close function, and scoped device contexts
// and selections. These traits are the only place in the program where a handle is closed.
// Window handles of the program's own windows are not wrapped here: a Window object clears its HWND when
// the window goes away. The few helper windows made outside the window table (a tooltip, an up-down
// control) are owned as UniqueHelperWindow.
// Shared icons (LoadIcon on a system id) and a region handed to SetWindowRgn are not ours to free.

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include <utility>

namespace base {

// Keeps the calling thread's last error across a cleanup: a close that runs between a failed call and
// the caller's GetLastError (owner.reset(CreateX()); if (!owner) ... GetLastError()) must not change it.
class LastErrorKept {
public:
    LastErrorKept() noexcept : error_(GetLastError()) {}
    ~LastErrorKept() { SetLastError(error_); }
    LastErrorKept(const LastErrorKept&) = delete;
    LastErrorKept& operator=(const LastErrorKept&) = delete;

private:
    DWORD error_;
};

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
        if (old == Traits::Empty()) return;
        const LastErrorKept kept;
        Traits::Close(old);
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
// Events, mutexes, tokens, threads: every kernel handle whose failure value is null.
struct KernelHandleTraits {
    using pointer = HANDLE;
    static HANDLE Empty() { return nullptr; }
    static void Close(HANDLE h) { CloseHandle(h); }
};
// CreateFile says failure with INVALID_HANDLE_VALUE, not null.
struct FileHandleTraits {
    using pointer = HANDLE;
    static HANDLE Empty() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { CloseHandle(h); }
};
// A module from LoadLibrary; GetModuleHandle's are borrowed and never put in one.
struct ModuleTraits {
    using pointer = HMODULE;
    static HMODULE Empty() { return nullptr; }
    static void Close(HMODULE h) { FreeLibrary(h); }
};
// The drop handle that WM_DROPFILES hands over: the receiver must let it go.
struct DropTraits {
    using pointer = HDROP;
    static HDROP Empty() { return nullptr; }
    static void Close(HDROP h) { DragFinish(h); }
};
// Memory that a call allocates for its caller (FormatMessage with FORMAT_MESSAGE_ALLOCATE_BUFFER).
template <typename T> struct LocalMemTraits {
    using pointer = T*;
    static T* Empty() { return nullptr; }
    static void Close(T* p) { LocalFree(p); }
};
// Memory that a shell or COM call allocates for its caller (SHGetKnownFolderPath).
template <typename T> struct CoTaskMemTraits {
    using pointer = T*;
    static T* Empty() { return nullptr; }
    static void Close(T* p) { CoTaskMemFree(p); }
};
// A window of the toolkit's own making that no Window object stands for. Its parent may have taken it
// down already; then there is nothing left to destroy.
struct HelperWindowTraits {
    using pointer = HWND;
    static HWND Empty() { return nullptr; }
    static void Close(HWND h) {
        if (IsWindow(h)) DestroyWindow(h);
    }
};
struct MemoryDcTraits {
    using pointer = HDC;
    static HDC Empty() { return nullptr; }
    static void Close(HDC h) { DeleteDC(h); }
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
using UniqueHmodule = UniqueHandleT<ModuleTraits>;
using UniqueHdrop = UniqueHandleT<DropTraits>;
using UniqueHelperWindow = UniqueHandleT<HelperWindowTraits>;
template <typename T> using UniqueLocalMem = UniqueHandleT<LocalMemTraits<T>>;
template <typename T> using UniqueCoTaskMem = UniqueHandleT<CoTaskMemTraits<T>>;

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

// GetDC/ReleaseDC; a null window gives the screen. The window is kept: ReleaseDC needs it.
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

// CreateCompatibleDC/DeleteDC.
class MemoryDc {
public:
    explicit MemoryDc(HDC compatible) : dc_(CreateCompatibleDC(compatible)) {}
    HDC get() const { return dc_.get(); }

private:
    UniqueHandleT<MemoryDcTraits> dc_;
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

// SaveDC/RestoreDC: a DC lent by the system (WM_DRAWITEM) goes back with its objects, colours and modes
// as they were, whatever was set on it in between.
class SavedDcState {
public:
    explicit SavedDcState(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
    ~SavedDcState() {
        if (saved_) RestoreDC(dc_, saved_);
    }
    SavedDcState(const SavedDcState&) = delete;
    SavedDcState& operator=(const SavedDcState&) = delete;

private:
    HDC dc_;
    int saved_;
};

} // namespace base
