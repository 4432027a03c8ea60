#include "components/TrShlApi.h"

#include "base/WinUtil.h"
#include "components/VerInfo.h"
#include "ui/Application.h"
#include "ui/Graphics.h"

#include <commctrl.h>
#include <shlwapi.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

TrayShellPlatform& TrayShell() {
    static TrayShellPlatform platform;
    return platform;
}

// ---- the threads ----

TrayTicker::TrayTicker(HWND target, UINT message, std::function<bool()> active, std::function<DWORD()> period,
                       bool stepFirst)
    : target_(target), message_(message), active_(std::move(active)), period_(std::move(period)),
      stepFirst_(stepFirst), wake_(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {
    thread_ = std::thread([this] { Run(); });
}

TrayTicker::~TrayTicker() {
    terminated_ = true;
    SetEvent(wake_.get());
    if (thread_.joinable()) thread_.join();
}

void TrayTicker::Run() {
    // Made waiting: the first wake starts it.
    WaitForSingleObject(wake_.get(), INFINITE);
    waiting_ = false;
    while (!terminated_) {
        if (!active_()) {
            waiting_ = true;
            WaitForSingleObject(wake_.get(), INFINITE);
            waiting_ = false;
            continue;
        }
        if (stepFirst_) PostMessageW(target_, message_, 0, 0);
        // The period, unless told to end (or woken) first.
        if (WaitForSingleObject(wake_.get(), period_()) == WAIT_OBJECT_0) continue;
        if (!stepFirst_ && !terminated_) PostMessageW(target_, message_, 0, 0);
    }
}

TMouseEventMaker::TMouseEventMaker(HWND target, const std::atomic<bool>& inside)
    : ticker_(
          target, kTrayPollMessage, [&inside] { return inside.load(); }, [] { return DWORD{100}; }, false) {}

// ---- tooltip style and tracker ----

namespace {

// The shell's tooltip: a top-level "tooltips_class32" window of the task bar's process without
// TTS_NOPREFIX.
HWND FindShellToolTip() {
    HWND taskbar = FindWindowExW(nullptr, nullptr, L"Shell_TrayWnd", nullptr);
    if (!taskbar) return nullptr;
    DWORD shellProcess = 0;
    GetWindowThreadProcessId(taskbar, &shellProcess);
    for (HWND w = FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr); w;
         w = FindWindowExW(nullptr, w, TOOLTIPS_CLASSW, nullptr)) {
        DWORD process = 0;
        GetWindowThreadProcessId(w, &process);
        if (process == shellProcess && !(GetWindowLongW(w, GWL_STYLE) & TTS_NOPREFIX)) return w;
    }
    return nullptr;
}

} // namespace

TCustomToolTipStyle::TCustomToolTipStyle() : ToolTipWnd(FindShellToolTip()) {}

TCustomToolTipStyle::~TCustomToolTipStyle() {
    StopTracking();
    // The shell's tooltip gets its system colours back whatever UseDefault says.
    if (ToolTipWnd) {
        SendMessageW(ToolTipWnd, TTM_POP, 0, 0);
        SendMessageW(ToolTipWnd, TTM_SETTIPBKCOLOR, GetSysColor(COLOR_INFOBK), 0);
        SendMessageW(ToolTipWnd, TTM_SETTIPTEXTCOLOR, GetSysColor(COLOR_INFOTEXT), 0);
    }
}

void TCustomToolTipStyle::Assign(const TCustomToolTipStyle& source) {
    UseDefault = source.UseDefault;
    BackGroundColor = source.BackGroundColor;
}

void TCustomToolTipStyle::StopTracking() {
    mouseMaker_.reset();
}

void TCustomToolTipStyle::TrackMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kTrayMessage)
        tracker_.TrayNotification(static_cast<long>(static_cast<LONG_PTR>(wParam)),
                                  static_cast<long>(lParam));
    else if (message == WM_TIMER)
        tracker_.ClickTimerExpired();
    else if (message == kTrayPollMessage)
        tracker_.Poll();
}

void TCustomToolTipStyle::ApplyColors() {
    if (!ToolTipWnd || UseDefault) return;
    // System colours are resolved: the tooltip takes plain RGB values.
    SendMessageW(ToolTipWnd, TTM_SETTIPBKCOLOR, ui::ColorToRGB(BackGroundColor), 0);
    SendMessageW(ToolTipWnd, TTM_SETTIPTEXTCOLOR, ui::ColorToRGB(TextColor), 0);
}

