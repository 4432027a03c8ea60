#include "mascot/eye1.h"

#include "base/WinUtil.h"
#include "components/HeldKeys.h"
#include "dialogs/OptSet.h"
#include "resources/resource.h"
#include "ui/Application.h"
#include "ui/Dpi.h"
#include "ui/Monitors.h"

#include <shellapi.h>

namespace {

// WM_SYSCOMMAND with SC_MOVE | HTCAPTION: the system moves the window with the pointer.
constexpr WPARAM kMoveByCaption = 0xF012;

} // namespace

TpamuF::TpamuF(Launcher& launcher)
    : ui::Form({.className = L"TpamuF",
                .caption = L"ぱむぱむランチ",
                .left = 815,
                .top = 8,
                .width = 115,
                .height = 147,
                .borderStyle = ui::BorderStyle::None,
                .systemMenu = true,
                .stayOnTop = true,
                .color = clYellow}),
      Shape1(*this, ui::ShapeType::Ellipse, clWhite, clWhite),
      Shape2(*this, ui::ShapeType::Ellipse, clWhite, clWhite),
      Shape4(*this, ui::ShapeType::Ellipse, clBlack, clBlack),
      Shape3(*this, ui::ShapeType::Ellipse, clBlack, clBlack),
      Shape5(*this, ui::ShapeType::Ellipse, clRed, clRed),
      Shape6(*this, ui::ShapeType::Ellipse, clWhite, clRed), Timer1(*this, kTimer1Id, 100),
      Timer2(*this, kTimer2Id, 2000), PM_Option(PopupMenu1.Add(L"PM_Option", L"ｵﾌﾟｼｮﾝ設定")),
      N5(PopupMenu1.AddSeparator(L"N5")), PM_BtnSet(PopupMenu1.Add(L"PM_BtnSet", L"ﾎﾞﾀﾝの詳細設定")),
      PM_BtnDel(PopupMenu1.Add(L"PM_BtnDel", L"ﾎﾞﾀﾝの設定削除")),
      PM_BtnChange(PopupMenu1.Add(L"PM_BtnChange", L"ﾎﾞﾀﾝの入れ替え")), N1(PopupMenu1.AddSeparator(L"N1")),
      PM_Help(PopupMenu1.Add(L"PM_Help", L"ヘルプ")), N4(PopupMenu1.AddSeparator(L"N4")),
      PM_About(PopupMenu1.Add(L"PM_About", L"ﾊﾞｰｼﾞｮﾝ情報")), N2(PopupMenu1.AddSeparator(L"N2")),
      PM_WinReset(PopupMenu1.Add(L"PM_WinReset", L"Windowsの再起動")),
      PM_WinEnd(PopupMenu1.Add(L"PM_WinEnd", L"Windowsの終了")), N3(PopupMenu1.AddSeparator(L"N3")),
      PM_Close(PopupMenu1.Add(L"PM_Close", L"ぱむの終了")), HookHotKey1(*this), TrayIcon1(*this),
      launcher_(launcher), panelKeys_(launcher, HookHotKey1, TrayIcon1) {
    launcher_.AddObserver(this);
}

