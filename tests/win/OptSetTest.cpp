// The options dialog: how it opens from the settings, its check-box and hot-key rules, the colour, what
// OK applies and writes, Cancel and the close box, and the failures that leave it open.

#include "Keys.h"
#include "WinTestSupport.h"

#include "base/ComPtr.h"
#include "components/Hkhotkey.h"
#include "components/MakeShortCut.h"
#include "components/TrShlApi.h"
#include "dialogs/OptSet.h"
#include "panel/Btn.h"
#include "settings/ColorNames.h"

#include <shlobj.h>
#include <shobjidl.h>

#include <commctrl.h>

using namespace std::chrono_literals;
using namespace testfiles;

namespace {

// A combination no desktop holds, to see whether an index is free.
constexpr TShortCut kProbeKey = scCtrl | scAlt | scShift | VK_F11;

class OptSetTest : public wintest::AppTest {
protected:
    void TearDown() override {
        ui::ColorDialog::Override = nullptr;
        TMakeShortCut::Platform() = MakeShortCutPlatform{};
        TrayShell() = TrayShellPlatform{};
        RemoveDirectoryW(wintest::SettingsPath().c_str());
        if (const auto path = StartupShortCut().ShortCutPath()) DeleteFileW(path->c_str());
        wintest::AppTest::TearDown();
    }
    TOptSetF* Open(const std::wstring& eyeKeys) {
        // The first of two equal keys counts: the test's own come first, quiet edges after.
        mascot = StartProgram(L"[eye]\r\n" + eyeKeys + L"LWall=2\r\nTWall=2\r\nRWall=2\r\nBWall=2\r\n");
        SetEditMode(EditState::Options); // as the menu opens it: the panel's keys rest
        return mascot->CreateOptionsDialog();
    }
    // Whether the mascot's hot key index is free: registering a probe there succeeds (and is undone).
    bool IndexFree(int index) {
        if (!mascot->HookHotKey1.RegisterKey(index, kProbeKey)) return false;
        mascot->HookHotKey1.UnregisterKey(index);
        return true;
    }
    static TMakeShortCut StartupShortCut() {
        TMakeShortCut link;
        link.SCFileName = L"ぱむぱむランチ.lnk";
        link.SCSystemPath = TSysPath::tpStartup;
        return link;
    }
    std::string Ini() const { return wintest::ReadFileBytes(wintest::SettingsPath()); }
    TpamuF* mascot = nullptr;
};

} // namespace

TEST_F(OptSetTest, OpensFromTheSettingsOnTheSecondPage) {
    TOptSetF* d =
        Open(L"ApSc=Shift+Ctrl+F5\r\nDApSc=^Q\r\nTWall=1\r\nBWall=0\r\nLineMax=3\r\nColor=clRed\r\n");
    EXPECT_EQ(d->Caption(), L"ぱむぱむランチ－オプション設定");
    EXPECT_EQ(d->ClientWidth(), 401);
    EXPECT_EQ(d->ClientHeight(), 348);
    EXPECT_EQ(d->PageControl1.ActivePageIndex(), 1);
    EXPECT_EQ(d->PageControl1.PageCount(), 2);
    RECT tab{};
    SendMessageW(d->PageControl1.Handle(), TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&tab));
    EXPECT_EQ(tab.right - tab.left, d->TabSheet1.Width() / 2);
    EXPECT_EQ(d->HotKey1.Value(), scShift | scCtrl | VK_F5);
    EXPECT_EQ(d->HotKey2.Value(), scCtrl | 'Q');
    EXPECT_EQ(d->ComboBox1.ItemIndex(), 1);
    EXPECT_EQ(d->ComboBox2.ItemIndex(), 0);
    EXPECT_EQ(d->ComboBox3.ItemIndex(), 2);
    EXPECT_EQ(d->ComboBox4.ItemIndex(), 2);
    EXPECT_EQ(d->ComboBox1.Item(0), L"消える");
    EXPECT_EQ(d->ComboBox1.Item(1), L"出る");
    EXPECT_EQ(d->ComboBox1.Item(2), L"なし");
    EXPECT_EQ(d->ButtonEx1.FontColor(), clRed);
    EXPECT_EQ(d->ButtonEx1.Sytle(), TButtonExStyle::bsOwnerDrawWithFrame);
    EXPECT_TRUE(d->CheckBox4.Checked());
    EXPECT_TRUE(d->SpinEdit1.Enabled());
    EXPECT_EQ(d->SpinEdit1.Value(), 3);
    EXPECT_EQ(d->SpinEdit1.MinValue(), 1);
    EXPECT_EQ(d->SpinEdit1.MaxValue(), 6);
    EXPECT_FALSE(GetWindowLongW(d->SpinEdit1.Handle(), GWL_STYLE) & WS_TABSTOP);
    EXPECT_FALSE(d->CheckBox1.Checked());
    EXPECT_FALSE(d->CheckBox3.Checked());
    EXPECT_FALSE(d->CheckBox5.Checked());
    // Tab goes through the general page's boxes in their order; the spin edit and the colour button have no
    // tab stop.
    d->PageControl1.SetActivePageIndex(0);
    std::vector<HWND> order;
    HWND at = d->CheckBox1.Handle();
    for (int i = 0; i < 6; ++i) {
        order.push_back(at);
        at = GetNextDlgTabItem(d->Handle(), at, FALSE);
    }
    EXPECT_EQ(order[1], d->CheckBox2.Handle());
    EXPECT_EQ(order[2], d->CheckBox3.Handle());
    EXPECT_EQ(order[3], d->CheckBox4.Handle());
    EXPECT_EQ(order[4], d->CheckBox5.Handle());
    // The panel keys are free while it is open; Alt+Esc and Alt+Q stay.
    EXPECT_TRUE(IndexFree(1));
    EXPECT_TRUE(IndexFree(2));
    EXPECT_FALSE(IndexFree(3));
    EXPECT_FALSE(IndexFree(4));
}

