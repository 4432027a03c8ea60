#include "model/EditModes.h"

namespace {

struct ModeLook {
    const wchar_t* cancelCaption; // the mode's item while the mode is on
    const wchar_t* endCaption;    // the same item once the menu has ended the mode
    const wchar_t* prompt;        // the panel's caption while the mode is on
    TColor colour;
};

const ModeLook& LookOf(EditState mode) {
    static const ModeLook looks[] = {
        {L"詳細設定の中止", L"ﾎﾞﾀﾝの詳細設定", L"詳細設定するボタンを選択してください", clBlue},
        {L"ﾎﾞﾀﾝの入れ替えの中止", L"ﾎﾞﾀﾝの入れ替え", L"入れ替え元のボタンを押してください", clRed},
        // Cancelled from the menu the item reads "解除", unlike the "削除" it starts with.
        {L"ﾎﾞﾀﾝの設定解除の中止", L"ﾎﾞﾀﾝの設定解除", L"設定を解除するボタンを選択してください", clGreen},
    };
    return looks[static_cast<int>(mode) - 1];
}

std::size_t Index(ModeItem item) {
    return static_cast<std::size_t>(item);
}

// Back to no mode: the item's caption, every other mode item and the options item enabled, the
// mascot's own colour, the dated caption.
ModeChange Ended(ModeItem item, const wchar_t* caption) {
    ModeChange change;
    change.editMode = EditState::None;
    change.ended = ModeOf(item);
    change.captionItem = item;
    change.caption = caption;
    for (int i = 0; i < kModeItemCount; ++i)
        if (static_cast<ModeItem>(i) != item) change.enabled[static_cast<std::size_t>(i)] = true;
    change.colour = kOptionColour;
    return change;
}

} // namespace

EditState ModeOf(ModeItem item) {
    // The transition table's rows: which state each menu item enters and leaves.
    switch (item) {
    case ModeItem::BtnSet: return EditState::SetDetails;
    case ModeItem::BtnChange: return EditState::Swap;
    case ModeItem::BtnDel: return EditState::Remove;
    default: return EditState::None;
    }
}

ModeChange MenuItemChosen(EditState current, ModeItem item) {
    const EditState mode = ModeOf(item);
    const ModeLook& look = LookOf(mode);
    if (current == mode) return Ended(item, look.endCaption);
    ModeChange change;
    change.editMode = mode;
    change.captionItem = item;
    change.caption = look.cancelCaption;
    for (int i = 0; i < kModeItemCount; ++i)
        if (static_cast<ModeItem>(i) != item) change.enabled[static_cast<std::size_t>(i)] = false;
    change.colour = look.colour;
    change.panelCaption = look.prompt;
    return change;
}

ModeChange UnassignedButtonClicked() {
    ModeChange change;
    change.editMode = EditState::SetDetails;
    change.captionItem = ModeItem::BtnSet;
    change.caption = L"詳細設定の中止";
    // The options item is left as it is: only the menu's own entry greys it.
    change.enabled[Index(ModeItem::BtnChange)] = false;
    change.enabled[Index(ModeItem::BtnDel)] = false;
    change.colour = clBlue;
    change.panelCaption = L"ボタンの詳細設定中";
    return change;
}

ModeChange SwapCompleted() {
    return Ended(ModeItem::BtnChange, L"ﾎﾞﾀﾝの入れ替え");
}

ModeChange RemovalCompleted() {
    return Ended(ModeItem::BtnDel, L"ﾎﾞﾀﾝの設定削除");
}

ModeChange SettingsDialogClosed() {
    // Reads without the "の" of the menu's own caption; kept as users have always seen it.
    return Ended(ModeItem::BtnSet, L"ﾎﾞﾀﾝ詳細設定");
}

ModeStep StepOf(EditState mode, int number, int source) {
    switch (mode) {
    case EditState::SetDetails: return {L"ボタンの詳細設定中", 0};
    case EditState::Swap: return {L"入れ替え先のボタンを押してください", source == 0 ? number : 0};
    case EditState::Remove: return {L"ボタンの設定削除中", 0};
    default: return {};
    }
}
