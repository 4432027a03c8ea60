#pragma once
// The button settings dialog: edits one launcher button record. Not modal; at most one exists, held by
// BtnSetF while it does.

#include "ui/Form.h"

#include <cstdint>

class TBtnSetF : public ui::Form {
public:
    TBtnSetF();
    ~TBtnSetF() override;

    // The number (1..30) of the button being edited; set before the dialog is shown.
    std::int32_t ButtonNo = 0;

    void FormShow();
};

extern TBtnSetF* BtnSetF;

// Creates the dialog, owned by the application, hidden, and stores it in BtnSetF.
TBtnSetF* CreateBtnSetF();