void TpamuF::WindowCreated() {
    Cursor = LoadCursorW(nullptr, IDC_HAND);
    Hint = L"移動できます";
    ShowHint = true;

    // The bounds the designer left; creation sets the real ones.
    Shape1.SetBounds(0, 0, 13, 27);
    Shape2.SetBounds(16, 0, 13, 27);
    Shape3.SetBounds(8, 8, 4, 7);
    Shape4.SetBounds(17, 8, 4, 7);
    Shape5.SetBounds(42, 5, 25, 25);
    Shape6.SetBounds(42, 9, 25, 18);
    const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
    for (ui::Shape* eye : {&Shape1, &Shape2}) {
        eye->SetHint(L"ぼく、ぱむ太");
        eye->SetShowHint(true);
        eye->Cursor = arrow;
    }
    Shape4.SetHint(L"Ｄ＆Ｄでプログラムを登録できます");
    Shape4.SetShowHint(true);
    Shape3.SetHint(L"右クリックでメニュー表示");
    Shape5.Hide();
    Shape6.Hide();

    Shape1.OnMouseDown = [this](ui::MouseButton b, ui::ShiftState s, int x, int y) {
        Shape1MouseDown(b, s, x, y);
    };
    Shape2.OnMouseDown = [this](ui::MouseButton b, ui::ShiftState s, int x, int y) {
        Shape2MouseDown(b, s, x, y);
    };
    Timer1.OnTimer = [this] { Timer1Timer(); };
    Timer2.OnTimer = [this] { Timer2Timer(); };
    // Over the face, the eyes and the pupils; the drop face has no handler.
    OnMouseMove = [this](ui::ShiftState s, int x, int y) { FormMouseMove(s, x, y); };
    for (ui::Shape* shape : {&Shape1, &Shape2, &Shape3, &Shape4})
        shape->OnMouseMove = [this](ui::ShiftState s, int x, int y) { FormMouseMove(s, x, y); };
    PM_Option.OnClick = [this] { PM_OptionClick(); };
    PM_Help.OnClick = [this] { PM_HelpClick(); };
    PM_About.OnClick = [this] { PM_AboutClick(); };
    PM_WinReset.OnClick = [this] { PM_WinResetClick(); };
    PM_WinEnd.OnClick = [this] { PM_WinEndClick(); };
    PM_Close.OnClick = [this] { PM_CloseClick(); };
    PM_BtnSet.OnClick = [this] { PM_BtnSetClick(); };
    PM_BtnDel.OnClick = [this] { PM_BtnDelClick(); };
    PM_BtnChange.OnClick = [this] { PM_BtnChangeClick(); };
    PopupMenu = &PopupMenu1;
    OnCloseQuery = [this](bool& canClose) { FormCloseQuery(canClose); };
    OnCreate = [this] { FormCreate(); };

    HookHotKey1.OnHotKey = [this](int index) { HookHotKey1HotKey(index); };
    PseudoApp1.HintColor = clInfoBk;
    PseudoApp1.HintPause = 500;
    PseudoApp1.HintShortPause = 50;
    PseudoApp1.HintHidePause = 2500;
    PseudoApp1.ShowHint = true;
    PseudoApp1.ShowMainForm = true;
    PseudoApp1.OnShowHint = [this](ui::HintShowInfo& info) { PseudoApp1ShowHint(info); };
    PseudoApp1.Loaded();
}

TpamuF::~TpamuF() {
    launcher_.RemoveObserver(this);
}

void TpamuF::FormCreate() {
    base::AcceptDroppedFiles(Handle());
    // The monitors first: the stored place is checked against them.
    ReadDesktop();
    // The panel's two hot keys come with the options.
    ReadIni();
    SetColor(launcher_.FaceColour());
    FaceSize = 31;
    ButtonSize = 38;
    IconSize = 32;
    LayOutFace();
    // A key another program holds does nothing, and the tray icon says which.
    HookHotKey1.RegisterKey(3, TextToShortCut(L"Alt+ESC"));
    HookHotKey1.RegisterKey(4, TextToShortCut(L"Alt+Q"));
    ui::Application::Instance().OnActivate = [this] { ApplicationActivate(); };
    ui::Application::Instance().OnEndSession = [this] { SaveOnEnd(); };
    // The rest once the face is on screen.
    ui::Application::Instance().AfterMainFormShown([this] { FinishStart(); });
}

void TpamuF::FinishStart() {
    icon_.reset(static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_FORM_ICON), IMAGE_ICON, 32, 32, 0)));
    SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.get()));
    SetUpTrayIcon();
    // Whatever TPamuHide says, the icon shows at start.
    TrayIcon1.Loaded();
    TellHeldKeys(HookHotKey1, TrayIcon1);
}

void TpamuF::SetUpTrayIcon() {
    TrayIcon1.BeginLoading();
    LoadTrayPicture();
    TrayIcon1.SetTipHelp(L"ぼく、ミニぱむ太");
    TrayIcon1.HideOnTaskBar = true;
    TrayIcon1.SetResourceIconID(-1);
    TrayIcon1.SetCheckSingleDoubleClick(true);
    TrayIcon1.SetBalloonHelpTimeOut(0);
    TrayIcon1.ToolTipStyle().UseDefault = true;
    TrayIcon1.ToolTipStyle().BackGroundColor = clBlack;
    TrayIcon1.ToolTipStyle().TextColor = clWindowText;
    TrayIcon1.SetRButtonPopupMenu(&PopupMenu1);
    TrayIcon1.OnMouseMove = [this](ui::ShiftState s, int x, int y) { TrayIcon1MouseMove(s, x, y); };
    TrayIcon1.OnMouseClick = [this](ui::MouseButton b, ui::ShiftState s, int x, int y) {
        TrayIcon1MouseClick(b, s, x, y);
    };
}

void TpamuF::LayOutFace() {
    // The eyes keep their designed places; the pupils' are the tick's to set.
    Shape1.SetBounds(Scale(0), Scale(0), Scale(14), Scale(28));
    Shape2.SetBounds(Scale(16), Scale(0), Scale(14), Scale(28));
    Shape3.SetBounds(Scale(8), Scale(8), Scale(4), Scale(8));
    Shape4.SetBounds(Scale(17), Scale(8), Scale(4), Scale(8));
    Shape5.SetBounds(Scale(2), Scale(5), Scale(25), Scale(25));
    Shape6.SetBounds(Scale(2), Scale(9), Scale(25), Scale(18));
    // Made at the size shown, not stretched, so that the disc stays round and sharp. From here on the
    // region belongs to the window.
    const int face = Scale(FaceSize);
    SetWindowRgn(Handle(), CreateEllipticRgn(0, 0, face, face), TRUE);
    SetBounds(Left(), Top(), face, face);
}

