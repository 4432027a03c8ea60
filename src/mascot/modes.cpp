// The button-edit modes as the mascot's menu enters and leaves them.

#include "mascot/eye1.h"

#include "dialogs/BtnSet.h"
#include "panel/Btn.h"

namespace {

struct EditModeLook {
    const wchar_t* cancelCaption; // the mode's menu item while the mode is on
    const wchar_t* endCaption;    // the same item once the menu has ended the mode
    const wchar_t* prompt;        // the panel's caption while the mode is on
    TColor color;                 // the mascot's colour while the mode is on
};

const EditModeLook& LookOf(int mode) {
    static const EditModeLook looks[] = {
        {L"詳細設定の中止", L"ﾎﾞﾀﾝの詳細設定", L"詳細設定するボタンを選択してください", clBlue},
        {L"ﾎﾞﾀﾝの入れ替えの中止", L"ﾎﾞﾀﾝの入れ替え", L"入れ替え元のボタンを押してください", clRed},
        {L"ﾎﾞﾀﾝの設定解除の中止", L"ﾎﾞﾀﾝの設定解除", L"設定を解除するボタンを選択してください", clGreen},
    };
    return looks[mode - 1];
}

} // namespace

void TpamuF::PM_BtnSetClick() {
    ToggleEditMode(1, PM_BtnSet);
}

void TpamuF::PM_BtnChangeClick() {
    ToggleEditMode(2, PM_BtnChange);
}

void TpamuF::PM_BtnDelClick() {
    ToggleEditMode(3, PM_BtnDel);
}

void TpamuF::ToggleEditMode(int mode, ui::MenuItem& item) {
    const EditModeLook& look = LookOf(mode);
    if (EditMode != mode) {
        item.SetCaption(look.cancelCaption);
        for (ui::MenuItem* other : {&PM_Option, &PM_BtnSet, &PM_BtnDel, &PM_BtnChange})
            if (other != &item) other->SetEnabled(false);
        EditMode = mode;
        SetColor(look.color);
        BtnF1->SetCaption(look.prompt);
        BtnF1->Show();
        if (mode == 2) BtnF1->SwapPending = 0;
        return;
    }
    EndEditMode(item, look.endCaption);
    if (mode == 1 && BtnSetF) {
        TBtnSetF* dialog = BtnSetF;
        BtnSetF = nullptr;
        dialog->Close();
        dialog->Release();
    }
    if (mode == 2 && BtnF1->SwapPending == 1) {
        BtnF1->Buttons[BtnF1->SwapSource]->SetDown(false);
        BtnF1->SwapPending = 0;
    }
    BtnF1->SetCaption(DatedCaption());
}
