#pragma once
// The program put together: the model, the settings dialog's slot and what an edit mode shows are kept
// here; the mascot and the panel are made here and joined, each knowing the other only through the
// interfaces of panel/Interfaces.h. The application owns the forms' windows and objects; this keeps
// pointers to them that it clears as they go.

#include "app/ModeDisplay.h"
#include "dialogs/BtnSet.h"
#include "model/Launcher.h"

#include <string>

namespace ui {
class Application;
}
class TBtnF1;
class TpamuF;

class Program {
public:
    explicit Program(std::wstring settingsPath);
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Declared before the application, so that the model outlives every form that reads it.
    Launcher& Model() { return launcher_; }

    // Makes the mascot, the application's main form, which reads the settings; the panel follows in the
    // steps that run once the mascot shows.
    TpamuF* Start(ui::Application& app);

    // The forms while they live; null before and after.
    TpamuF* const& Mascot() const { return mascot_; }
    TBtnF1* const& Panel() const { return panel_; }
    SettingsDialogSlot& Settings() { return settings_; }

private:
    void MakePanel(ui::Application& app);

    Launcher launcher_;
    SettingsDialogSlot settings_;
    ModeDisplay display_;
    TpamuF* mascot_ = nullptr;
    TBtnF1* panel_ = nullptr;
};
