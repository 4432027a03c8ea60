// The mascot's tick: screen-edge and hover rules for the panel, and the pupils following the pointer.

#include "mascot/eye1.h"

#include "ui/Application.h"
#include "ui/Monitors.h"

void TpamuF::Timer1Timer() {
    POINT pointer{};
    // No pointer to read (the workstation locked, a secure desktop): no tick, rather than one at 0, 0,
    // where the left and top edge rules would fire every time.
    if (!GetCursorPos(&pointer)) return;
    if (EditMode() == EditState::None && panel_) {
        ApplyEdgeRules(pointer);
        ApplyHoverRule(pointer);
    }
    MovePupils(pointer);
}

void TpamuF::ApplyEdgeRules(POINT pointer) {
    // One reading for all four edges, even after a rule has moved the pointer.
    for (const EdgeStep& step : EdgeSteps({pointer.x, pointer.y}, monitors_, Edges(), Scale(10))) {
        switch (step.action) {
        case EdgeStep::Action::HidePanel: panel_->HidePanel(); break;
        case EdgeStep::Action::ShowPanel:
            BtnFormShow();
            SetCursorPos(step.cursor.x, step.cursor.y);
            break;
        case EdgeStep::Action::None: break;
        }
    }
}

void TpamuF::ApplyHoverRule(POINT pointer) {
    if (!HoverMode()) return;
    HWND foreground = GetForegroundWindow();
    if (foreground != panel_->Window() && foreground != Handle()) return;
    // The tick's show once the pointer comes over the panel. Every tick after keeps its normal form, but
    // is no new request to show it (a launch's answer hides a panel nobody asked for since).
    const PanelBounds at = panel_->Bounds();
    if (PointerOverPanel({pointer.x, pointer.y}, at.left, at.top, at.width, at.height)) {
        if (panel_->Shown())
            panel_->NormalForm();
        else
            BtnFormShow();
    }
    else
        panel_->HidePanel();
}

void TpamuF::MovePupils(POINT pointer) {
    const int halfHeight = ClientHeight() / 2;
    POINT eye{Shape2.Left(), halfHeight};
    ClientToScreen(Handle(), &eye);
    const EyeGeometry geometry{Shape1.Width(),  Shape1.Height(), Shape2.Left(),   Shape2.Width(),
                               Shape2.Height(), Shape3.Width(),  Shape3.Height(), Shape4.Width(),
                               Shape4.Height(), halfHeight};
    if (auto lefts = PupilColumns(pointer.x, eye.x, desktop_, geometry)) {
        Shape3.SetLeft(lefts->left);
        Shape4.SetLeft(lefts->right);
    }
    if (auto tops = PupilRows(pointer.y, eye.y, desktop_, geometry)) {
        Shape3.SetTop(tops->left);
        Shape4.SetTop(tops->right);
    }
}

void TpamuF::ReadDesktop() {
    monitors_ = ui::ReadMonitors();
    desktop_ = VirtualScreen(monitors_);
}

bool TpamuF::HoverMode() const {
    const EyeOptions& o = launcher_.Options();
    return ::HoverMode(Edges(), o.ApSc, o.DApSc, o.PamuHide.Text());
}

void TpamuF::BtnFormShow() {
    if (panel_) panel_->ShowNormally();
}

void TpamuF::FormMouseMove(ui::ShiftState, int, int) {
    if (!HoverMode()) BtnFormShow();
}

void TpamuF::TrayIcon1MouseMove(ui::ShiftState, int, int) {
    // A pointer passing over the icon is no input to this program: nothing here takes the activation.
    if (!panel_) return;
    panel_->ResetToolBar();
    if (!HoverMode()) BtnFormShow();
}
