// The button-edit modes as the mascot's menu enters and leaves them.

#include "mascot/eye1.h"

#include "dialogs/BtnSet.h"
#include "panel/Btn.h"

void TpamuF::PM_BtnSetClick() {
    ToggleEditMode(ModeItem::BtnSet);
}

void TpamuF::PM_BtnChangeClick() {
    ToggleEditMode(ModeItem::BtnChange);
}

void TpamuF::PM_BtnDelClick() {
    ToggleEditMode(ModeItem::BtnDel);
}

void TpamuF::ToggleEditMode(ModeItem item) {
    const EditState mode = ModeOf(item);
    const bool entering = EditMode() != mode;
    launcher_.ChangeMode(MenuItemChosen(EditMode(), item));
    if (entering) {
        BtnF1->Show();
        if (mode == EditState::Swap) BtnF1->SwapPending = 0; // the next click picks the source
        return;
    }
    if (mode == EditState::SetDetails) ReleaseBtnSetF();
    if (mode == EditState::Swap && BtnF1->SwapPending == 1) {
        BtnF1->Buttons[BtnF1->SwapSource]->SetDown(false);
        BtnF1->SwapPending = 0;
    }
}
