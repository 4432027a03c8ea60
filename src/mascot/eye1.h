#pragma once
// The mascot "ぱむ太": the program's main window, a 31-pixel disc (at 96 DPI) that floats above all windows.
// Its face follows the pointer; it owns the hot keys, the tray icon and the menu, and has the model save
// everything when it closes. It knows the panel only as PanelForMascot.

#include "base/Handles.h"
#include "components/ExitWin32.h"
#include "components/Hkhotkey.h"
#include "components/SysCtrls.h"
#include "components/Taskbar.h"
#include "dialogs/OptSet.h"
#include "mascot/HotKeys.h"
#include "mascot/TrackingRules.h"
#include "model/Launcher.h"
#include "panel/Interfaces.h"
#include "ui/Form.h"
#include "ui/Menu.h"
#include "ui/Shape.h"
#include "ui/Timer.h"

#include <shellapi.h>

#include <string>

// Timers of the mascot window.
constexpr UINT_PTR kTimer1Id = 1; // eye tracking and edge triggers, every 100 ms
constexpr UINT_PTR kTimer2Id = 2; // brings the mascot back after a click on an eye

class TpamuF : public ui::Form, public MascotForPanel, private OptionsHost, private LauncherObserver {
public:
    explicit TpamuF(Launcher& launcher);
    ~TpamuF() override;

    // The options and the edit mode live in the model; these read them under their familiar names.
    const EyeOptions& Options() const { return launcher_.Options(); }
    EditState EditMode() const { return launcher_.EditMode(); }

    // In 96-DPI units, as every size the program chooses; Scale gives the pixels.
    int FaceSize = 31;
    int ButtonSize = 38;
    int IconSize = 32;

    // Drawing order, bottom first.
    ui::Shape Shape1; // left eye
    ui::Shape Shape2; // right eye
    ui::Shape Shape4; // right pupil
    ui::Shape Shape3; // left pupil
    ui::Shape Shape5; // drop face, outer
    ui::Shape Shape6; // drop face, inner

    ui::Timer Timer1; // the tick: pupils, edges and hover, every 100 ms
    ui::Timer Timer2; // brings the mascot back 2 s after a click on an eye

    // The mascot's popup menu, top to bottom; N1..N5 are its separators.
    ui::PopupMenu PopupMenu1;
    ui::MenuItem& PM_Option;    // "ｵﾌﾟｼｮﾝ設定"
    ui::MenuItem& N5;
    ui::MenuItem& PM_BtnSet;    // "ﾎﾞﾀﾝの詳細設定", the set-details mode
    ui::MenuItem& PM_BtnDel;    // "ﾎﾞﾀﾝの設定削除", the removal mode
    ui::MenuItem& PM_BtnChange; // "ﾎﾞﾀﾝの入れ替え", the swap mode
    ui::MenuItem& N1;
    ui::MenuItem& PM_Help;      // "ヘルプ"
    ui::MenuItem& N4;
    ui::MenuItem& PM_About;     // "ﾊﾞｰｼﾞｮﾝ情報"
    ui::MenuItem& N2;
    ui::MenuItem& PM_WinReset;  // "Windowsの再起動"
    ui::MenuItem& PM_WinEnd;    // "Windowsの終了"
    ui::MenuItem& N3;
    ui::MenuItem& PM_Close;     // "ぱむの終了"

    TExitWin ExitWin1;          // shutdown and restart
    THookHotKey HookHotKey1;    // the four hot keys
    TPseudoApp PseudoApp1;
    // "ミニぱむ太" in the notification area.
    TTrayIcon TrayIcon1;
    PanelHotKeys& PanelKeys() { return panelKeys_; }

    // What the panel takes from the mascot; null joins none (the panel is going).
    PanelLook LookForPanel() const { return {icon_.get(), ButtonSize, IconSize}; }
    // The panel the mascot's commands reach; null once it has gone.
    void AttachPanel(PanelForMascot* panel) { panel_ = panel; }
    // The tick reads the panel: it starts once there is one.
    void StartTick() { Timer1.SetEnabled(true); }
    HWND Window() const override { return Handle(); }
    // A drop begun or read: the surprised face shows while any is read.
    void DropsChanged() override;

