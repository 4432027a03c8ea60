#include "ui/Window.h"

#include "ui/Application.h"
#include "ui/Dpi.h"

#include <unordered_map>

namespace ui {

namespace {

// Every window of ours by its HWND: the one way from a window to its object. A table of our own, not a
// window property: under Wine each property lookup is a round trip to the server, and a tool bar's
// painting alone sends its parent dozens of notifications. Only the user-interface thread uses it.
std::unordered_map<HWND, Window*>& Windows() {
    static std::unordered_map<HWND, Window*> windows;
    return windows;
}

Window* Find(HWND hwnd) {
    const auto& windows = Windows();
    auto found = windows.find(hwnd);
    return found == windows.end() ? nullptr : found->second;
}

void Forget(HWND hwnd, const Window* window) {
    auto& windows = Windows();
    auto found = windows.find(hwnd);
    if (found != windows.end() && found->second == window) windows.erase(found);
}

void RegisterClassOnce(const WindowCreateParams& params, WNDPROC proc) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof(existing);
    if (GetClassInfoExW(instance, params.className, &existing)) return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = params.classStyle;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hIcon = params.classIcon;
    wc.hCursor = params.classCursor ? params.classCursor : LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = params.classBackground;
    wc.lpszClassName = params.className;
    RegisterClassExW(&wc);
}

} // namespace

Window::~Window() {
    DestroyHandle();
}

Window* Window::FromHandle(HWND hwnd) {
    return hwnd ? Find(hwnd) : nullptr;
}

bool Window::HandleReflected(UINT, WPARAM, LPARAM, LRESULT&) {
    return false;
}

void Window::CreateHandle(const WindowCreateParams& params) {
    RegisterClassOnce(params, &Window::StaticWindowProc);
    HWND hwnd = CreateWindowExW(params.exStyle, params.className, params.caption.c_str(), params.style,
                                params.left, params.top, params.width, params.height, params.parent, nullptr,
                                GetModuleHandleW(nullptr), this);
    if (!hwnd) throw Exception(L"ウィンドウを作成できません", GetLastError());
}

void Window::AttachHandle(HWND hwnd) {
    hwnd_ = hwnd;
    Windows()[hwnd] = this;
}

void Window::DestroyHandle() {
    if (!hwnd_) return;
    if (classProc_) {
        // A routed control's class sees its own destruction; WM_NCDESTROY unbinds it.
        if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
        if (hwnd_) Forget(hwnd_, this);
        hwnd_ = nullptr;
        return;
    }
    // A control's window may have gone with its parent already: only a window still known as ours goes.
    HWND hwnd = hwnd_;
    hwnd_ = nullptr;
    if (Find(hwnd) != this) return;
    // From here on the window must not reach this object's (possibly half-destroyed) handlers.
    Forget(hwnd, this);
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefaultHandler(message, wParam, lParam);
}

LRESULT Window::DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam) {
    if (classProc_) return CallWindowProcW(classProc_, hwnd_, message, wParam, lParam);
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK Window::StaticWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* self = nullptr;
    if (message == WM_NCCREATE) {
        self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        // A window of one of our classes made by someone else has no object: it gets the defaults.
        if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
        self->ownClass_ = true;
        self->AttachHandle(hwnd);
    } else {
        self = Find(hwnd);
    }
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);

    LRESULT result = 0;
    try {
        result = self->HandleMessage(message, wParam, lParam);
    } catch (...) {
        Application::HandleCurrentException();
    }
    if (message == WM_NCDESTROY && self->hwnd_ == hwnd) {
        Forget(hwnd, self);
        self->hwnd_ = nullptr;
        self->HandleDestroyed();
    }
    return result;
}

Control* Control::FromHandle(HWND hwnd) {
    return dynamic_cast<Control*>(Window::FromHandle(hwnd));
}

void Control::CreateControl(const wchar_t* className, DWORD style, DWORD exStyle, const RECT& bounds,
                            HWND parent, int id) {
    // Bounds are given in 96-DPI units; the control is made at its parent's DPI.
    const int dpi = WindowDpi(parent);
    HWND hwnd = CreateWindowExW(
        exStyle, className, L"", style | WS_CHILD, ScaleToDpi(bounds.left, dpi), ScaleToDpi(bounds.top, dpi),
        ScaleToDpi(bounds.right - bounds.left, dpi), ScaleToDpi(bounds.bottom - bounds.top, dpi), parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (!hwnd) throw Exception(L"コントロールを作成できません", GetLastError());
    AttachHandle(hwnd);
}

void Control::RouteMessages() {
    classProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Window::StaticWindowProc)));
}

bool Control::Visible() const {
    return Handle() && (GetWindowLongW(Handle(), GWL_STYLE) & WS_VISIBLE);
}

void Control::SetVisible(bool visible) {
    ShowWindow(Handle(), visible ? SW_SHOWNA : SW_HIDE);
}

RECT Control::BoundsInParent() const {
    RECT r{};
    GetWindowRect(Handle(), &r);
    MapWindowPoints(nullptr, GetParent(Handle()), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void Control::SetBounds(int left, int top, int width, int height) {
    SetWindowPos(Handle(), nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

namespace {

bool ReflectTo(HWND child, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    Window* window = child ? Find(child) : nullptr;
    return window && window->HandleReflected(message, wParam, lParam, result);
}

} // namespace

bool ReflectNotification(HWND parent, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL: // lParam 0: the window's own scroll bar, not a control
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
        return ReflectTo(reinterpret_cast<HWND>(lParam), message, wParam, lParam, result);
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        return item && ReflectTo(item->hwndItem, message, wParam, lParam, result);
    }
    case WM_MEASUREITEM:
        // Id 0 is a menu's, not a control's.
        return wParam != 0 &&
               ReflectTo(GetDlgItem(parent, static_cast<int>(wParam)), message, wParam, lParam, result);
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        return header && ReflectTo(header->hwndFrom, message, wParam, lParam, result);
    }
    default: return false;
    }
}

} // namespace ui
