#include "mascot/HotKeys.h"

#include "components/HeldKeys.h"

PanelHotKeys::PanelHotKeys(Launcher& launcher, THookHotKey& hotKeys, TTrayIcon& tray)
    : launcher_(launcher), hotKeys_(hotKeys), tray_(tray) {
    launcher_.AddObserver(this);
}

PanelHotKeys::~PanelHotKeys() {
    launcher_.RemoveObserver(this);
}

void PanelHotKeys::Register(int index) {
    const EyeOptions& options = launcher_.Options();
    // An index holds one key: the one it held goes first.
    hotKeys_.UnregisterKey(index);
    hotKeys_.RegisterKey(index, TextToShortCut(index == 1 ? options.ApSc : options.DApSc));
}

void PanelHotKeys::Rest() {
    resting_ = true;
    hotKeys_.UnregisterKey(1);
    hotKeys_.UnregisterKey(2);
}

void PanelHotKeys::Wake() {
    resting_ = false;
    Register(1);
    Register(2);
    hotKeys_.Activate = true;
    TellHeldKeys(hotKeys_, tray_);
}

void PanelHotKeys::OptionsRead() {
    // At start: the tray icon tells held keys once it shows.
    if (resting_) return;
    Register(1);
    Register(2);
}

void PanelHotKeys::OptionsChanged(const EyeOptions& before) {
    if (resting_) return;
    const EyeOptions& now = launcher_.Options();
    if (now.ApSc != before.ApSc) Register(1);
    if (now.DApSc != before.DApSc) Register(2);
}