TEST_F(OptSetTest, TheCheckBoxRulesRunAsTheBoxesAreSetOnOpening) {
    // Both hidden (only by hand): setting the second unchecks the first.
    TOptSetF* d = Open(L"PamuHide=Yes\r\nTPamuHide=Yes\r\n");
    EXPECT_FALSE(d->CheckBox1.Checked());
    EXPECT_TRUE(d->CheckBox2.Checked());
    d->Release();
    EXPECT_TRUE(wintest::PumpUntil([] { return OptSetF == nullptr; }, 1s));
}

TEST_F(OptSetTest, HintsAtTheMascotSurviveTheHideRule) {
    TOptSetF* d = Open(L"PamuHide=Yes\r\nHintPos=pamu\r\nStartup=yes\r\n");
    EXPECT_TRUE(d->CheckBox1.Checked());
    EXPECT_FALSE(d->CheckBox2.Checked());
    EXPECT_TRUE(d->CheckBox5.Checked());  // set after the rule cleared it
    EXPECT_FALSE(d->CheckBox3.Checked()); // "yes" is not "Yes"

    // The rules as the user meets them.
    d->CheckBox2.SetChecked(true);
    EXPECT_FALSE(d->CheckBox1.Checked());
    d->CheckBox1.SetChecked(true);
    EXPECT_FALSE(d->CheckBox2.Checked());
    EXPECT_FALSE(d->CheckBox5.Checked());
    d->CheckBox1.SetChecked(false); // unchecking changes nothing else
    EXPECT_FALSE(d->CheckBox5.Checked());
    d->CheckBox4.SetChecked(true);
    EXPECT_TRUE(d->SpinEdit1.Enabled());
    d->CheckBox4.SetChecked(false);
    EXPECT_FALSE(d->SpinEdit1.Enabled());
}

TEST_F(OptSetTest, RowLimitSixOrNoneOpensUncheckedAndOkStoresNoLimit) {
    for (const wchar_t* lineMax : {L"6", L"99", L"0"}) {
        TOptSetF* d = Open(std::wstring(L"LineMax=") + lineMax + L"\r\n");
        EXPECT_FALSE(d->CheckBox4.Checked()) << lineMax;
        EXPECT_FALSE(d->SpinEdit1.Enabled());
        EXPECT_EQ(d->SpinEdit1.Value(), 6);
        d->Button1Click();
        EXPECT_EQ(mascot->Options().LineMax, 99);
        EXPECT_EQ(ValueOf(ParseIni(Ini()), "eye", "LineMax"), "99");
        TearDown();
        SetUp();
    }
}

TEST_F(OptSetTest, UncheckingTheRowLimitStoresNoLimit) {
    TOptSetF* d = Open(L"LineMax=3\r\n");
    d->CheckBox4.SetChecked(false);
    d->Button1Click();
    EXPECT_EQ(mascot->Options().LineMax, 99);
}