void TCustomToolTipStyle::RestoreColors() {
    if (!ToolTipWnd || UseDefault) return;
    SendMessageW(ToolTipWnd, TTM_POP, 0, 0);
    SendMessageW(ToolTipWnd, TTM_SETTIPBKCOLOR, GetSysColor(COLOR_INFOBK), 0);
    SendMessageW(ToolTipWnd, TTM_SETTIPTEXTCOLOR, GetSysColor(COLOR_INFOTEXT), 0);
}

void TCustomToolTipStyle::CursorPos(int& x, int& y) {
    POINT p{};
    GetCursorPos(&p);
    x = p.x;
    y = p.y;
}

bool TCustomToolTipStyle::StartClickTimer() {
    // Through the window's own procedure, like every other message of it; a running timer starts over.
    return Wnd && SetTimer(Wnd, kTrayClickTimer, GetDoubleClickTime(), nullptr) != 0;
}

void TCustomToolTipStyle::StopClickTimer() {
    if (Wnd) KillTimer(Wnd, kTrayClickTimer);
}

void TCustomToolTipStyle::SendTray(long wParam, long lParam) {
    if (Wnd) SendMessageW(Wnd, kTrayMessage, static_cast<WPARAM>(wParam), lParam);
}

void TCustomToolTipStyle::PostTray(long wParam, long lParam) {
    if (Wnd) PostMessageW(Wnd, kTrayMessage, static_cast<WPARAM>(static_cast<LONG_PTR>(wParam)), lParam);
}

void TCustomToolTipStyle::PointerEntered() {
    inside_ = true;
    ApplyColors();
    if (!mouseMaker_ && Wnd) mouseMaker_ = std::make_unique<TMouseEventMaker>(Wnd, inside_);
    if (mouseMaker_) mouseMaker_->Resume();
}

void TCustomToolTipStyle::PointerLeft() {
    inside_ = false;
    RestoreColors();
}

// ---- the icon ----

namespace {

DWORD FileShellVersion() {
    try {
        TVerInfo info(base::SystemDirectory() + L"\\shell32.dll");
        return ShellVersionFromFileVersion(info.GetFileVersion());
    } catch (const Exception&) {
        return 0; // no version resource
    }
}

// Copies text into a fixed field of the record, cut to the field (and to at most limit characters).
template <std::size_t N> void CopyField(wchar_t (&field)[N], const std::wstring& text, std::size_t limit) {
    const std::size_t length = std::min({text.size(), limit, N - 1});
    std::copy_n(text.data(), length, field);
    field[length] = L'\0';
}

} // namespace

DWORD TTaskTrayIcon::ReadShellVersion() {
    // DllGetVersion, where shell32 has it, overrides the file version; the file's version resource is
    // only read when it has not (reading it costs every start of the program).
    std::optional<DWORD> version;
    {
        const UINT oldMode = SetErrorMode(SEM_NOOPENFILEERRORBOX);
        const base::UniqueHmodule shell(LoadLibraryW(L"shell32.dll"));
        SetErrorMode(oldMode);
        if (!shell) return FileShellVersion();
        if (auto get = reinterpret_cast<DLLGETVERSIONPROC>(
                reinterpret_cast<void*>(GetProcAddress(shell.get(), "DllGetVersion")))) {
            DLLVERSIONINFO info{};
            info.cbSize = sizeof(info);
            version = SUCCEEDED(get(&info)) ? MAKELONG(info.dwMinorVersion, info.dwMajorVersion)
                                            : FileShellVersion();
        }
    } // shell32 is let go before its file is read
    return version ? *version : FileShellVersion();
}

UINT TTaskTrayIcon::TaskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}

TTaskTrayIcon::TTaskTrayIcon() : ShellVersion(ReadShellVersion()) {}

TTaskTrayIcon::~TTaskTrayIcon() {
    Style.StopTracking();
    DeleteIcon();
    wnd_ = nullptr;
    window_.Destroy();
}

void TTaskTrayIcon::TrayWindow::Create() {
    ui::WindowCreateParams params;
    params.className = L"TaskTrayHandle";
    params.style = WS_POPUP;
    params.exStyle = WS_EX_TOOLWINDOW;
    params.left = params.top = params.width = params.height = 0;
    params.classIcon = LoadIconW(GetModuleHandleW(nullptr), L"MAINICON");
    params.classBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    try {
        CreateHandle(params);
    } catch (const Exception&) {
        // No window: the icon has none to name, as before any was made.
    }
}