void TpamuF::DpiChanged(int) {
    LayOutFace();
    // The notification area may ask for another size now.
    LoadTrayPicture();
}

void TpamuF::LoadTrayPicture() {
    const base::UniqueHicon picture = ui::LoadSmallIcon(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_TRAY_ICON));
    TrayIcon1.SetIcon(picture.get()); // keeps a copy
}

void TpamuF::ReadIni() {
    const MascotPlace place = launcher_.ReadOptions();
    // A place on a monitor that is gone (a laptop off its dock) comes back onto the nearest one; the next
    // save writes the corrected place.
    const int face = Scale(FaceSize);
    const ScreenRect stored{place.left, place.top, place.left + face, place.top + face};
    const ScreenRect at = PlaceOnMonitors(stored, monitors_).value_or(stored);
    SetTop(at.top);
    SetLeft(at.left);
}

WindowPlaces TpamuF::Places() const {
    return {Left(), Top(), panel_->Bounds()};
}

void TpamuF::SaveAll(ProfileFile& file) {
    launcher_.SaveAll(file, Places());
}

void TpamuF::SaveOnEnd() {
    // Before the start's last steps no button has been read, so there is nothing to save.
    if (!panel_) return;
    ProfileFile file = launcher_.SettingsFile();
    SaveAll(file);
}

void TpamuF::FormCloseQuery(bool& canClose) {
    // A file that cannot be written is told once and never keeps the program running: every change was
    // saved, or its failure told, when it was made, and what is lost is the windows' places.
    try {
        SaveOnEnd();
    } catch (...) {
        ui::Application::HandleCurrentException();
    }
    canClose = true;
}

void TpamuF::ApplicationActivate() {
    if (Options().PamuHide.On()) Hide();
}

void TpamuF::HideForTwoSeconds(ui::MouseButton button) {
    if (button != ui::MouseButton::mbLeft) return;
    Hide();
    Timer2.SetEnabled(true);
}

void TpamuF::Shape1MouseDown(ui::MouseButton button, ui::ShiftState, int, int) {
    HideForTwoSeconds(button);
}

void TpamuF::Shape2MouseDown(ui::MouseButton button, ui::ShiftState, int, int) {
    HideForTwoSeconds(button);
}

EdgeOptions TpamuF::Edges() const {
    const EyeOptions& o = launcher_.Options();
    return {o.LWall, o.TWall, o.RWall, o.BWall};
}

TOptSetF* TpamuF::CreateOptionsDialog() {
    return ui::Application::Instance().CreateOwnedForm<TOptSetF>(
        launcher_, OptionTargets{HookHotKey1, *this});
}

ui::MenuItem& TpamuF::ModeMenuItem(ModeItem item) {
    switch (item) {
    case ModeItem::Option: return PM_Option;
    case ModeItem::BtnSet: return PM_BtnSet;
    case ModeItem::BtnDel: return PM_BtnDel;
    default: return PM_BtnChange;
    }
}

void TpamuF::OptionsChanged(const EyeOptions& before) {
    const EyeOptions& now = Options();
    if (now.PamuHide != before.PamuHide) {
        if (now.PamuHide.On())
            Hide();
        else
            Show();
    }
    if (now.TPamuHide != before.TPamuHide) TrayIcon1.SetVisible(!now.TPamuHide.On());
}

void TpamuF::ShowAsChosen(bool mascotHidden, bool trayIconHidden) {
    if (mascotHidden)
        Hide();
    else
        Show();
    TrayIcon1.SetVisible(!trayIconHidden);
}

void TpamuF::ShowPanelAnew() {
    if (panel_) panel_->ShowAnew();
}

void TpamuF::PseudoApp1ShowHint(ui::HintShowInfo& info) {
    // The mascot's place counts even while it is hidden.
    if (Options().HintPos.On()) info.position = {Left() + Scale(15), Top() + Scale(30)};
}

void TpamuF::Timer2Timer() {
    Timer2.SetEnabled(false);
    Show();
}

LRESULT TpamuF::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_LBUTTONDOWN: SendMessageW(Handle(), WM_SYSCOMMAND, kMoveByCaption, 0); return 0;
    case WM_DROPFILES: FilesDropped(reinterpret_cast<HDROP>(wParam)); return 0;
    case WM_DISPLAYCHANGE: ReadDesktop(); return ui::Form::Dispatch(message, wParam, lParam);
    default: return ui::Form::Dispatch(message, wParam, lParam);
    }
}