TEST_F(OptSetTest, TheRowLimitIsTypedAndKeptWithinOneToSixWhenTheFieldIsLeft) {
    TOptSetF* d = Open(L"LineMax=3\r\n");
    d->Show();
    HWND edit = d->SpinEdit1.Handle();
    SetFocus(edit);
    const auto type = [&](const wchar_t* text) {
        SendMessageW(edit, EM_SETSEL, 0, -1);
        for (const wchar_t* c = text; *c; ++c)
            SendMessageW(edit, WM_CHAR, *c, 1);
        return d->SpinEdit1.Value();
    };
    EXPECT_EQ(type(L"5"), 5);
    EXPECT_EQ(type(L"x"), 1); // not a number
    EXPECT_EQ(type(L"9"), 6);
    EXPECT_EQ(d->SpinEdit1.Text(), L"9");
    SetFocus(d->CheckBox4.Handle());
    EXPECT_EQ(d->SpinEdit1.Text(), L"6");
    d->Button1Click();
    EXPECT_EQ(mascot->Options().LineMax, 6);
}

TEST_F(OptSetTest, AnEdgeValueOutsideTheListChoosesNothingAndIsStoredAsMinusOne) {
    TOptSetF* d = Open(L"RWall=7\r\n");
    EXPECT_EQ(d->ComboBox4.ItemIndex(), -1);
    d->Button1Click();
    EXPECT_EQ(static_cast<int>(mascot->Options().RWall), -1);
    EXPECT_EQ(ValueOf(ParseIni(Ini()), "eye", "RWall"), "-1");
}

TEST_F(OptSetTest, OkAppliesEverythingAndWritesExactlyTheOptionKeysInOrder) {
    TOptSetF* d = Open(L"LineMax=6\r\nColor=clAqua\r\n");
    DeleteFileW(wintest::SettingsPath().c_str()); // to see exactly what OK writes
    BtnF1->Hide();
    d->CheckBox4.SetChecked(true);
    d->SpinEdit1.SetValue(2);
    d->CheckBox5.SetChecked(true);
    d->HotKey1.SetValue(scCtrl | scShift | VK_F6);
    d->HotKey2.SetValue(0);
    d->ComboBox1.SetItemIndex(0);
    d->ComboBox3.SetItemIndex(1);
    SetEditMode(EditState::Swap); // the face shows a mode's colour; the option's colour is what is written
    ASSERT_EQ(mascot->ui::Form::Color(), clRed);
    d->Button1Click();

    EXPECT_EQ(d->ModalResult, IDOK);
    EXPECT_EQ(mascot->Options().LineMax, 2);
    EXPECT_EQ(mascot->Options().HintPos.Text(), L"pamu");
    EXPECT_EQ(mascot->Options().PamuHide.Text(), L"No");
    EXPECT_EQ(mascot->Options().TPamuHide.Text(), L"No");
    EXPECT_EQ(mascot->Options().Startup.Text(), L"No");
    EXPECT_EQ(mascot->Options().ApSc, L"Shift+Ctrl+F6");
    EXPECT_EQ(mascot->Options().DApSc, L"");
    EXPECT_EQ(static_cast<int>(mascot->Options().TWall), 0);
    EXPECT_EQ(static_cast<int>(mascot->Options().LWall), 1);
    EXPECT_TRUE(mascot->Visible());
    EXPECT_TRUE(mascot->TrayIcon1.Visible());
    const auto keys = ParseIni(Ini());
    EXPECT_EQ(KeyOrder(keys),
              (std::vector<std::string>{"eye.Startup", "eye.LineMax", "eye.PamuHide", "eye.TPamuHide",
                                        "eye.HintPos", "eye.TWall", "eye.BWall", "eye.LWall", "eye.RWall",
                                        "eye.ApSc", "eye.DApSc", "eye.Color"}));
    EXPECT_EQ(ValueOf(keys, "eye", "Startup"), "No");
    EXPECT_EQ(ValueOf(keys, "eye", "LineMax"), "2");
    EXPECT_EQ(ValueOf(keys, "eye", "HintPos"), "pamu");
    EXPECT_EQ(ValueOf(keys, "eye", "TWall"), "0");
    EXPECT_EQ(ValueOf(keys, "eye", "LWall"), "1");
    EXPECT_EQ(ValueOf(keys, "eye", "ApSc"), "Shift+Ctrl+F6");
    EXPECT_EQ(ValueOf(keys, "eye", "DApSc"), "");
    EXPECT_EQ(ValueOf(keys, "eye", "Color"), "clAqua");
    // The new key is held, the old one is free; the panel shows again, with two rows.
    EXPECT_FALSE(IndexFree(1));
    THookHotKey probe(*mascot);
    EXPECT_FALSE(probe.RegisterKey(1, scCtrl | scShift | VK_F6));
    EXPECT_TRUE(probe.RegisterKey(2, scAlt | 'A'));
    EXPECT_TRUE(mascot->HookHotKey1.Activate);
    EXPECT_TRUE(BtnF1->Visible());
    EXPECT_EQ(BtnF1->ClientHeight() / BtnF1->ToolBar1.ButtonHeight(), 2);
}

