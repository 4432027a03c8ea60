#pragma once
// One icon in the notification area, kept there across restarts of the shell, and the mouse tracker
// that turns the shell's notifications into pointer enter, pointer exit and deferred single clicks.
// Each icon has a hidden window of the class "TaskTrayHandle"; the shell and the tracker talk to it
// with the tray message (1224).
// https://learn.microsoft.com/windows/win32/api/shellapi/nf-shellapi-shell_notifyiconw

#include "base/Color.h"
#include "base/Exception.h"
#include "base/Handles.h"
#include "components/TrayRules.h"
#include "ui/Window.h"

#include <windows.h>
#include <shellapi.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>

enum class TBalloonIconType { bitNone, bitInfo, bitWarning, bitError };

// The shell call of the icons, replaceable so that tests can count the calls and make them fail or time out.
struct TrayShellPlatform {
    BOOL(WINAPI* NotifyIcon)(DWORD message, PNOTIFYICONDATAW data) = ::Shell_NotifyIconW;
};
TrayShellPlatform& TrayShell();

// One message of the hidden window, as the owner's handler gets it.
struct TrayWindowMessage {
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
    LRESULT Result;
};

// Posted to the hidden window by the exit poll; the poll itself runs on the window's thread.
constexpr UINT kTrayPollMessage = WM_APP + 0x2C9;
// The click timer on the hidden window.
constexpr UINT_PTR kTrayClickTimer = 7;

// A thread that, while Active() holds, posts a message to a window every Period() milliseconds, and
// otherwise waits until it is woken. It never touches the window's state: the window's own thread does
// the work the message asks for. Ended and waited for with the object.
class TrayTicker {
public:
    // stepFirst: post, then wait the period; otherwise wait first.
    TrayTicker(HWND target, UINT message, std::function<bool()> active, std::function<DWORD()> period,
               bool stepFirst);
    ~TrayTicker();
    TrayTicker(const TrayTicker&) = delete;
    TrayTicker& operator=(const TrayTicker&) = delete;

    // Always signalled: a wake that meets the thread just before it waits must not be lost. At worst the
    // thread ticks once more.
    void Wake() { SetEvent(wake_.get()); }
    bool Waiting() const { return waiting_; }

private:
    void Run();
    HWND target_;
    UINT message_;
    std::function<bool()> active_;
    std::function<DWORD()> period_;
    bool stepFirst_;
    std::atomic<bool> terminated_{false};
    std::atomic<bool> waiting_{true};
    base::UniqueHandle wake_;
    std::thread thread_;
};

// While the pointer is on the icon, asks the window's thread every 100 ms to check whether it left;
// otherwise it waits, costing nothing.
class TMouseEventMaker {
public:
    TMouseEventMaker(HWND target, const std::atomic<bool>& inside);
    void Resume() { ticker_.Wake(); }
    bool Suspended() const { return ticker_.Waiting(); }

private:
    TrayTicker ticker_;
};

// The mouse tracker and the colours of the shell's tooltip while the pointer is on the icon.
class TCustomToolTipStyle : private TrayTrackerHost {
public:
    TCustomToolTipStyle();
    ~TCustomToolTipStyle() override;
    TCustomToolTipStyle(const TCustomToolTipStyle&) = delete;
    TCustomToolTipStyle& operator=(const TCustomToolTipStyle&) = delete;

    // The owning icon's hidden window.
    HWND Wnd = nullptr;
    // The shell's tooltip window, found by the constructor; null when there is none.
    HWND ToolTipWnd = nullptr;
    bool UseDefault = true;
    TColor BackGroundColor = clBlack;
    TColor TextColor = clWindowText;
    bool CheckSingleDoubleClick() const { return tracker_.CheckSingleDoubleClick; }
    void SetCheckSingleDoubleClick(bool check) { tracker_.CheckSingleDoubleClick = check; }

    // Copies UseDefault and BackGroundColor, not the text colour.
    void Assign(const TCustomToolTipStyle& source);

    // Every message of the hidden window passes here first.
    void TrackMessage(UINT message, WPARAM wParam, LPARAM lParam);
    const TrayMouseTracker& Tracker() const { return tracker_; }
    // The exit poll's thread, once the pointer first came onto the icon.
    const TMouseEventMaker* MouseMaker() const { return mouseMaker_.get(); }
    // Ends the exit poll (waiting for its thread).
    void StopTracking();

    void ApplyColors();
    void RestoreColors();

private:
    void CursorPos(int& x, int& y) override;
    bool StartClickTimer() override;
    void StopClickTimer() override;
    void SendTray(long wParam, long lParam) override;
    void PostTray(long wParam, long lParam) override;
    void PointerEntered() override;
    void PointerLeft() override;

    TrayMouseTracker tracker_{*this};
    std::atomic<bool> inside_{false};
    std::unique_ptr<TMouseEventMaker> mouseMaker_;
};

class TToolTipStyle : public TCustomToolTipStyle {};

class TTaskTrayIcon {
public:
    TTaskTrayIcon();
    ~TTaskTrayIcon();
    TTaskTrayIcon(const TTaskTrayIcon&) = delete;
    TTaskTrayIcon& operator=(const TTaskTrayIcon&) = delete;

    // Major version in the high 16 bits, minor in the low ones.
    const DWORD ShellVersion;
    NOTIFYICONDATAW NotifyData{};
    // The shell holds the icon.
    bool Registered = false;
    // The owner wants the icon shown (from AddIcon to DeleteIcon), whether or not the shell took it.
    bool Wanted = false;
    // Every message of the hidden window, after the tracker; without it the default handling applies.
    std::function<void(TrayWindowMessage&)> OnMessage;
    TToolTipStyle Style;
    bool DoForegroundWindow = false;

    // NIM_ADD. The notification area may not be there yet (a logon task, a restart of Explorer): an add
    // it refuses leaves the icon wanted, and it is added when the task bar tells it is made
    // ("TaskbarCreated"). Nothing waits. The record needs an icon: without one nothing is asked and the
    // result is false.
    bool AddIcon();
    // NIM_MODIFY; an icon the shell has lost is added again.
    bool ModifyIcon();
    bool DeleteIcon();
    HWND GetWnd();
    void SetTip(const std::wstring& text);
    std::wstring Tip() const;
    bool IsShell5() const { return HIWORD(ShellVersion) >= 5; }

    void SetBalloonText(const std::wstring& text);
    void SetBalloonTitle(const std::wstring& title);
    // NIM_MODIFY with the record's balloon, once: later calls send no balloon again. False when the icon
    // is not registered or the shell has no balloons (before version 5).
    bool ShowBalloon();

    // The shell version: DllGetVersion of shell32, or else its file version.
    static DWORD ReadShellVersion();
    // The message the shell broadcasts when the task bar is made again.
    static UINT TaskbarCreatedMessage();

private:
    // The hidden window; its messages reach the icon once it knows the window (GetWnd has returned).
    class TrayWindow final : public ui::Window {
    public:
        explicit TrayWindow(TTaskTrayIcon& icon) : icon_(icon) {}
        void Create();
        void Destroy() { DestroyHandle(); }

    private:
        LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
        TTaskTrayIcon& icon_;
    };

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void FillRecord();
    bool Notify(DWORD message);
    TrayWindow window_{*this};
    HWND wnd_ = nullptr;
    // An add timed out, and no modify has told whether it went through.
    bool maybeAdded_ = false;
};
