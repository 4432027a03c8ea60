#pragma once
// The button-edit modes as a state machine: the states, and what each way into or out of a mode changes
// in the mascot's menu, its colour and the panel's caption. Free of Windows so that the whole table is
// tested directly.

#include "base/Color.h"

#include <array>
#include <optional>
#include <string>

// The values are the numbers the modes have always had (0 none ... 4 the options dialog).
enum class EditState { None = 0, SetDetails = 1, Swap = 2, Remove = 3, Options = 4 };

// The four menu items the modes touch.
enum class ModeItem { Option, BtnSet, BtnDel, BtnChange };
constexpr int kModeItemCount = 4;

// The colour the Color option names; the caller resolves it.
constexpr TColor kOptionColour = SystemColor(0xFF);

struct ModeChange {
    EditState editMode = EditState::None;
    // The mode this change ends (what belongs to it goes: the details dialog, the swap's source); None
    // for a change that ends none.
    EditState ended = EditState::None;
    // The item whose caption changes, and to what.
    ModeItem captionItem = ModeItem::BtnSet;
    std::wstring caption;
    // Each item's enabled state afterwards; empty leaves it as it is. Indexed by ModeItem.
    std::array<std::optional<bool>, kModeItemCount> enabled{};
    // The mascot's colour afterwards: a colour, or kOptionColour.
    TColor colour = kOptionColour;
    // The panel's caption afterwards; empty: the dated caption.
    std::wstring panelCaption;
    // The swap's source the change lets go of (its button goes up); the model fills it in.
    int releasedSource = 0;
};

// The state a mode item stands for; None for the options item.
EditState ModeOf(ModeItem item);

// A mode item chosen in the menu: enters its mode, or ends it when it is the current one.
ModeChange MenuItemChosen(EditState current, ModeItem item);
// A click on an unassigned button outside any mode: set details for it.
ModeChange UnassignedButtonClicked();
// The second click of a swap.
ModeChange SwapCompleted();
// The click that removed a button's setting.
ModeChange RemovalCompleted();
// OK or Cancel in the button settings dialog.
ModeChange SettingsDialogClosed();

// A button clicked in an edit mode: the panel's caption while the click is dealt with, and the button
// drawn down as the swap's source (0 for none).
struct ModeStep {
    std::wstring panelCaption;
    int pressed = 0;
};
// source: the swap's source before the click, 0 while none is picked.
ModeStep StepOf(EditState mode, int number, int source);
