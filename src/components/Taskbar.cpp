#include "components/Taskbar.h"

#include "ui/Application.h"
#include "ui/Form.h"
#include "ui/Language.h"
#include "ui/Menu.h"

// ---- the animation ----

TIconAnimation::TIconAnimation(TTrayIcon& icon, HWND target)
    : ticker_(
          target, kTrayAnimationMessage,
          [this, &icon] { return !paused_ && icon.interval_ > 0 && icon.visible_; },
          [&icon] { return DWORD{icon.interval_}; }, true) {}

void TIconAnimation::Resume() {
    paused_ = false;
    ticker_.Wake();
}

// ---- the component ----

TTrayIcon::TTrayIcon(ui::Form& owner) : owner_(owner) {
    tray_.OnMessage = [this](TrayWindowMessage& message) { HandleMessage(message); };
    tray_.SetTip(L"TipHelp");
    tray_.Style.SetCheckSingleDoubleClick(true);
    auto& app = ui::Application::Instance();
    savedOnMinimize_ = app.OnMinimize;
    savedOnRestore_ = app.OnRestore;
    app.OnMinimize = [this] { ApplicationMinimized(); };
    app.OnRestore = [this] { ApplicationRestored(); };
}

TTrayIcon::~TTrayIcon() {
    HideIcon();
    if (auto* app = ui::Application::TryInstance()) {
        app->OnMinimize = savedOnMinimize_;
        app->OnRestore = savedOnRestore_;
    }
    animation_.reset();
    SetPopupMenu(lButtonMenu_, nullptr);
    SetPopupMenu(rButtonMenu_, nullptr);
}

void TTrayIcon::Loaded() {
    loading_ = false;
    if (ShouldShow()) ShowIcon();
}

bool TTrayIcon::ShouldShow() const {
    const auto* app = ui::Application::TryInstance();
    return visible_ && (!minimized_ || (app && app->Minimized()));
}

HICON TTrayIcon::IconSource() {
    if (icon_) return icon_.get();
    if (!resourceIconList_.empty() && resourceIconID_ >= 0) {
        // An entry that names no icon gives no handle, and then nothing is added.
        resourceIcon_ = LoadIconW(GetModuleHandleW(nullptr), resourceIconList_[resourceIconID_].c_str());
        return resourceIcon_;
    }
    return LoadIconW(GetModuleHandleW(nullptr), L"MAINICON");
}

bool TTrayIcon::RegisterIcon() {
    tray_.NotifyData.hIcon = IconSource();
    const bool added = tray_.AddIcon();
    if (added) UpdateAnimation();
    return added;
}

void TTrayIcon::ShowIcon() {
    if (RegisterIcon()) visible_ = true;
}

void TTrayIcon::HideIcon() {
    PauseAnimation();
    tray_.DeleteIcon();
}

void TTrayIcon::UpdateIcon() {
    tray_.NotifyData.hIcon = IconSource();
    if (ShouldShow()) tray_.ModifyIcon();
}

void TTrayIcon::IconChanged() {
    if (!loading_) UpdateIcon();
}

void TTrayIcon::SetIcon(HICON icon) {
    icon_.reset(icon ? CopyIcon(icon) : nullptr);
    IconChanged();
}

void TTrayIcon::SetTipHelp(const std::wstring& text) {
    tray_.SetTip(ui::Localized(text));
    if (!loading_) UpdateIcon();
}

bool TTrayIcon::ShowBalloonHelp() {
    if (loading_ || !ShouldShow()) return false;
    return tray_.ShowBalloon();
}

void TTrayIcon::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    if (loading_) return;
    if (ShouldShow())
        ShowIcon();
    else
        HideIcon();
}

void TTrayIcon::SetMinimized(bool minimized) {
    if (minimized == minimized_) return;
    minimized_ = minimized;
    if (loading_) return;
    if (ShouldShow())
        UpdateIcon();
    else
        HideIcon();
}

int TTrayIcon::ResourceIconID() {
    if (resourceIconID_ >= static_cast<int>(resourceIconList_.size())) resourceIconID_ = 0;
    return resourceIconID_;
}

void TTrayIcon::SetResourceIconID(int index) {
    if (index == resourceIconID_ && index != 0) return;
    // The resource icon becomes the icon source.
    icon_.reset();
    if (!loading_) index = ClampResourceIconID(index, static_cast<int>(resourceIconList_.size()));
    resourceIconID_ = index;
    if (!loading_ && ShouldShow()) UpdateIcon();
}

void TTrayIcon::SetResourceIconList(const std::vector<std::wstring>& list) {
    if (resourceIconList_.empty()) {
        resourceIconList_ = list;
        if (!loading_ && ShouldShow()) UpdateIcon();
        return;
    }
    // A negative index: the icon does not come from the list, and the old list stays.
    if (resourceIconID_ < 0) return;
    const std::wstring before = resourceIconList_[static_cast<std::size_t>(ResourceIconID())];
    resourceIconList_ = list;
    SetResourceIconID(ResourceIconID()); // clamps to the new list
    const auto count = static_cast<int>(resourceIconList_.size());
    const std::wstring after = resourceIconID_ >= 0 && resourceIconID_ < count
                                   ? resourceIconList_[static_cast<std::size_t>(resourceIconID_)]
                                   : std::wstring();
    if (after != before && !loading_ && ShouldShow()) UpdateIcon();
}