TEST_F(OptSetTest, HidingTheMascotOrItsIconAndStartingWithWindows) {
    TOptSetF* d = Open(L"");
    mascot->Show();
    d->CheckBox2.SetChecked(true);
    d->CheckBox3.SetChecked(true);
    d->Button1Click();
    EXPECT_EQ(mascot->Options().TPamuHide.Text(), L"Yes");
    EXPECT_FALSE(mascot->TrayIcon1.Visible());
    EXPECT_FALSE(mascot->TrayIcon1.TaskTrayIcon().Registered);
    EXPECT_EQ(mascot->Options().Startup.Text(), L"Yes");
    // The shortcut starts this very program.
    const auto path = StartupShortCut().ShortCutPath();
    ASSERT_TRUE(path);
    EXPECT_NE(GetFileAttributesW(path->c_str()), INVALID_FILE_ATTRIBUTES);
    {
        base::ComPtr<IShellLinkW> link;
        ASSERT_TRUE(SUCCEEDED(
            CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.put())));
        base::ComPtr<IPersistFile> file;
        link->QueryInterface(IID_IPersistFile, file.put());
        ASSERT_TRUE(file && SUCCEEDED(file->Load(path->c_str(), STGM_READ)));
        std::vector<wchar_t> target(32768, L'\0');
        link->GetPath(target.data(), static_cast<int>(target.size()), nullptr, SLGP_RAWPATH);
        EXPECT_EQ(std::wstring(target.data()), ui::Application::ExeName());
    }

    TOptSetF* again = mascot->CreateOptionsDialog();
    EXPECT_TRUE(again->CheckBox2.Checked());
    EXPECT_TRUE(again->CheckBox3.Checked());
    again->CheckBox1.SetChecked(true);
    again->CheckBox3.SetChecked(false);
    again->Button1Click();
    EXPECT_FALSE(mascot->Visible());
    EXPECT_EQ(mascot->Options().PamuHide.Text(), L"Yes");
    EXPECT_TRUE(mascot->TrayIcon1.TaskTrayIcon().Registered);
    EXPECT_EQ(GetFileAttributesW(path->c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(mascot->Options().Startup.Text(), L"No");
}

TEST_F(OptSetTest, OkHidesOrShowsTheMascotAndItsIconByTheBoxesEvenWhenTheyDidNotChange) {
    TOptSetF* d = Open(L"TPamuHide=Yes\r\n");
    ASSERT_TRUE(mascot->TrayIcon1.Visible()); // at start whatever the file says
    d->Button1Click();
    EXPECT_FALSE(mascot->TrayIcon1.Visible());
    mascot->Hide();
    mascot->CreateOptionsDialog()->Button1Click();
    EXPECT_TRUE(mascot->Visible());
}

TEST_F(OptSetTest, CancelAndTheCloseBoxChangeNothing) {
    TOptSetF* d = Open(L"LineMax=4\r\n");
    const std::string before = Ini();
    d->CheckBox4.SetChecked(false);
    d->HotKey1.SetValue(scCtrl | 'K');
    d->Button2Click();
    EXPECT_EQ(d->ModalResult, IDCANCEL);
    EXPECT_EQ(mascot->Options().LineMax, 4);
    EXPECT_EQ(mascot->Options().ApSc, L"Alt+A");
    EXPECT_EQ(Ini(), before);
}

TEST_F(OptSetTest, TheSameHotKeyInBothFieldsClearsTheFieldLeft) {
    TOptSetF* d = Open(L"");
    d->Show();
    d->HotKey1.SetValue(scCtrl | 'K');
    d->HotKey2.SetValue(scCtrl | 'K');
    d->HotKey1.SetFocus();
    d->HotKey2.SetFocus(); // leaving the first field
    EXPECT_EQ(d->HotKey1.Value(), 0);
    EXPECT_EQ(d->HotKey2.Value(), scCtrl | 'K');
    d->HotKey1.SetFocus(); // leaving the second: they differ now
    EXPECT_EQ(d->HotKey2.Value(), scCtrl | 'K');
    // Two empty fields are equal: clearing changes nothing.
    d->HotKey2.SetValue(0);
    d->HotKey2.SetFocus();
    d->Button1.SetFocus();
    EXPECT_EQ(d->HotKey1.Value(), 0);
    EXPECT_EQ(d->HotKey2.Value(), 0);
}

TEST_F(OptSetTest, TheColourTakesEffectAtOnceAndCancelKeepsIt) {
    TOptSetF* d = Open(L"Color=clYellow\r\n");
    const std::string before = Ini();
    std::vector<COLORREF> startedOn;
    COLORREF answer = RGB(10, 20, 30);
    bool confirm = true;
    ui::ColorDialog::Override = [&](CHOOSECOLORW& cc) {
        startedOn.push_back(cc.rgbResult);
        EXPECT_TRUE(cc.Flags & CC_RGBINIT);
        cc.rgbResult = answer;
        return confirm;
    };
    d->ButtonEx1Click();
    EXPECT_EQ(mascot->Options().Color, static_cast<TColor>(RGB(10, 20, 30)));
    EXPECT_EQ(mascot->ui::Form::Color(), static_cast<TColor>(RGB(10, 20, 30)));
    EXPECT_EQ(d->ButtonEx1.FontColor(), static_cast<TColor>(RGB(10, 20, 30)));
    // Cancelled in the colour dialog: nothing changes, and it started on the colour last confirmed.
    confirm = false;
    answer = RGB(200, 0, 0);
    d->ButtonEx1Click();
    EXPECT_EQ(startedOn, (std::vector<COLORREF>{RGB(0, 0, 0), RGB(10, 20, 30)}));
    EXPECT_EQ(mascot->ui::Form::Color(), static_cast<TColor>(RGB(10, 20, 30)));
    // Over a mode's colour too.
    mascot->PM_BtnChange.Click();
    ASSERT_NE(mascot->ui::Form::Color(), static_cast<TColor>(RGB(10, 20, 30)));
    d->ButtonEx1Click();
    EXPECT_EQ(mascot->ui::Form::Color(), static_cast<TColor>(RGB(10, 20, 30)));
    d->Button2Click();
    EXPECT_EQ(mascot->ui::Form::Color(), static_cast<TColor>(RGB(10, 20, 30)));
    EXPECT_EQ(Ini(), before);
}

namespace {

HRESULT WINAPI NoShellLink(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID* out) {
    *out = nullptr;
    return REGDB_E_CLASSNOTREG;
}
BOOL WINAPI RefusingShell(DWORD, PNOTIFYICONDATAW) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}

} // namespace

