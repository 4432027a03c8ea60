// The mascot's menu commands besides the edit modes, the hot keys' actions and the tray icon's click.

#include "mascot/eye1.h"

#include "dialogs/OptSet.h"
#include "dialogs/VerDlg.h"
#include "mascot/HelpGuide.h"
#include "panel/Btn.h"
#include "ui/Application.h"

#include <vector>

void TpamuF::PM_OptionClick() {
    launcher_.BeginOptionsDialog();
    try {
        TOptSetF* dialog = CreateOptionsDialog();
        dialog->ShowModal();
        dialog->Release();
    } catch (...) {
        // A dialog that cannot open must not leave the panel's clicks and the edges switched off.
        launcher_.EndOptionsDialog();
        throw;
    }
    launcher_.EndOptionsDialog();
}

void TpamuF::PM_HelpClick() {
    HelpGuide::Open();
}

void TpamuF::PM_AboutClick() {
    auto& app = ui::Application::Instance();
    VerDlgF = app.CreateOwnedForm<TVerDlgF>();
    TVerDlgF* dialog = VerDlgF;
    dialog->ShowModal();
    dialog->Release();
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

void TpamuF::ShowPanelForKeys() {
    BtnF1->ToolBar1.SetShowCaptions(true);
    BtnF1->SetVertScrollIncrement(BtnF1->ToolBar1.ButtonHeight());
    BtnF1->ShowForKeys();
    // Ten 96-DPI pixels inside the panel's corner, at the panel's DPI.
    SetCursorPos(BtnF1->Left() + BtnF1->Scale(10), BtnF1->Top() + BtnF1->Scale(10));
}

void TpamuF::HidePanelByKey() {
    NormalPanelForm();
    BtnF1->HidePanel();
    SetCursorPos(BtnF1->Left() - BtnF1->Scale(10), BtnF1->Top() - BtnF1->Scale(10));
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
    BtnF1->NoteUsersWindow(HookHotKey1.ForegroundAtPress());
    switch (index) {
    case 1: ShowPanelForKeys(); break;
    case 2: HidePanelByKey(); break;
    case 3:
        // Each ends its own mode, so at most one of them acts.
        if (EditMode() == EditState::SetDetails) PM_BtnSetClick();
        if (EditMode() == EditState::Swap) PM_BtnChangeClick();
        if (EditMode() == EditState::Remove) PM_BtnDelClick();
        HidePanelByKey();
        break;
    case 4:
        ShowPanelForKeys();
        DropQueuedAltPress();
        // Owned by the panel, so that the panel stays active for the keys once the menu closes.
        PopupMenu1.Popup(BtnF1->Handle(), BtnF1->Left() + BtnF1->Width(), BtnF1->Top());
        break;
    default: break;
    }
}

void TpamuF::TrayIcon1MouseClick(ui::MouseButton, ui::ShiftState, int, int) {
    ui::Application::Instance().BringToFront();
    ResetPanelToolBar();
    // Whatever the hover mode and the edit mode.
    BtnF1->Show();
}