void TTrayIcon::SetInterval(unsigned interval) {
    if (interval == interval_) return;
    interval_ = AnimationInterval(interval);
    UpdateAnimation();
}

void TTrayIcon::UpdateAnimation() {
    if (visible_ && interval_ > 0) {
        if (!animation_) animation_ = std::make_unique<TIconAnimation>(*this, tray_.GetWnd());
        animation_->Resume();
    } else {
        PauseAnimation();
    }
}

void TTrayIcon::PauseAnimation() {
    if (animation_ && !animation_->Suspended()) animation_->Suspend();
}

void TTrayIcon::AnimationStep() {
    // A step asked for before a pause arrives after it: the pause wins.
    if (!animation_ || animation_->Suspended() || !visible_ || interval_ == 0) return;
    if (OnIconAnimation) {
        OnIconAnimation();
        UpdateIcon();
        return;
    }
    SetResourceIconID(NextResourceIconID(resourceIconID_, static_cast<int>(resourceIconList_.size())));
}

void TTrayIcon::SetPopupMenu(ui::PopupMenu*& slot, ui::PopupMenu* menu) {
    if (slot == menu) return;
    ui::PopupMenu* old = slot;
    slot = menu;
    // The old menu is let go unless the other button still refers to it.
    if (old && old != lButtonMenu_ && old != rButtonMenu_) old->RemoveRemovalListener(this);
    if (menu)
        menu->AddRemovalListener(this, [this, menu] {
            if (lButtonMenu_ == menu) lButtonMenu_ = nullptr;
            if (rButtonMenu_ == menu) rButtonMenu_ = nullptr;
        });
}

void TTrayIcon::SetLButtonPopupMenu(ui::PopupMenu* menu) {
    SetPopupMenu(lButtonMenu_, menu);
}

void TTrayIcon::SetRButtonPopupMenu(ui::PopupMenu* menu) {
    SetPopupMenu(rButtonMenu_, menu);
}

void TTrayIcon::OpenMenu(ui::PopupMenu& menu, int x, int y) {
    auto& app = ui::Application::Instance();
    SetForegroundWindow(app.Handle());
    app.ProcessMessages();
    menu.Popup(app.Handle(), x, y);
}

void TTrayIcon::HandleMessage(TrayWindowMessage& message) {
    if (message.Msg == WM_QUERYENDSESSION) {
        message.Result = 1;
        return;
    }
    if (message.Msg == kTrayAnimationMessage) {
        AnimationStep();
        return;
    }
    if (message.Msg != kTrayMessage) return;
    POINT p{};
    GetCursorPos(&p);
    using ui::MouseButton;
    switch (message.LParam) {
    case kTrayMove:
        if (OnMouseMove) OnMouseMove(0, p.x, p.y);
        break;
    case kTrayLDown:
        if (lButtonMenu_ && AutoPopup)
            OpenMenu(*lButtonMenu_, p.x, p.y);
        else if (OnMouseDown)
            OnMouseDown(MouseButton::mbLeft, ui::ssLeft, p.x, p.y);
        break;
    case kTrayLUp:
        if (OnMouseUp) OnMouseUp(MouseButton::mbLeft, ui::ssLeft, p.x, p.y);
        break;
    case kTrayLDouble:
        if (OnDblClick) OnDblClick();
        break;
    case kTrayRDown:
        if (rButtonMenu_ && AutoPopup)
            OpenMenu(*rButtonMenu_, p.x, p.y);
        else if (OnMouseDown)
            OnMouseDown(MouseButton::mbRight, ui::ssRight, p.x, p.y);
        break;
    case kTrayRUp:
        if (OnMouseUp) OnMouseUp(MouseButton::mbRight, ui::ssRight, p.x, p.y);
        break;
    case kTrayRDouble:
        if (OnRDblClick) OnRDblClick();
        break;
    case kTrayMDown:
        if (OnMouseDown) OnMouseDown(MouseButton::mbMiddle, ui::ssMiddle, p.x, p.y);
        break;
    case kTrayMUp:
        if (OnMouseUp) OnMouseUp(MouseButton::mbMiddle, ui::ssMiddle, p.x, p.y);
        break;
    case kTrayMouseEntered:
        if (OnMouseEnter) OnMouseEnter();
        break;
    case kTrayMouseLeft:
        if (OnMouseExit) OnMouseExit();
        break;
    case kTrayClicked:
        if (OnMouseClick && message.WParam <= kTrayMiddle)
            OnMouseClick(static_cast<MouseButton>(message.WParam), 0, p.x, p.y);
        break;
    default: break;
    }
}

void TTrayIcon::ApplicationMinimized() {
    if (savedOnMinimize_) savedOnMinimize_();
    if (visible_ && minimized_) ShowIcon();
    // The application window is never shown here; hiding it keeps it so on every system.
    if (visible_ && HideOnTaskBar) ShowWindow(ui::Application::Instance().Handle(), SW_HIDE);
}

void TTrayIcon::ApplicationRestored() {
    if (savedOnRestore_) savedOnRestore_();
    if (minimized_) {
        HideIcon();
        SetForegroundWindow(owner_.Handle());
    }
}