TEST_F(OptSetTest, AShortcutThatCannotBeMadeStopsOkAfterTheFirstTwoSteps) {
    TOptSetF* d = Open(L"LineMax=3\r\n");
    TMakeShortCut::Platform().CreateInstance = NoShellLink;
    mascot->Show();
    d->CheckBox1.SetChecked(true);
    d->CheckBox3.SetChecked(true);
    d->CheckBox4.SetChecked(false);
    // As the button's click arrives: the error box reports it and the loop goes on.
    SendMessageW(d->Handle(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED),
                 reinterpret_cast<LPARAM>(d->Button1.Handle()));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], L"OLE error 80040154");
    EXPECT_EQ(d->ModalResult, 0); // still open
    EXPECT_EQ(mascot->Options().PamuHide.Text(), L"Yes");
    EXPECT_FALSE(mascot->Visible());
    EXPECT_EQ(mascot->Options().Startup.Text(), L"");
    EXPECT_EQ(mascot->Options().LineMax, 3);
    EXPECT_TRUE(IndexFree(1)); // not yet registered again
}

TEST_F(OptSetTest, ANotificationAreaThatIsNotThereYetDoesNotStopOk) {
    TOptSetF* d = Open(L"TPamuHide=Yes\r\n");
    mascot->TrayIcon1.SetVisible(false);
    TrayShell().NotifyIcon = RefusingShell;
    d->CheckBox2.SetChecked(false);
    d->CheckBox5.SetChecked(true);
    SendMessageW(d->Handle(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED),
                 reinterpret_cast<LPARAM>(d->Button1.Handle()));
    EXPECT_TRUE(errors.empty());
    EXPECT_NE(d->ModalResult, 0);
    EXPECT_EQ(mascot->Options().TPamuHide.Text(), L"No"); // the icon comes when the task bar does
    EXPECT_EQ(mascot->Options().HintPos.Text(), L"pamu");
}

