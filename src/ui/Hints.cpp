#include "ui/Hints.h"

#include "ui/Application.h"
#include "ui/Dpi.h"
#include "ui/DpiRules.h"
#include "ui/Graphics.h"
#include "ui/Subclass.h"
#include "ui/Window.h"

#include <commctrl.h>

#include <algorithm>

namespace ui {

namespace {

TTTOOLINFOW ToolInfo(HWND window, UINT_PTR id) {
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof(ti);
    ti.hwnd = window;
    ti.uId = id;
    return ti;
}

} // namespace

HintHost::HintHost(HWND form) : form_(form) {
    tooltip_.reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, form, nullptr,
                                   GetModuleHandleW(nullptr), nullptr));
    // Long hints wrap instead of running off the screen, after as many characters at every DPI.
    SendMessageW(tooltip_.get(), TTM_SETMAXTIPWIDTH, 0, ScaleToDpi(600, WindowDpi(form)));
    if (auto* app = Application::TryInstance()) app->RegisterHintHost(this);
    ApplySettings();
}

HintHost::~HintHost() {
    if (auto* app = Application::TryInstance()) app->UnregisterHintHost(this);
    for (HWND window : watched_)
        Unwatch(window, *this);
    watched_.clear();
}

void HintHost::AddTool(HWND window, UINT_PTR id, const RECT& rect, const std::wstring& text) {
    // No TTF_SUBCLASS: a subclassed window pays a property lookup on every message it gets (the
    // mascot's timer ten times a second); the mouse messages are relayed instead (Relay).
    TTTOOLINFOW ti = ToolInfo(window, id);
    ti.rect = rect;
    ti.lpszText = const_cast<wchar_t*>(text.c_str()); // the control keeps its own copy
    SendMessageW(tooltip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    tools_.push_back({window, id, text});
    const Window* object = Window::FromHandle(window);
    if (window != form_ && !(object && object->GetsOwnMessages())) WatchWindow(window);
}

void HintHost::SetToolRect(HWND window, UINT_PTR id, const RECT& rect) {
    TTTOOLINFOW ti = ToolInfo(window, id);
    ti.rect = rect;
    SendMessageW(tooltip_.get(), TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&ti));
}

void HintHost::SetToolText(HWND window, UINT_PTR id, const std::wstring& text) {
    TTTOOLINFOW ti = ToolInfo(window, id);
    ti.lpszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(tooltip_.get(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
    if (auto* tool = const_cast<Tool*>(FindTool(window, id))) tool->text = text;
}

void HintHost::RemoveTool(HWND window, UINT_PTR id) {
    TTTOOLINFOW ti = ToolInfo(window, id);
    SendMessageW(tooltip_.get(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    std::erase_if(tools_, [&](const Tool& t) { return t.window == window && t.id == id; });
}

bool HintHost::HasTool(HWND window, UINT_PTR id) const {
    return FindTool(window, id) != nullptr;
}

std::wstring HintHost::ToolText(HWND window, UINT_PTR id) const {
    const Tool* tool = FindTool(window, id);
    return tool ? tool->text : std::wstring();
}

const HintHost::Tool* HintHost::FindTool(HWND window, UINT_PTR id) const {
    for (const auto& tool : tools_)
        if (tool.window == window && tool.id == id) return &tool;
    return nullptr;
}

void HintHost::Relay(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!tooltip_) return;
    MSG msg{};
    msg.hwnd = window;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = static_cast<DWORD>(GetMessageTime());
    const DWORD at = GetMessagePos();
    msg.pt = {static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
    SendMessageW(tooltip_.get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
}

bool HintHost::IsRelayed(UINT message) {
    switch (message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP: return true;
    default: return false;
    }
}

void HintHost::ApplySettings() {
    auto* app = Application::TryInstance();
    if (!app || !tooltip_) return;
    SendMessageW(tooltip_.get(), TTM_SETDELAYTIME, TTDT_INITIAL, MAKELPARAM(app->HintPause, 0));
    SendMessageW(tooltip_.get(), TTM_SETDELAYTIME, TTDT_RESHOW, MAKELPARAM(app->HintShortPause, 0));
    SendMessageW(tooltip_.get(), TTM_SETDELAYTIME, TTDT_AUTOPOP, MAKELPARAM(app->HintHidePause, 0));
    SendMessageW(tooltip_.get(), TTM_SETTIPBKCOLOR, ColorToRGB(app->HintColor), 0);
    SendMessageW(tooltip_.get(), TTM_ACTIVATE, app->ShowHint ? TRUE : FALSE, 0);
}

bool HintHost::HandleNotify(const NMHDR& header, LRESULT& result) {
    if (header.hwndFrom != tooltip_.get()) return false;
    if (header.code == TTN_SHOW) {
        result = OnShow() ? TRUE : FALSE;
        return true;
    }
    return false;
}

bool HintHost::OnShow() {
    auto* app = Application::TryInstance();
    if (!app) return false;

    // No text buffer: the texts are kept here, so nothing is copied into a buffer of guessed size.
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof(ti);
    if (!SendMessageW(tooltip_.get(), TTM_GETCURRENTTOOLW, 0, reinterpret_cast<LPARAM>(&ti))) return false;

    HintShowInfo info;
    if (const Tool* tool = FindTool(ti.hwnd, ti.uId)) info.text = tool->text;
    app->SetHint(info.text);
    if (!app->OnShowHint) return false;
    info.control = ti.hwnd;
    GetCursorPos(&info.position);
    info.position.y += GetSystemMetrics(SM_CYCURSOR) * 3 / 4; // where the tooltip would put it
    const POINT proposed = info.position;
    app->OnShowHint(info);
    if (!info.canShow) {
        PostMessageW(tooltip_.get(), TTM_POP, 0, 0);
        return false;
    }
    if (info.position.x == proposed.x && info.position.y == proposed.y) return false;
    SetWindowPos(tooltip_.get(), nullptr, info.position.x, info.position.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}

void HintHost::ForgetWindow(HWND window) {
    // The window's last message: nothing of it is kept.
    std::erase_if(tools_, [&](const Tool& t) { return t.window == window; });
    std::erase(watched_, window);
}

void HintHost::WatchWindow(HWND window) {
    if (std::find(watched_.begin(), watched_.end(), window) != watched_.end()) return;
    if (Watch(window, *this)) watched_.push_back(window);
}

LRESULT HintHost::WatchedMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (IsRelayed(message)) {
        Relay(window, message, wParam, lParam);
    } else if (message == WM_NOTIFY) {
        LRESULT result = 0;
        if (HandleNotify(*reinterpret_cast<const NMHDR*>(lParam), result)) return result;
    } else if (message == WM_NCDESTROY) {
        ForgetWindow(window);
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

} // namespace ui
