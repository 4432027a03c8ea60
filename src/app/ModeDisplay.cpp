#include "app/ModeDisplay.h"

#include "dialogs/BtnSet.h"
#include "mascot/eye1.h"
#include "panel/Btn.h"

ModeDisplay::ModeDisplay(Launcher& launcher, SettingsDialogSlot& settings)
    : launcher_(launcher), settings_(settings) {
    launcher_.AddObserver(this);
}

ModeDisplay::~ModeDisplay() {
    launcher_.RemoveObserver(this);
}

void ModeDisplay::EditModeChanged(const ModeChange& change) {
    // What belongs to a mode goes with it, however it ends (the menu, Alt+Esc, its last click).
    if (change.ended == EditState::SetDetails) settings_.Close();
    if (mascot_) {
        mascot_->ModeMenuItem(change.captionItem).SetCaption(change.caption);
        for (int i = 0; i < kModeItemCount; ++i)
            if (const auto& enabled = change.enabled[static_cast<std::size_t>(i)])
                mascot_->ModeMenuItem(static_cast<ModeItem>(i)).SetEnabled(*enabled);
    }
    ShowFaceColour();
    if (panel_) {
        panel_->PressButton(change.releasedSource, false);
        panel_->SetCaption(change.panelCaption.empty() ? DatedCaption() : change.panelCaption);
    }
}

void ModeDisplay::ModeStepTaken(const ModeStep& step) {
    if (!panel_) return;
    panel_->SetCaption(step.panelCaption);
    panel_->PressButton(step.pressed, true);
}

void ModeDisplay::OptionsDialogShown(bool open) {
    if (!mascot_) return;
    if (open)
        mascot_->PanelKeys().Rest();
    else
        mascot_->PanelKeys().Wake();
}

void ModeDisplay::OptionsChanged(const EyeOptions&) {
    ShowFaceColour();
}

void ModeDisplay::ShowFaceColour() {
    if (mascot_) mascot_->SetColor(launcher_.FaceColour());
}
