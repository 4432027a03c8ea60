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

// What OK asks of the windows besides the options, which change through the model (whose observers apply
// them, the panel's hot keys among them).
class OptionsHost {
public:
    // The mascot and its tray icon hidden or shown as the boxes say, every time, not only when they changed.
    virtual void ShowAsChosen(bool mascotHidden, bool trayIconHidden) = 0;
    // The panel hidden and shown again, so that a new row limit applies.
    virtual void ShowPanelAnew() = 0;

protected:
    ~OptionsHost() = default;
};

struct OptionTargets {
    const THookHotKey& hotKeys; // which of the panel's keys another program holds
    OptionsHost& host;
};

class TOptSetF : public ui::Form {
public:
    TOptSetF(Launcher& launcher, const OptionTargets& targets);
    ~TOptSetF() override;

    // The names are the designer's; each line says what the control is.
    ui::Button Button1;             // "OK"
    ui::Button Button2;             // "ｷｬﾝｾﾙ"
    ui::PageControl PageControl1;   // the two pages
    ui::TabSheet& TabSheet1;        // "全般の設定"
    ui::TabSheet& TabSheet2;        // "出る・消える"
    // General page.
    ui::Panel Panel3;               // the frame around the row limit
    ui::Label Label1;               // "行にする", after the row count
    ui::CheckBox CheckBox1;         // PamuHide: hide the mascot
    ui::CheckBox CheckBox2;         // TPamuHide: hide the tray icon
    ui::CheckBox CheckBox3;         // Startup: a shortcut in the Startup folder
    ui::CheckBox CheckBox4;         // a row limit (LineMax) rather than none
    ui::SpinEdit SpinEdit1;         // the row limit, 1..6
    ui::CheckBox CheckBox5;         // HintPos: hints beside the mascot
    TButtonEx ButtonEx1;            // the mascot's colour, its caption drawn in it
    // Show and hide page.
    ui::GroupBox GroupBox1;         // "ｼｮｰﾄｶｯﾄｷｰ"
    ui::Label Label2;               // "出る"
    ui::Label Label3;               // "消える"
    ui::HotKeyEdit HotKey1;         // ApSc: the key that shows the panel
    ui::HotKeyEdit HotKey2;         // DApSc: the key that hides it
    // Beside each field: the note when another program held its key at the last registration.
    ui::Label HeldNote1;
    ui::Label HeldNote2;
    ui::GroupBox GroupBox2;         // "ﾏｳｽでさわると": the four screen edges
    ui::Label Label4;               // "ﾃﾞｨｽﾌﾟﾚｲの上"
    ui::ComboBox ComboBox1;         // TWall: the top edge
    ui::Label Label5;               // "ﾃﾞｨｽﾌﾟﾚｲの下"
    ui::ComboBox ComboBox2;         // BWall: the bottom edge
    ui::Label Label6;               // "ﾃﾞｨｽﾌﾟﾚｲの左"
    ui::ComboBox ComboBox3;         // LWall: the left edge
    ui::Label Label7;               // "ﾃﾞｨｽﾌﾟﾚｲの右"
    ui::ComboBox ComboBox4;         // RWall: the right edge
    ui::Panel Panel2;               // the picture of a display between the edges' boxes
    ui::PanelShape Shape1;          // the display's screen on it

    ui::ColorDialog ColorDialog1;   // the colour chooser of ButtonEx1
    TMakeShortCut MakeShortCut1;    // the start-up shortcut OK makes or removes

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
    Launcher& launcher_;
    OptionTargets targets_;
};

// The instance while the dialog is open; empty otherwise.
extern TOptSetF* OptSetF;
