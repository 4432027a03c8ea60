#pragma once
// The panel's two hot keys follow the options: registered as the options are read and as they change,
// and resting (not registered) while the options dialog is open, so that they can be typed into its
// fields instead of showing or hiding the panel.

#include "components/Hkhotkey.h"
#include "components/Taskbar.h"
#include "model/Launcher.h"

class PanelHotKeys : private LauncherObserver {
public:
    PanelHotKeys(Launcher& launcher, THookHotKey& hotKeys, TTrayIcon& tray);
    ~PanelHotKeys();
    PanelHotKeys(const PanelHotKeys&) = delete;
    PanelHotKeys& operator=(const PanelHotKeys&) = delete;

    void Rest();
    // Both registered again with the keys the options name; a key another program holds is told by the
    // tray icon's balloon, once a run.
    void Wake();

private:
    void OptionsRead() override;
    void OptionsChanged(const EyeOptions& before) override;
    void Register(int index);

    Launcher& launcher_;
    THookHotKey& hotKeys_;
    TTrayIcon& tray_;
    bool resting_ = false;
};
