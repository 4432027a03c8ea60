#pragma once
// The options dialog: the program-wide options (hiding the mascot or its tray icon, starting with
// Windows, the panel's rows, where hints appear, the mascot's colour, the two panel hot keys and the
// screen edges), shown modally from the mascot's menu. OK applies and saves them; Cancel changes nothing
// but a colour already chosen.

#include "components/CtrlsEx.h"
#include "components/Hkhotkey.h"
#include "components/MakeShortCut.h"
#include "components/Taskbar.h"
#include "model/Launcher.h"
#include "ui/CommonDialogs.h"
#include "ui/Form.h"
#include "ui/PageControl.h"
#include "ui/StdControls.h"

// What the dialog acts on besides the options, which change through the model (whose observers apply
// them): the panel's two hot keys rest while the dialog is open and come back when it ends, held ones told
// by the tray icon; the panel is shown anew by OK.
struct OptionTargets {
    TTrayIcon& tray;
    THookHotKey& hotKeys;
    ui::Form& panel;
};

class TOptSetF : public ui::Form {
public:
    TOptSetF(Launcher& launcher, const OptionTargets& targets);
    ~TOptSetF() override;

    ui::Button Button1;
    ui::Button Button2;
    ui::PageControl PageControl1;
    ui::TabSheet& TabSheet1;
    ui::TabSheet& TabSheet2;
    // General page.
    ui::Panel Panel3;
    ui::Label Label1;
    ui::CheckBox CheckBox1;
    ui::CheckBox CheckBox2;
    ui::CheckBox CheckBox3;
    ui::CheckBox CheckBox4;
    ui::SpinEdit SpinEdit1;
    ui::CheckBox CheckBox5;
    TButtonEx ButtonEx1;
    // Show and hide page.
    ui::GroupBox GroupBox1;
    ui::Label Label2;
    ui::Label Label3;
    ui::HotKeyEdit HotKey1;
    ui::HotKeyEdit HotKey2;
    // Beside each field: the note when another program held its key at the last registration.
    ui::Label HeldNote1;
    ui::Label HeldNote2;
    ui::GroupBox GroupBox2;
    ui::Label Label4;
    ui::ComboBox ComboBox1;
    ui::Label Label5;
    ui::ComboBox ComboBox2;
    ui::Label Label6;
    ui::ComboBox ComboBox3;
    ui::Label Label7;
    ui::ComboBox ComboBox4;
    ui::Panel Panel2;
    ui::PanelShape Shape1;

    ui::ColorDialog ColorDialog1;
    TMakeShortCut MakeShortCut1;

    void FormCreate();
    void Button1Click();
    void Button2Click();
    void CheckBox1Click();
    void CheckBox2Click();
    void CheckBox4Click();
    void HotKey1Exit();
    void HotKey2Exit();
    void ButtonEx1Click();

protected:
    void WindowCreated() override;
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void RegisterPanelHotKeys();

    Launcher& launcher_;
    OptionTargets targets_;
};

// The instance while the dialog is open; empty otherwise.
extern TOptSetF* OptSetF;