LRESULT TTaskTrayIcon::TrayWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // Also while the window is being made, before its icon knows it.
    if (icon_.wnd_ != Handle()) return DefaultHandler(message, wParam, lParam);
    return icon_.HandleMessage(message, wParam, lParam);
}

HWND TTaskTrayIcon::GetWnd() {
    if (!wnd_) {
        window_.Create();
        wnd_ = window_.Handle();
        Style.Wnd = wnd_;
        if (wnd_) base::AllowMessageFromAnyProcess(wnd_, TaskbarCreatedMessage());
    }
    return wnd_;
}

void TTaskTrayIcon::SetTip(const std::wstring& text) {
    CopyField(NotifyData.szTip, ClipTip(text, IsShell5()), IsShell5() ? 127 : 63);
}

std::wstring TTaskTrayIcon::Tip() const {
    return NotifyData.szTip;
}

void TTaskTrayIcon::SetBalloonText(const std::wstring& text) {
    CopyField(NotifyData.szInfo, text, 255);
}

void TTaskTrayIcon::SetBalloonTitle(const std::wstring& title) {
    CopyField(NotifyData.szInfoTitle, title, 63);
}

bool TTaskTrayIcon::ShowBalloon() {
    if (!Registered || !IsShell5()) return false;
    NotifyData.uFlags |= NIF_INFO;
    const bool shown = Notify(NIM_MODIFY);
    NotifyData.uFlags &= ~static_cast<UINT>(NIF_INFO);
    return shown;
}

void TTaskTrayIcon::FillRecord() {
    if (IsShell5()) {
        NotifyData.cbSize = NOTIFYICONDATAW_V2_SIZE;
        NotifyData.dwState = NIS_SHAREDICON;
        NotifyData.dwStateMask = 0;
        NotifyData.dwInfoFlags = 0;
    } else {
        NotifyData.cbSize = NOTIFYICONDATAW_V1_SIZE;
    }
    NotifyData.uID = 1;
    NotifyData.hWnd = GetWnd();
    NotifyData.uCallbackMessage = kTrayMessage;
    // Message, icon and tip; a balloon only when ShowBalloon asks for one.
    NotifyData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
}

bool TTaskTrayIcon::Notify(DWORD message) {
    if (DoForegroundWindow) SetForegroundWindow(wnd_);
    return TrayShell().NotifyIcon(message, &NotifyData) != FALSE;
}

bool TTaskTrayIcon::AddIcon() {
    Wanted = true;
    if (Registered) return true;
    FillRecord();
    if (!NotifyData.hIcon) return false;
    // An add that timed out may have gone through all the same: a modify tells, now or at the next change
    // (whose add the shell then refuses for an icon it has). Anything else waits for "TaskbarCreated".
    // https://learn.microsoft.com/windows/win32/shell/taskbar#taskbar-creation-notification
    const bool added = Notify(NIM_ADD);
    const bool timedOut = !added && GetLastError() == ERROR_TIMEOUT;
    Registered = added || ((timedOut || maybeAdded_) && TrayShell().NotifyIcon(NIM_MODIFY, &NotifyData));
    maybeAdded_ = !Registered && (timedOut || maybeAdded_);
    return Registered;
}

bool TTaskTrayIcon::ModifyIcon() {
    if (!Registered) return AddIcon();
    if (!NotifyData.hIcon) return false;
    if (Notify(NIM_MODIFY) || GetLastError() == ERROR_TIMEOUT) return Registered;
    // The shell has lost the icon: add it again.
    Registered = false;
    return AddIcon();
}

bool TTaskTrayIcon::DeleteIcon() {
    Wanted = false;
    // One that may be there is deleted too, so that no icon stays behind once the program has gone.
    if (!Registered && !maybeAdded_) return true;
    const bool known = std::exchange(Registered, false);
    maybeAdded_ = false;
    return TrayShell().NotifyIcon(NIM_DELETE, &NotifyData) != FALSE || !known;
}

LRESULT TTaskTrayIcon::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == TaskbarCreatedMessage() && Wanted) {
        // The task bar was made (again, or for the first time) and knows no icon: this one goes in.
        Registered = false;
        maybeAdded_ = false;
        AddIcon();
    }
    Style.TrackMessage(message, wParam, lParam);
    if (OnMessage) {
        TrayWindowMessage m{message, wParam, lParam, 0};
        OnMessage(m);
        return m.Result;
    }
    return DefWindowProcW(wnd_, message, wParam, lParam);
}
