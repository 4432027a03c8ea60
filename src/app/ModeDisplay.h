#pragma once
// What an edit mode shows, applied in one place as the model changes: the mascot's menu items and colour,
// the panel's caption and the swap's source button, the life of the settings dialog, and the panel's hot
// keys, which rest while the options dialog is open. The forms themselves never set any of it.

#include "model/Launcher.h"

class SettingsDialogSlot;
class TBtnF1;
class TpamuF;

class ModeDisplay : private LauncherObserver {
public:
    ModeDisplay(Launcher& launcher, SettingsDialogSlot& settings);
    ~ModeDisplay();
    ModeDisplay(const ModeDisplay&) = delete;
    ModeDisplay& operator=(const ModeDisplay&) = delete;

    // The forms as they come and go; null while there is none.
    void Show(TpamuF* mascot) { mascot_ = mascot; }
    void Show(TBtnF1* panel) { panel_ = panel; }

private:
    void EditModeChanged(const ModeChange& change) override;
    void ModeStepTaken(const ModeStep& step) override;
    void OptionsDialogShown(bool open) override;
    void OptionsChanged(const EyeOptions& before) override;
    void ShowFaceColour();

    Launcher& launcher_;
    SettingsDialogSlot& settings_;
    TpamuF* mascot_ = nullptr;
    TBtnF1* panel_ = nullptr;
};
