#include "dialogs/BtnSet.h"

#include "ui/Application.h"

#include <string>

TBtnSetF* BtnSetF = nullptr;

namespace {

ui::FormParams BtnSetParams() {
    ui::FormParams p;
    p.className = L"TBtnSetF";
    p.caption = L"ぱむぱむランチ";
    p.left = 427;
    p.top = 261;
    p.width = 296;
    p.height = 165;
    p.clientSize = true;
    p.borderStyle = ui::BorderStyle::Single;
    p.systemMenu = false;
    p.color = clBtnFace;
    return p;
}

} // namespace

TBtnSetF::TBtnSetF() : ui::Form(BtnSetParams()) {
    OnShow = [this] { FormShow(); };
    DoCreate();
}

TBtnSetF::~TBtnSetF() {
    DestroyHandle();
    if (BtnSetF == this) BtnSetF = nullptr;
}

void TBtnSetF::FormShow() {
    SetCaption(L"ボタン" + std::to_wstring(ButtonNo) + L"の詳細設定");
}

TBtnSetF* CreateBtnSetF() {
    BtnSetF = ui::Application::Instance().CreateOwnedForm<TBtnSetF>();
    return BtnSetF;
}
