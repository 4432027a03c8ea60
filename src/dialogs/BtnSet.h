#pragma once
// The button settings dialog: edits one launcher button record. Not modal; at most one exists, held by
// BtnSetF while it does.

#include "model/Launcher.h"
#include "ui/CommonDialogs.h"
#include "ui/Form.h"
#include "ui/StdControls.h"

#include <cstdint>

class TBtnSetF : public ui::Form {
public:
    // Edits the launcher's records; placed beside the panel and shows it after a change.
    TBtnSetF(Launcher& launcher, ui::Form& panel);
    ~TBtnSetF() override;

    // The number (1..30) of the button being edited; set before the dialog is shown.
    std::int32_t ButtonNo = 0;

    // In tab order; the labels and the preview take no focus.
    ui::Label Label1, Label3, Label4, Label2, Label5;
    ui::Edit Edit1;
    ui::Button Button1;
    ui::Edit Edit3;
    ui::Edit Edit5;
    ui::Edit Edit4;
    ui::ComboBox ComboBox1;
    ui::Button Button2;
    ui::SpinEdit SpinEdit1;
    ui::Button Button5;
    ui::Button Button3;
    ui::Button Button4;
    ui::Panel Panel1;
    ui::Edit Edit6;
    ui::Image Image1;
    ui::OpenDialog OpenDialog1;

    void FormCreate();
    void FormShow();
    // The controls from record ButtonNo: program, icon file, icon number, hint, options, folder.
    void FillFromRecord();
    void Edit1Change();
    void ComboBox1Change();
    void SpinEdit1Change();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();

protected:
    void WindowCreated() override;

private:
    void PlaceBesidePanel();
    void ShowIcon(int number);

    Launcher& launcher_;
    ui::Form& panel_;
};

extern TBtnSetF* BtnSetF;

// Creates the dialog, owned by the application, hidden, and stores it in BtnSetF.
TBtnSetF* CreateBtnSetF(Launcher& launcher, ui::Form& panel);
// Closes the dialog, if there is one, releases it and empties BtnSetF.
void ReleaseBtnSetF();
