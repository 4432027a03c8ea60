#pragma once
// The version box: the product name and the version read from the program's own version resource.

#include "ui/Form.h"
#include "ui/StdControls.h"

class TVerDlgF : public ui::Form {
public:
    TVerDlgF();
    ~TVerDlgF() override;

    ui::Button OKBtn;
    ui::Bevel Bevel1;
    ui::Image Image1;
    ui::Label Label1;
    ui::Label Label2;

    void FormCreate();
};

// The instance a menu command shows; empty while there is none.
extern TVerDlgF* VerDlgF;
