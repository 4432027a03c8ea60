// The button-edit modes as the mascot's menu enters and leaves them.

#include "mascot/eye1.h"

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
    const bool entering = EditMode() != ModeOf(item);
    // What the mode shows follows the model: menu, colour, the panel's caption, the details dialog.
    launcher_.ChangeMode(MenuItemChosen(EditMode(), item));
    if (entering && panel_) panel_->ShowPanel();
}
