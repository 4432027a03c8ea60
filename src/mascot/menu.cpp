// The mascot's menu commands besides the edit modes, the hot keys' actions and the tray icon's click.

#include "mascot/eye1.h"

#include "base/ScopeExit.h"
#include "dialogs/OptSet.h"
#include "dialogs/VerDlg.h"
#include "mascot/HelpGuide.h"
#include "ui/Application.h"

#include <vector>

void TpamuF::PM_OptionClick() {
    launcher_.BeginOptionsDialog();
    // Even when the dialog cannot open: the panel's clicks, the edges and its hot keys must not stay
    // switched off. A failure to wake the keys is told, never thrown out of the unwinding.
    const base::ScopeExit end([this] {
        try {
            launcher_.EndOptionsDialog();
        } catch (...) {
            ui::Application::HandleCurrentException();
        }
    });
    TOptSetF* dialog = CreateOptionsDialog();
    ui::ShowModalThenRelease(*dialog);
}

void TpamuF::PM_HelpClick() {
    HelpGuide::Open(Handle());
}

void TpamuF::PM_AboutClick() {
    ui::ShowModalThenRelease(*ui::Application::Instance().CreateOwnedForm<TVerDlgF>());
}

void TpamuF::PM_WinResetClick() {
    ExitWin1.RestartWindows();
}

void TpamuF::PM_WinEndClick() {
    ExitWin1.ShutDownWindows();
}

void TpamuF::PM_CloseClick() {
    Close();
}

namespace {

bool IsAltPress(const MSG& key) {
    return (key.message == WM_SYSKEYDOWN || key.message == WM_KEYDOWN) &&
           (key.wParam == VK_MENU || key.wParam == VK_LMENU || key.wParam == VK_RMENU);
}

// The hot key overtakes its own Alt press, still queued as input when this program is in front; the
// menu would take that press for the user closing it. Other keys typed at that moment stay, in their
// order, ahead of any that come later.
void DropQueuedAltPress() {
    std::vector<MSG> keys;
    for (MSG key; PeekMessageW(&key, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE);)
        if (!IsAltPress(key)) keys.push_back(key);
    for (const MSG& key : keys)
        PostMessageW(key.hwnd, key.message, key.wParam, key.lParam);
}

} // namespace

void TpamuF::HookHotKey1HotKey(int index) {
    if (!panel_) return;
    panel_->NoteUsersWindow(HookHotKey1.ForegroundAtPress());
    switch (index) {
    case 1: panel_->ShowForKeys(); break;
    case 2: panel_->HideByKey(); break;
    case 3:
        // Each ends its own mode, so at most one of them acts.
        if (EditMode() == EditState::SetDetails) PM_BtnSetClick();
        if (EditMode() == EditState::Swap) PM_BtnChangeClick();
        if (EditMode() == EditState::Remove) PM_BtnDelClick();
        panel_->HideByKey();
        break;
    case 4: {
        panel_->ShowForKeys();
        DropQueuedAltPress();
        // Owned by the panel, so that the panel stays active for the keys once the menu closes.
        const PanelBounds at = panel_->Bounds();
        PopupMenu1.Popup(panel_->Window(), at.left + at.width, at.top);
        break;
    }
    default: break;
    }
}

void TpamuF::TrayIcon1MouseClick(ui::MouseButton, ui::ShiftState, int, int) {
    if (!panel_) return;
    ui::Application::Instance().BringToFront();
    panel_->ResetToolBar();
    // Whatever the hover mode and the edit mode.
    panel_->ShowPanel();
}
