#include "ui/Window.h"

#include "ui/Application.h"

#include <mutex>
#include <unordered_map>

namespace ui {

namespace {

// Marks windows of ours, so that an arbitrary HWND is never taken for an object.
constexpr wchar_t kWindowProp[] = L"pmrun.Window";

// The controls of ours by window. Not a window property: under Wine each property lookup is a round
// trip to the server, and a tool bar's painting alone sends its parent dozens of notifications.
class ControlRegistry {
public:
    void Add(HWND hwnd, Control* control) {
        std::lock_guard lock(mutex_);
        controls_[hwnd] = control;
    }
    void Remove(HWND hwnd, const Control* control) {
        std::lock_guard lock(mutex_);
        auto found = controls_.find(hwnd);
        if (found != controls_.end() && found->second == control) controls_.erase(found);
    }
    Control* Find(HWND hwnd) const {
        std::lock_guard lock(mutex_);
        auto found = controls_.find(hwnd);
        return found == controls_.end() ? nullptr : found->second;
    }

private:
    mutable std::mutex mutex_;
    std::unordered_map<HWND, Control*> controls_;
};

ControlRegistry& Controls() {
    static ControlRegistry registry;
    return registry;
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
    wc.hCursor = params.classCursor ? params.classCursor : LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = params.className;
    RegisterClassExW(&wc);
}

} // namespace

Window::~Window() {
    DestroyHandle();
}

Window* Window::FromHandle(HWND hwnd) {
    return hwnd ? static_cast<Window*>(GetPropW(hwnd, kWindowProp)) : nullptr;
}

void Window::CreateHandle(const WindowCreateParams& params) {
    RegisterClassOnce(params, &Window::StaticWindowProc);
    HWND hwnd = CreateWindowExW(params.exStyle, params.className, params.caption.c_str(), params.style,
                                params.left, params.top, params.width, params.height, params.parent, nullptr,
                                GetModuleHandleW(nullptr), this);
    if (!hwnd) throw Exception(L"ウィンドウを作成できません");
}

void Window::DestroyHandle() {
    if (!hwnd_) return;
    // From here on the window must not reach this object's (possibly half-destroyed) handlers.
    HWND hwnd = hwnd_;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    RemovePropW(hwnd, kWindowProp);
    hwnd_ = nullptr;
    DestroyWindow(hwnd);
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefaultHandler(message, wParam, lParam);
}

LRESULT Window::DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK Window::StaticWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* self = nullptr;
    if (message == WM_NCCREATE) {
        self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        // A window of one of our classes made by someone else has no object: it gets the defaults.
        if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        SetPropW(hwnd, kWindowProp, self);
    } else {
        self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);

    LRESULT result = 0;
    try {
        result = self->HandleMessage(message, wParam, lParam);
    } catch (...) {
        Application::HandleCurrentException();
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        RemovePropW(hwnd, kWindowProp);
        self->hwnd_ = nullptr;
        self->HandleDestroyed();
    }
    return result;
}

void Control::DestroyControlHandle() {
    if (hwnd_) {
        Controls().Remove(hwnd_, this);
        if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
    }
    hwnd_ = nullptr;
}

Control::~Control() {
    // The parent may have taken the window with it already; only a window still known as ours goes.
    if (hwnd_ && Controls().Find(hwnd_) == this) {
        Controls().Remove(hwnd_, this);
        if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
    }
}

Control* Control::FromHandle(HWND hwnd) {
    return hwnd ? Controls().Find(hwnd) : nullptr;
}

bool Control::HandleReflected(UINT, WPARAM, LPARAM, LRESULT&) {
    return false;
}

void Control::CreateHandle(const wchar_t* className, DWORD style, DWORD exStyle, const RECT& bounds,
                           HWND parent, int id) {
    hwnd_ = CreateWindowExW(exStyle, className, L"", style | WS_CHILD, bounds.left, bounds.top,
                            bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                            nullptr);
    if (!hwnd_) throw Exception(L"コントロールを作成できません");
    Controls().Add(hwnd_, this);
}

bool Control::Visible() const {
    return hwnd_ && (GetWindowLongW(hwnd_, GWL_STYLE) & WS_VISIBLE);
}

void Control::SetVisible(bool visible) {
    ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
}

RECT Control::BoundsInParent() const {
    RECT r{};
    GetWindowRect(hwnd_, &r);
    MapWindowPoints(nullptr, GetParent(hwnd_), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void Control::SetBounds(int left, int top, int width, int height) {
    SetWindowPos(hwnd_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

bool ReflectToControl(HWND child, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    Control* control = Control::FromHandle(child);
    return control && control->HandleReflected(message, wParam, lParam, result);
}

} // namespace ui
