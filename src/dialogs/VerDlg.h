#pragma once
// The version box: the product name and the version read from the program's own version resource.

#include "ui/Form.h"
#include "ui/StdControls.h"

#include <string>

class TVerDlgF : public ui::Form {
public:
    TVerDlgF();

    // The names are the designer's.
    ui::Button OKBtn;   // "OK", the default button
    ui::Bevel Bevel1;   // the frame around the picture and the texts
    ui::Image Image1;   // the program's icon
    ui::Label Label1;   // "ぱむぱむランチ"
    ui::Label Label2;   // "Ver " and the version

    void FormCreate();

    // The file whose version the box shows; empty: the running program. Tests point it elsewhere.
    static std::wstring VersionSource;

protected:
    void WindowCreated() override;
};