    // The form's own icon: 32 x 32 and wholly transparent.
    HICON Icon() const { return icon_.get(); }

    void ReadIni();
    // What quitting saves: section "eye", the panel's bounds and all thirty buttons.
    void SaveAll(ProfileFile& file);
    // That, as the program ends (quit or end of the session), once the start has run to its end.
    void SaveOnEnd();
    WindowPlaces Places() const;
    // The options dialog, modal from the menu; created hidden, owned by the application.
    TOptSetF* CreateOptionsDialog();

    void FormCreate();
    // What waits until the face is on screen: the window's icon, the tray icon, the panel and the tick.
    void FinishStart();
    void SetUpTrayIcon();
    // The tray's picture at the size the notification area asks for.
    void LoadTrayPicture();
    void FormCloseQuery(bool& canClose);
    void ApplicationActivate();
    void Shape1MouseDown(ui::MouseButton button, ui::ShiftState shift, int x, int y);
    void Shape2MouseDown(ui::MouseButton button, ui::ShiftState shift, int x, int y);
    void Timer2Timer();
    // Every hint of the program, just before it shows: at the mascot when HintPos is "pamu".
    void PseudoApp1ShowHint(ui::HintShowInfo& info);

    // WM_DROPFILES: the first dropped file, shortcut or folder goes to the first free button.
    void FilesDropped(HDROP drop);

    // Every 100 ms: the edge and hover rules while no edit mode is on, then the pupils.
    void Timer1Timer();
    // Shows the panel in its normal form: icons only, width fitted to whole buttons.
    void BtnFormShow();
    void FormMouseMove(ui::ShiftState shift, int x, int y);
    void TrayIcon1MouseMove(ui::ShiftState shift, int x, int y);

    // The mode items of the menu: the first choice enters the mode, the second ends it.
    void PM_BtnSetClick();
    void PM_BtnChangeClick();
    void PM_BtnDelClick();
    void PM_OptionClick();
    void PM_HelpClick();
    void PM_AboutClick();
    void PM_WinResetClick();
    void PM_WinEndClick();
    void PM_CloseClick();
    // Hot key 1 shows the panel for the keyboard, 2 hides it, 3 cancels a mode and hides it, 4 opens the
    // menu at the panel.
    void HookHotKey1HotKey(int index);
    void TrayIcon1MouseClick(ui::MouseButton button, ui::ShiftState shift, int x, int y);

    // The panel follows the pointer only when nothing else would show it.
    bool HoverMode() const;
    ui::MenuItem& ModeMenuItem(ModeItem item);

protected:
    void WindowCreated() override;
    void DpiChanged(int oldDpi) override;
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // The mascot and its tray icon hidden or shown, as the options now say.
    void OptionsChanged(const EyeOptions& before) override;
    void ShowAsChosen(bool mascotHidden, bool trayIconHidden) override;
    void ShowPanelAnew() override;
    // The disc, its region and its six shapes at the form's DPI.
    void LayOutFace();
    // The red, surprised face shown while a drop is registered.
    void ShowDropFace(bool show);
    void ToggleEditMode(ModeItem item);
    void ApplyEdgeRules(POINT pointer);
    void ApplyHoverRule(POINT pointer);
    void MovePupils(POINT pointer);
    EdgeOptions Edges() const;
    // The monitors and the desktop around them, read again whenever the display changes: asking for them
    // costs the tick more than everything else it does.
    void ReadDesktop();
    MonitorLayout monitors_;
    ScreenRect desktop_;
    void HideForTwoSeconds(ui::MouseButton button);
    Launcher& launcher_;
    // Made by the start's last steps, once the face shows; null before and once it has gone.
    PanelForMascot* panel_ = nullptr;
    base::UniqueHicon icon_;
    PanelHotKeys panelKeys_;
};
