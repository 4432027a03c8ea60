#include "dialogs/OptSet.h"

TOptSetF* OptSetF = nullptr;

namespace {
ui::FormParams OptSetParams() {
    ui::FormParams p;
    p.className = L"TOptSetF";
    p.caption = L"ぱむぱむランチ－オプション設定";
    p.width = 401;
    p.height = 348;
    p.clientSize = true;
    p.borderStyle = ui::BorderStyle::Dialog;
    p.centred = true;
    return p;
}
} // namespace

TOptSetF::TOptSetF() : ui::Form(OptSetParams()) {
    OptSetF = this;
    DialogKeys = true;
    DoCreate();
}

TOptSetF::~TOptSetF() {
    DestroyHandle();
    if (OptSetF == this) OptSetF = nullptr;
}