TEST_F(OptSetTest, ASettingsFileThatCannotBeWrittenStopsOkInsideTheSave) {
    TOptSetF* d = Open(L"");
    DeleteFileW(wintest::SettingsPath().c_str());
    CreateDirectoryW(wintest::SettingsPath().c_str(), nullptr);
    d->CheckBox5.SetChecked(true);
    SendMessageW(d->Handle(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED),
                 reinterpret_cast<LPARAM>(d->Button1.Handle()));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], wintest::SettingsPath() + L" に書き込めません");
    EXPECT_EQ(d->ModalResult, 0);
    EXPECT_EQ(mascot->Options().HintPos.Text(), L"pamu"); // the running value changed
    EXPECT_TRUE(IndexFree(1));                     // the keys rest while the dialog stays open
    RemoveDirectoryW(wintest::SettingsPath().c_str());
    d->Button2Click();
    EXPECT_FALSE(IndexFree(1));
}

namespace {
TpamuF* g_mascot = nullptr;
EditState g_modeWhileOpen = EditState::None;
bool g_keyFreeWhileOpen = false;
void CALLBACK LookAndCancel(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (!OptSetF) return;
    g_modeWhileOpen = g_mascot->EditMode();
    // The panel's keys rest, to be typed into the fields; closing gives them back, brought forward again.
    g_keyFreeWhileOpen = g_mascot->HookHotKey1.RegisterKey(1, kProbeKey) && g_mascot->HookHotKey1.UnregisterKey(1);
    g_mascot->HookHotKey1.Activate = false;
    SendMessageW(OptSetF->Handle(), WM_CLOSE, 0, 0);
}
} // namespace

TEST_F(OptSetTest, TheMenuItemRunsTheDialogModally) {
    mascot = StartProgram(L"[eye]\r\nLWall=2\r\nTWall=2\r\nRWall=2\r\nBWall=2\r\n");
    g_mascot = mascot;
    g_modeWhileOpen = EditState::None;
    SetTimer(nullptr, 0, 200, LookAndCancel);
    mascot->PM_OptionClick();
    EXPECT_EQ(g_modeWhileOpen, EditState::Options);
    EXPECT_TRUE(g_keyFreeWhileOpen);
    EXPECT_EQ(mascot->EditMode(), EditState::None);
    EXPECT_FALSE(IndexFree(1));
    EXPECT_TRUE(mascot->HookHotKey1.Activate);
    EXPECT_TRUE(wintest::PumpUntil([] { return OptSetF == nullptr; }, 1s)); // released
}

TEST_F(OptSetTest, TheHotKeyFieldsRefuseKeysWithoutAModifierOrWithShiftAlone) {
    TOptSetF* d = Open(L"ApSc=\r\n");
    d->Show();
    SetForegroundWindow(d->Handle());
    d->HotKey1.SetFocus();
    ASSERT_TRUE(wintest::PumpUntil([&] { return GetFocus() == d->HotKey1.Handle(); }, 1s));
    auto typed = [&](WORD vk, std::initializer_list<WORD> modifiers) {
        d->HotKey1.SetValue(0);
        // Typed once the field has seen the last key go up.
        const WORD last = modifiers.size() ? *modifiers.begin() : vk;
        wintest::MessageWatch released(d->HotKey1.Handle(), [last](UINT message, WPARAM key, LPARAM) {
            return (message == WM_KEYUP || message == WM_SYSKEYUP) && key == last;
        });
        testfiles::PressChord(vk, modifiers);
        EXPECT_TRUE(wintest::PumpUntil([&] { return released.Count() > 0; }, 2s));
        return d->HotKey1.Value();
    };
    EXPECT_EQ(typed('B', {}), 0);
    EXPECT_EQ(typed('B', {VK_SHIFT}), 0);
    EXPECT_EQ(typed('B', {VK_CONTROL}), scCtrl | 'B');
    EXPECT_EQ(typed('B', {VK_CONTROL, VK_SHIFT}), scCtrl | scShift | 'B');
    EXPECT_EQ(typed(VK_F8, {VK_MENU}), scAlt | VK_F8);
}
