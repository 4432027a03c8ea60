#include "dialogs/OptSet.h"

#include "components/HeldKeys.h"
#include "ui/Application.h"

TOptSetF* OptSetF = nullptr;

namespace {

// Where the boxes of the pages stand; their controls are placed inside them.
constexpr ui::Bounds kPanel3{10, 10, 356, 246};
constexpr ui::Bounds kGroupBox1{8, 8, 361, 81};
constexpr ui::Bounds kGroupBox2{8, 96, 361, 161};
constexpr ui::Bounds kPanel2 = ui::Bounds{112, 40, 121, 89}.Within(kGroupBox2);

// The edge actions, in the order of their values 0, 1, 2.
void AddEdgeActions(ui::ComboBox& box) {
    for (const wchar_t* item : {L"消える", L"出る", L"なし"})
        box.AddItem(item);
}

// Behind the controls of its page, which draw themselves over it.
void SendToBack(const ui::Control& control) {
    SetWindowPos(control.Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void NoTabStop(const ui::Control& control) {
    SetWindowLongW(control.Handle(), GWL_STYLE, GetWindowLongW(control.Handle(), GWL_STYLE) & ~WS_TABSTOP);
}

} // namespace

TOptSetF::TOptSetF(Launcher& launcher, const OptionTargets& targets)
    : ui::Form({.className = L"TOptSetF",
                .caption = L"ぱむぱむランチ－オプション設定",
                .width = 401,
                .height = 348,
                .clientSize = true,
                .centred = true,
                .borderStyle = ui::BorderStyle::Dialog}),
      Button1(*this, {208, 312, 89, 25}, L"OK"), Button2(*this, {304, 312, 89, 25}, L"ｷｬﾝｾﾙ"),
      PageControl1(*this, {8, 8, 385, 297}), TabSheet1(PageControl1.AddPage(L"全般の設定")),
      TabSheet2(PageControl1.AddPage(L"出る・消える")), Panel3(TabSheet1, kPanel3, clBtnFace),
      Label1(TabSheet1, ui::Bounds{190, 107, 60, 13}.Within(kPanel3), L"行にする"),
      CheckBox1(TabSheet1, {32, 32, 121, 17}, L"ぱむ太を隠す"),
      CheckBox2(TabSheet1, {32, 70, 129, 16}, L"ミニぱむ太を隠す"),
      CheckBox3(TabSheet1, {32, 146, 281, 17}, L"Windows起動時にぱむぱむランチも起動する"),
      CheckBox4(TabSheet1, {32, 108, 127, 17}, L"ひょこ太の表示行数を"),
      SpinEdit1(TabSheet1, {161, 110, 33, 21}, clWindow, ui::SpinTyping::Allowed),
      CheckBox5(TabSheet1, {32, 184, 249, 17}, L"ヒントはぱむ太がしゃべる"),
      ButtonEx1(TabSheet1, {32, 216, 137, 25}, L"ぱむ太の色を変更", 0, false),
      GroupBox1(TabSheet2, kGroupBox1, L"ｼｮｰﾄｶｯﾄｷｰ"),
      Label2(TabSheet2, ui::Bounds{24, 24, 60, 13}.Within(kGroupBox1), L"出る"),
      Label3(TabSheet2, ui::Bounds{24, 48, 60, 13}.Within(kGroupBox1), L"消える"),
      HotKey1(TabSheet2, ui::Bounds{112, 24, 121, 18}.Within(kGroupBox1)),
      HotKey2(TabSheet2, ui::Bounds{112, 48, 121, 18}.Within(kGroupBox1)),
      HeldNote1(TabSheet2, ui::Bounds{238, 14, 118, 32}.Within(kGroupBox1), L""),
      HeldNote2(TabSheet2, ui::Bounds{238, 46, 118, 32}.Within(kGroupBox1), L""),
      GroupBox2(TabSheet2, kGroupBox2, L"ﾏｳｽでさわると"),
      Label4(TabSheet2, ui::Bounds{64, 16, 78, 13}.Within(kGroupBox2), L"ﾃﾞｨｽﾌﾟﾚｲの上"),
      ComboBox1(TabSheet2, ui::Bounds{144, 16, 73, 20}.Within(kGroupBox2), 12, true),
      Label5(TabSheet2, ui::Bounds{64, 136, 78, 13}.Within(kGroupBox2), L"ﾃﾞｨｽﾌﾟﾚｲの下"),
      ComboBox2(TabSheet2, ui::Bounds{144, 136, 73, 20}.Within(kGroupBox2), 12, true),
      Label6(TabSheet2, ui::Bounds{32, 64, 78, 13}.Within(kGroupBox2), L"ﾃﾞｨｽﾌﾟﾚｲの左"),
      ComboBox3(TabSheet2, ui::Bounds{32, 80, 73, 20}.Within(kGroupBox2), 12, true),
      Label7(TabSheet2, ui::Bounds{240, 64, 78, 13}.Within(kGroupBox2), L"ﾃﾞｨｽﾌﾟﾚｲの右"),
      ComboBox4(TabSheet2, ui::Bounds{240, 80, 73, 20}.Within(kGroupBox2), 12, true),
      Panel2(TabSheet2, kPanel2, clBtnFace),
      Shape1(Panel2, {8, 8, 105, 73}, ui::PanelShapeType::RoundRect, clBackground), launcher_(launcher),
      targets_(targets) {
    OptSetF = this;
}

void TOptSetF::WindowCreated() {
    DialogKeys = true;
    Panel3.BevelInner = ui::BevelKind::Raised;
    Panel3.BevelOuter = ui::BevelKind::Lowered;
    SendToBack(Panel3);
    Panel2.BevelInner = ui::BevelKind::None;
    Panel2.BevelOuter = ui::BevelKind::Raised;
    Panel2.BevelWidth = 3;
    Panel2.Caption = L"Panel2";
    SendToBack(GroupBox1);
    SendToBack(GroupBox2);
    SpinEdit1.SetRange(1, 6);
    SpinEdit1.SetValue(6);
    NoTabStop(SpinEdit1);
    ButtonEx1.SetSytle(TButtonExStyle::bsOwnerDrawWithFrame);
    for (ui::ComboBox* box : {&ComboBox1, &ComboBox2, &ComboBox3, &ComboBox4})
        AddEdgeActions(*box);
    PageControl1.SetActivePageIndex(1);

    MakeShortCut1.SCFileName = L"ぱむぱむランチ.lnk";
    MakeShortCut1.SCShowCmd = TShowMode::tsNormal;
    MakeShortCut1.SCSystemPath = TSysPath::tpStartup;

    Button1.OnClick = [this] { Button1Click(); };
    Button2.OnClick = [this] { Button2Click(); };
    CheckBox1.OnClick = [this] { CheckBox1Click(); };
    CheckBox2.OnClick = [this] { CheckBox2Click(); };
    CheckBox4.OnClick = [this] { CheckBox4Click(); };
    HotKey1.OnExit = [this] { HotKey1Exit(); };
    HotKey2.OnExit = [this] { HotKey2Exit(); };
    ButtonEx1.OnClick = [this] { ButtonEx1Click(); };
    OnCreate = [this] { FormCreate(); };
}

TOptSetF::~TOptSetF() {
    if (OptSetF == this) OptSetF = nullptr;
}

void TOptSetF::FormCreate() {
    const EyeOptions& options = launcher_.Options();
    PageControl1.SetTabWidth(TabSheet1.Width() / 2);
    // The last registration, before the keys rested, tells whether another program holds them.
    HeldNote1.SetCaption(HeldKeyNoteOf(targets_.hotKeys, 1));
    HeldNote2.SetCaption(HeldKeyNoteOf(targets_.hotKeys, 2));
    HotKey1.SetValue(TextToShortCut(options.ApSc));
    HotKey2.SetValue(TextToShortCut(options.DApSc));
    ComboBox1.SetItemIndex(static_cast<int>(options.TWall));
    ComboBox2.SetItemIndex(static_cast<int>(options.BWall));
    ComboBox3.SetItemIndex(static_cast<int>(options.LWall));
    ComboBox4.SetItemIndex(static_cast<int>(options.RWall));
    ButtonEx1.SetFontColor(options.Color);
    // Each of these runs its click rule when it changes the box.
    CheckBox1.SetChecked(options.PamuHide.On());
    CheckBox2.SetChecked(options.TPamuHide.On());
    CheckBox3.SetChecked(options.Startup.On());
    if (options.LineMax >= 1 && options.LineMax <= 5) {
        CheckBox4.SetChecked(true);
        SpinEdit1.SetEnabledWithArrows(true);
        SpinEdit1.SetValue(options.LineMax);
    } else {
        CheckBox4.SetChecked(false);
        SpinEdit1.SetEnabledWithArrows(false);
    }
    CheckBox5.SetChecked(options.HintPos.On());
}

void TOptSetF::CheckBox1Click() {
    // Hiding the mascot: then the tray icon must stay, and hints cannot come from the mascot.
    if (!CheckBox1.Checked()) return;
    CheckBox2.SetChecked(false);
    CheckBox5.SetChecked(false);
}

void TOptSetF::CheckBox2Click() {
    if (CheckBox2.Checked()) CheckBox1.SetChecked(false);
}

void TOptSetF::CheckBox4Click() {
    SpinEdit1.SetEnabledWithArrows(CheckBox4.Checked());
}

void TOptSetF::HotKey1Exit() {
    if (HotKey1.Value() == HotKey2.Value()) HotKey1.SetValue(0);
}

void TOptSetF::HotKey2Exit() {
    if (HotKey1.Value() == HotKey2.Value()) HotKey2.SetValue(0);
}

void TOptSetF::ButtonEx1Click() {
    // The mascot shows it at once, and Cancel does not undo it; either way the mascot takes the colour
    // the option names, also over an edit mode's colour.
    launcher_.ChooseColour(ColorDialog1.Execute(Handle()) ? ColorDialog1.Color : launcher_.Options().Color);
    ButtonEx1.SetFontColor(launcher_.Options().Color);
}

void TOptSetF::Button1Click() {
    EyeOptions options = launcher_.Options();
    // A step that fails stops here: what went before stays, and the dialog stays open. First the mascot
    // and its tray icon hide or show (the model's observers apply it), then the shortcut, which may fail.
    options.PamuHide = YesNo::Of(CheckBox1.Checked());
    options.TPamuHide = YesNo::Of(CheckBox2.Checked());
    launcher_.ChangeOptions(options);
    // By the boxes every time, not only when they changed: at start the icon shows whatever the file says.
    targets_.host.ShowAsChosen(CheckBox1.Checked(), CheckBox2.Checked());
    // The running program itself, wherever it was started from.
    MakeShortCut1.SCExecFile = ui::Application::ExeName();
    if (CheckBox3.Checked())
        MakeShortCut1.CreateShortCut();
    else
        MakeShortCut1.DeleteShortCut();
    options.Startup = YesNo::Of(CheckBox3.Checked());
    options.LineMax = CheckBox4.Checked() ? SpinEdit1.Value() : 99;
    options.HintPos = HintPlace::Of(CheckBox5.Checked());
    options.ApSc = ShortCutToText(HotKey1.Value());
    options.DApSc = ShortCutToText(HotKey2.Value());
    options.TWall = static_cast<EdgeAction>(ComboBox1.ItemIndex());
    options.BWall = static_cast<EdgeAction>(ComboBox2.ItemIndex());
    options.LWall = static_cast<EdgeAction>(ComboBox3.ItemIndex());
    options.RWall = static_cast<EdgeAction>(ComboBox4.ItemIndex());
    launcher_.ChangeOptions(options);
    // The colour written is the one the option names, not the mascot's face of the moment (blue in an
    // edit mode).
    launcher_.SaveOptions();
    // The panel's keys come back before the dialog goes: a key typed as it closes finds them.
    launcher_.EndOptionsDialog();
    // Shown anew, so that the new row limit applies.
    targets_.host.ShowPanelAnew();
    ModalResult = IDOK;
}

void TOptSetF::Button2Click() {
    launcher_.EndOptionsDialog();
    ModalResult = IDCANCEL;
}

LRESULT TOptSetF::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    // The close box and Alt+F4 cancel.
    if (message == WM_CLOSE) {
        Button2Click();
        return 0;
    }
    return ui::Form::Dispatch(message, wParam, lParam);
}
