// The edit-mode transitions: every way into and out of a mode, with the captions, enabled items,
// colours and panel captions each one leaves.

#include "model/EditModes.h"

#include <gtest/gtest.h>

namespace {

bool Enabled(const ModeChange& c, ModeItem item) {
    return c.enabled[static_cast<std::size_t>(item)].value_or(true);
}
bool Touched(const ModeChange& c, ModeItem item) {
    return c.enabled[static_cast<std::size_t>(item)].has_value();
}

} // namespace

TEST(EditModes, MenuEntersEachModeGreyingTheOtherItems) {
    struct Case {
        ModeItem item;
        EditState mode;
        const wchar_t* caption;
        TColor colour;
        const wchar_t* prompt;
    };
    const Case cases[] = {
        {ModeItem::BtnSet, EditState::SetDetails, L"詳細設定の中止", clBlue,
         L"詳細設定するボタンを選択してください"},
        {ModeItem::BtnChange, EditState::Swap, L"ﾎﾞﾀﾝの入れ替えの中止", clRed,
         L"入れ替え元のボタンを押してください"},
        {ModeItem::BtnDel, EditState::Remove, L"ﾎﾞﾀﾝの設定解除の中止", clGreen,
         L"設定を解除するボタンを選択してください"},
    };
    for (const Case& c : cases) {
        const ModeChange change = MenuItemChosen(EditState::None, c.item);
        EXPECT_EQ(change.editMode, c.mode);
        EXPECT_EQ(change.captionItem, c.item);
        EXPECT_EQ(change.caption, c.caption);
        EXPECT_EQ(change.colour, c.colour);
        EXPECT_EQ(change.panelCaption, c.prompt);
        EXPECT_FALSE(Touched(change, c.item)); // the chosen item stays enabled to cancel
        for (ModeItem other : {ModeItem::Option, ModeItem::BtnSet, ModeItem::BtnDel, ModeItem::BtnChange})
            if (other != c.item) {
                EXPECT_TRUE(Touched(change, other));
                EXPECT_FALSE(Enabled(change, other));
            }
    }
}

TEST(EditModes, ChoosingTheItemAgainEndsItsMode) {
    const ModeChange set = MenuItemChosen(EditState::SetDetails, ModeItem::BtnSet);
    EXPECT_EQ(set.editMode, EditState::None);
    EXPECT_EQ(set.caption, L"ﾎﾞﾀﾝの詳細設定");
    const ModeChange swap = MenuItemChosen(EditState::Swap, ModeItem::BtnChange);
    EXPECT_EQ(swap.caption, L"ﾎﾞﾀﾝの入れ替え");
    // A cancelled removal reads "解除", not the "削除" the item starts with.
    const ModeChange remove = MenuItemChosen(EditState::Remove, ModeItem::BtnDel);
    EXPECT_EQ(remove.caption, L"ﾎﾞﾀﾝの設定解除");
    EXPECT_EQ(set.ended, EditState::SetDetails);
    EXPECT_EQ(swap.ended, EditState::Swap);
    EXPECT_EQ(remove.ended, EditState::Remove);
    EXPECT_EQ(MenuItemChosen(EditState::None, ModeItem::BtnSet).ended, EditState::None); // entering ends none
    for (const ModeChange& c : {set, swap, remove}) {
        EXPECT_EQ(c.editMode, EditState::None);
        EXPECT_EQ(c.colour, kOptionColour);
        EXPECT_TRUE(c.panelCaption.empty()); // the dated caption
        for (ModeItem item : {ModeItem::Option, ModeItem::BtnSet, ModeItem::BtnDel, ModeItem::BtnChange})
            EXPECT_TRUE(Enabled(c, item));
    }
}

TEST(EditModes, AfterTheOptionsDialogTheSameItemEntersTheModeAgain) {
    // Set details entered by a click, then the options dialog ended every mode: the item enters again.
    const ModeChange again = MenuItemChosen(EditState::None, ModeItem::BtnSet);
    EXPECT_EQ(again.editMode, EditState::SetDetails);
    EXPECT_EQ(again.caption, L"詳細設定の中止");
    EXPECT_EQ(MenuItemChosen(again.editMode, ModeItem::BtnSet).editMode, EditState::None);
}

TEST(EditModes, ClickOnAnUnassignedButtonLeavesTheOptionsItemAlone) {
    const ModeChange c = UnassignedButtonClicked();
    EXPECT_EQ(c.editMode, EditState::SetDetails);
    EXPECT_EQ(c.captionItem, ModeItem::BtnSet);
    EXPECT_EQ(c.caption, L"詳細設定の中止");
    EXPECT_FALSE(Touched(c, ModeItem::Option));
    EXPECT_FALSE(Enabled(c, ModeItem::BtnDel));
    EXPECT_FALSE(Enabled(c, ModeItem::BtnChange));
    EXPECT_EQ(c.colour, clBlue);
    EXPECT_EQ(c.panelCaption, L"ボタンの詳細設定中");
}

TEST(EditModes, ModesEndedInThePanelOrTheDialogHaveTheirOwnCaptions) {
    struct Case {
        ModeChange change;
        ModeItem item;
        const wchar_t* caption;
    };
    const Case cases[] = {
        {SwapCompleted(), ModeItem::BtnChange, L"ﾎﾞﾀﾝの入れ替え"},
        {RemovalCompleted(), ModeItem::BtnDel, L"ﾎﾞﾀﾝの設定削除"},
        {SettingsDialogClosed(), ModeItem::BtnSet, L"ﾎﾞﾀﾝ詳細設定"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.change.editMode, EditState::None);
        EXPECT_EQ(c.change.captionItem, c.item);
        EXPECT_EQ(c.change.caption, c.caption);
        EXPECT_EQ(c.change.colour, kOptionColour);
        EXPECT_TRUE(c.change.panelCaption.empty());
        EXPECT_EQ(c.change.ended, ModeOf(c.item));
        for (ModeItem other : {ModeItem::Option, ModeItem::BtnSet, ModeItem::BtnDel, ModeItem::BtnChange})
            if (other != c.item) {
                EXPECT_TRUE(Enabled(c.change, other));
            }
    }
}

TEST(EditModes, ItemsStandForTheirModes) {
    EXPECT_EQ(ModeOf(ModeItem::Option), EditState::None);
    EXPECT_EQ(ModeOf(ModeItem::BtnSet), EditState::SetDetails);
    EXPECT_EQ(ModeOf(ModeItem::BtnChange), EditState::Swap);
    EXPECT_EQ(ModeOf(ModeItem::BtnDel), EditState::Remove);
}

TEST(EditModes, AClickInAModeSaysWhatItDoesAndOnlyASwapsFirstPressesItsButton) {
    struct Case {
        EditState mode;
        int source;
        const wchar_t* caption;
        int pressed;
    };
    const Case cases[] = {
        {EditState::SetDetails, 0, L"ボタンの詳細設定中", 0},
        {EditState::Swap, 0, L"入れ替え先のボタンを押してください", 7},
        {EditState::Swap, 3, L"入れ替え先のボタンを押してください", 0},
        {EditState::Remove, 0, L"ボタンの設定削除中", 0},
        {EditState::None, 0, L"", 0},
    };
    for (const Case& c : cases) {
        const ModeStep step = StepOf(c.mode, 7, c.source);
        EXPECT_EQ(step.panelCaption, c.caption) << static_cast<int>(c.mode);
        EXPECT_EQ(step.pressed, c.pressed) << static_cast<int>(c.mode);
    }
}
