#include "app/Program.h"

#include "mascot/eye1.h"
#include "panel/Btn.h"
#include "ui/Application.h"

#include <utility>

Program::Program(std::wstring settingsPath) : launcher_(std::move(settingsPath)), display_(launcher_, settings_) {}

TpamuF* Program::Start(ui::Application& app) {
    mascot_ = app.CreateForm<TpamuF>(launcher_);
    mascot_->OnDestroy = [this] {
        display_.Show(static_cast<TpamuF*>(nullptr));
        settings_.placedBy = nullptr;
        mascot_ = nullptr;
    };
    display_.Show(mascot_);
    settings_.placedBy = mascot_->Handle();
    // After the mascot's own last steps: the window's icon and the tray icon come first.
    app.AfterMainFormShown([this, &app] { MakePanel(app); });
    return mascot_;
}

void Program::MakePanel(ui::Application& app) {
    if (!mascot_) return;
    panel_ = app.CreateOwnedForm<TBtnF1>(launcher_, *mascot_, mascot_->LookForPanel(), settings_);
    // The forms go newest first: a tray callback or a hot key that comes while the mascot's own parts go
    // must not reach the panel gone before them.
    panel_->OnDestroy = [this] {
        display_.Show(static_cast<TBtnF1*>(nullptr));
        if (mascot_) mascot_->AttachPanel(nullptr);
        panel_ = nullptr;
    };
    display_.Show(panel_);
    mascot_->AttachPanel(panel_);
    // Visible from its creation, without taking the activation from the mascot.
    panel_->ShowNoActivate();
    mascot_->StartTick();
}
