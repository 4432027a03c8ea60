#pragma once
// The tray icon component: one icon in the notification area with its tip, its events (move, down, up,
// double click, pointer enter and exit, a single click reported only when no double click followed), the
// popup menus of the left and right buttons, showing only while the application is minimised, and an
// optional animation through icon resources of the program.

#include "base/Handles.h"
#include "components/TrShlApi.h"
#include "ui/Input.h"

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace ui {
class Form;
class PopupMenu;
} // namespace ui

class TTrayIcon;

// Asks the window's thread to take the next animation step every Interval milliseconds while the icon
// is visible and Interval is not 0; otherwise it waits.
class TIconAnimation {
public:
    // Steps are posted to target, the icon's hidden window.
    TIconAnimation(TTrayIcon& icon, HWND target);

    void Resume();
    void Suspend() { paused_ = true; }
    bool Suspended() const { return paused_ || ticker_.Waiting(); }

private:
    std::atomic<bool> paused_{true};
    TrayTicker ticker_;
};

// Posted to the hidden window by the animation; the step runs on the window's thread.
constexpr UINT kTrayAnimationMessage = WM_APP + 0x2CA;

class TTrayIcon {
public:
    // The owner is brought forward when the application is restored.
    explicit TTrayIcon(ui::Form& owner);
    ~TTrayIcon();
    TTrayIcon(const TTrayIcon&) = delete;
    TTrayIcon& operator=(const TTrayIcon&) = delete;

    // Until Loaded, property changes make no shell call (the form is still setting them).
    void BeginLoading() { loading_ = true; }
    // Shows the icon if it should show.
    void Loaded();

    bool AutoPopup = true;
    bool HideOnTaskBar = false;

    HICON Icon() const { return icon_.get(); }
    // Keeps a copy; null empties the icon.
    void SetIcon(HICON icon);
    std::wstring TipHelp() const { return tray_.Tip(); }
    void SetTipHelp(const std::wstring& text);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    bool Minimized() const { return minimized_; }
    void SetMinimized(bool minimized);

    int ResourceIconID();
    void SetResourceIconID(int index);
    const std::vector<std::wstring>& ResourceIconList() const { return resourceIconList_; }
    void SetResourceIconList(const std::vector<std::wstring>& list);
    unsigned Interval() const { return interval_; }
    void SetInterval(unsigned interval);

    bool DoForegroundWindow() const { return tray_.DoForegroundWindow; }
    void SetDoForegroundWindow(bool value) { tray_.DoForegroundWindow = value; }
    bool CheckSingleDoubleClick() const { return tray_.Style.CheckSingleDoubleClick(); }
    void SetCheckSingleDoubleClick(bool value) { tray_.Style.SetCheckSingleDoubleClick(value); }
    std::wstring BalloonHelpTitle() const { return tray_.NotifyData.szInfoTitle; }
    void SetBalloonHelpTitle(const std::wstring& title) { tray_.SetBalloonTitle(title); }
    std::wstring BalloonHelpText() const { return tray_.NotifyData.szInfo; }
    void SetBalloonHelpText(const std::wstring& text) { tray_.SetBalloonText(text); }
    int BalloonHelpTimeOut() const { return static_cast<int>(tray_.NotifyData.uTimeout); }
    void SetBalloonHelpTimeOut(int ms) { tray_.NotifyData.uTimeout = static_cast<UINT>(ms); }
    TBalloonIconType BalloonHelpIcon() const {
        return static_cast<TBalloonIconType>(tray_.NotifyData.dwInfoFlags);
    }
    void SetBalloonHelpIcon(TBalloonIconType type) {
        tray_.NotifyData.dwInfoFlags = static_cast<DWORD>(type);
    }
    // Shows the balloon of the properties above; false (nothing shown) while the icon is not shown.
    bool ShowBalloonHelp();
    TToolTipStyle& ToolTipStyle() { return tray_.Style; }
    void SetToolTipStyle(const TToolTipStyle& style) { tray_.Style.Assign(style); }

    ui::PopupMenu* LButtonPopupMenu() const { return lButtonMenu_; }
    void SetLButtonPopupMenu(ui::PopupMenu* menu);
    ui::PopupMenu* RButtonPopupMenu() const { return rButtonMenu_; }
    void SetRButtonPopupMenu(ui::PopupMenu* menu);

    std::function<void()> OnDblClick;
    std::function<void()> OnRDblClick;
    std::function<void(ui::ShiftState shift, int x, int y)> OnMouseMove;
    std::function<void(ui::MouseButton button, ui::ShiftState shift, int x, int y)> OnMouseDown;
    std::function<void(ui::MouseButton button, ui::ShiftState shift, int x, int y)> OnMouseUp;
    std::function<void()> OnIconAnimation;
    std::function<void()> OnMouseEnter;
    std::function<void()> OnMouseExit;
    std::function<void(ui::MouseButton button, ui::ShiftState shift, int x, int y)> OnMouseClick;

    // The lower layer: its record, its hidden window, its tracker.
    TTaskTrayIcon& TaskTrayIcon() { return tray_; }
    const TIconAnimation* Animation() const { return animation_.get(); }

private:
    friend class TIconAnimation;
    bool ShouldShow() const;
    HICON IconSource();
    bool RegisterIcon();
    void ShowIcon();
    void HideIcon();
    void UpdateIcon();
    void IconChanged();
    void UpdateAnimation();
    void PauseAnimation();
    void AnimationStep();
    void HandleMessage(TrayWindowMessage& message);
    void OpenMenu(ui::PopupMenu& menu, int x, int y);
    void SetPopupMenu(ui::PopupMenu*& slot, ui::PopupMenu* menu);
    void ApplicationMinimized();
    void ApplicationRestored();

    ui::Form& owner_;
    TTaskTrayIcon tray_;
    base::UniqueHicon icon_;
    HICON resourceIcon_ = nullptr; // shared, from LoadIcon: never destroyed
    std::vector<std::wstring> resourceIconList_;
    int resourceIconID_ = -1;
    std::atomic<bool> visible_{true};
    std::atomic<unsigned> interval_{0};
    bool minimized_ = false;
    bool loading_ = false;
    ui::PopupMenu* lButtonMenu_ = nullptr;
    ui::PopupMenu* rButtonMenu_ = nullptr;
    std::function<void()> savedOnMinimize_;
    std::function<void()> savedOnRestore_;
    std::unique_ptr<TIconAnimation> animation_;
};
