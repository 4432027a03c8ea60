// What a click on a panel button does in each edit mode, the swap and the removal with what they save,
// keyboard selection, and the launch with texts longer than the old fixed buffers.

#include "Drops.h"
#include "Programs.h"
#include "WinTestSupport.h"

#include "dialogs/BtnSet.h"
#include "mascot/eye1.h"
#include "panel/Btn.h"
#include "components/FmxUtils.h"

#include <algorithm>

using namespace std::chrono_literals;
using wintest::AllGrey;
using wintest::PanelImage;
using wintest::PumpUntil;
using wintest::SettingsPath;

namespace {

class ButtonActionsTest : public wintest::AppTest {
protected:
    // eyeKeys go into section "eye" beside the colour; buttons are whole sections.
    TBtnF1* Start(const std::wstring& buttons, const std::wstring& eyeKeys = L"") {
        mascot = StartProgram(L"[eye]\r\nColor=clAqua\r\n" + eyeKeys + buttons);
        mascot->Timer1.SetEnabled(false); // the edge rules stay out of these tests
        return BtnF1;
    }
    std::vector<testfiles::IniKey> Saved() const {
        return testfiles::ParseIni(testfiles::ReadFileBytes(SettingsPath()));
    }
    std::string SavedValue(int button, const std::string& key) const {
        return testfiles::ValueOf(Saved(), "btn" + std::to_string(button), key);
    }
    // Enters a mode through its menu item, as the user does.
    void EnterMode(ui::MenuItem& item) {
        ASSERT_EQ(mascot->EditMode(), EditState::None);
        item.Click();
    }
    void ExpectModeEnded(ui::MenuItem& item, const std::wstring& caption) {
        EXPECT_EQ(mascot->EditMode(), EditState::None);
        EXPECT_EQ(item.Caption(), caption);
        for (ui::MenuItem* i :
             {&mascot->PM_Option, &mascot->PM_BtnSet, &mascot->PM_BtnDel, &mascot->PM_BtnChange})
            EXPECT_TRUE(i->Enabled()) << std::string(i->Name().begin(), i->Name().end());
        EXPECT_EQ(mascot->ui::Form::Color(), clAqua);
        EXPECT_EQ(BtnF1->Caption(), DatedCaption());
    }
    void Click(int button) { BtnF1->Buttons[button]->Click(); }
    // The centre of button n in the bar's client area.
    LPARAM Centre(int n) {
        const RECT r = BtnF1->Buttons[n]->ItemRect();
        return MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    // Pressed on the first button, moved over each of the others and released on the last.
    void Drag(std::initializer_list<int> path) {
        const HWND bar = BtnF1->ToolBar1.Handle();
        SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, Centre(*path.begin()));
        for (const int* n = path.begin() + 1; n != path.end(); ++n)
            SendMessageW(bar, WM_MOUSEMOVE, MK_LBUTTON, Centre(*n));
        SendMessageW(bar, WM_LBUTTONUP, 0, Centre(*(path.end() - 1)));
    }
    // A key typed while the panel's bar has the focus, through the application's loop and its preview.
    void Type(wchar_t key) {
        PostMessageW(BtnF1->ToolBar1.Handle(), WM_CHAR, key, 0);
        app->ProcessMessages();
    }
    void PressKey(WORD key) {
        PostMessageW(BtnF1->ToolBar1.Handle(), WM_KEYDOWN, key, 0);
        app->ProcessMessages();
    }
    TpamuF* mascot = nullptr;
};

int CountWindowsOfClass(const wchar_t* className) {
    struct Search {
        const wchar_t* className;
        int count = 0;
    } search{className};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM param) {
            auto* s = reinterpret_cast<Search*>(param);
            wchar_t name[64] = {};
            GetClassNameW(hwnd, name, 64);
            if (wcscmp(name, s->className) == 0) ++s->count;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.count;
}

} // namespace

TEST_F(ButtonActionsTest, SwapExchangesRecordsImagesAndHintsAndSavesBoth) {
    const std::wstring self = ui::Application::ExeName();
    TBtnF1* panel = Start(L"[btn1]\r\npg=C:\\tools\\a.exe\r\nic=" + self +
                          L"\r\nicidx=0\r\ndr=C:\\tools\\\r\n"
                          L"lb=エー\r\nop=-x 1\r\n[btn3]\r\npg=C:\\c.exe\r\nlb=シー\r\n");
    const auto mascotPicture = PanelImage(*panel, 0);
    ASSERT_FALSE(AllGrey(mascotPicture));
    EnterMode(mascot->PM_BtnChange);

    Click(1);
    EXPECT_EQ(panel->Caption(), L"入れ替え先のボタンを押してください");
    EXPECT_EQ(launcher->SwapSource(), 1);
    EXPECT_TRUE(panel->Buttons[1]->Down());
    EXPECT_EQ(mascot->EditMode(), EditState::Swap);
    EXPECT_EQ(SavedValue(1, "pg"), "C:\\tools\\a.exe"); // nothing saved yet

    Click(3);
    EXPECT_EQ(panel->Records[1].Program, L"C:\\c.exe");
    EXPECT_EQ(panel->Records[1].Hint, L"シー");
    EXPECT_EQ(panel->Records[1].IconFile, L"");
    EXPECT_EQ(panel->Records[3].Program, L"C:\\tools\\a.exe");
    EXPECT_EQ(panel->Records[3].IconFile, self);
    EXPECT_EQ(panel->Records[3].WorkFolder, L"C:\\tools\\");
    EXPECT_EQ(panel->Records[3].Options, L"-x 1");
    EXPECT_EQ(panel->Buttons[1]->Hint(), L"シー");
    EXPECT_EQ(panel->Buttons[3]->Hint(), L"エー");
    EXPECT_TRUE(AllGrey(PanelImage(*panel, 0)));
    EXPECT_EQ(PanelImage(*panel, 2), mascotPicture);
    // The buttons keep their places and captions.
    EXPECT_EQ(panel->Buttons[1]->Caption(), L"1");
    EXPECT_EQ(panel->Buttons[3]->Caption(), L"3");
    EXPECT_FALSE(panel->Buttons[1]->Down());
    EXPECT_EQ(launcher->SwapSource(), 0);
    ExpectModeEnded(mascot->PM_BtnChange, L"ﾎﾞﾀﾝの入れ替え");

    EXPECT_EQ(SavedValue(1, "pg"), "C:\\c.exe");
    EXPECT_EQ(SavedValue(1, "ic"), "");
    EXPECT_EQ(SavedValue(1, "lb"), testfiles::ToAnsi(L"シー"));
    EXPECT_EQ(SavedValue(3, "pg"), "C:\\tools\\a.exe");
    EXPECT_EQ(SavedValue(3, "ic"), testfiles::ToAnsi(self));
    EXPECT_EQ(SavedValue(3, "icidx"), "0");
    EXPECT_EQ(SavedValue(3, "dr"), "C:\\tools\\");
    EXPECT_EQ(SavedValue(3, "lb"), testfiles::ToAnsi(L"エー"));
    EXPECT_EQ(SavedValue(3, "op"), "-x 1");
}

TEST_F(ButtonActionsTest, SwapOfAButtonWithItselfEndsTheModeAndKeepsTheRecord) {
    TBtnF1* panel = Start(L"[btn2]\r\npg=C:\\b.exe\r\nlb=ビー\r\nicidx=4\r\n");
    EnterMode(mascot->PM_BtnChange);
    Click(2);
    Click(2);
    EXPECT_EQ(panel->Records[2].Program, L"C:\\b.exe");
    EXPECT_EQ(panel->Records[2].IconIndex, 4);
    EXPECT_EQ(panel->Buttons[2]->Hint(), L"ビー");
    EXPECT_FALSE(panel->Buttons[2]->Down());
    EXPECT_EQ(SavedValue(2, "pg"), "C:\\b.exe");
    EXPECT_EQ(SavedValue(2, "icidx"), "4");
    ExpectModeEnded(mascot->PM_BtnChange, L"ﾎﾞﾀﾝの入れ替え");
}

TEST_F(ButtonActionsTest, RemovalClearsTheButtonAndSavesEmptyKeys) {
    const std::wstring self = ui::Application::ExeName();
    TBtnF1* panel = Start(L"[btn5]\r\npg=C:\\e.exe\r\nic=" + self +
                          L"\r\nicidx=2\r\ndr=C:\\\r\nlb=イー\r\nop=/q\r\n[btn6]\r\npg=C:\\f.exe\r\n");
    ASSERT_FALSE(AllGrey(PanelImage(*panel, 4)));
    EnterMode(mascot->PM_BtnDel);

    Click(5);
    const ButtonRecord& record = panel->Records[5];
    EXPECT_EQ(record.Program, L"");
    EXPECT_EQ(record.IconFile, L"");
    EXPECT_EQ(record.IconIndex, 0);
    EXPECT_EQ(record.WorkFolder, L"");
    EXPECT_EQ(record.Hint, L"");
    EXPECT_EQ(record.Options, L"");
    EXPECT_EQ(panel->Buttons[5]->Hint(), L"");
    EXPECT_TRUE(AllGrey(PanelImage(*panel, 4))); // the mascot's own, transparent icon
    for (const char* key : {"pg", "ic", "dr", "lb", "op"})
        EXPECT_EQ(SavedValue(5, key), "") << key;
    EXPECT_EQ(SavedValue(5, "icidx"), "0");
    EXPECT_EQ(panel->Records[6].Program, L"C:\\f.exe");
    ExpectModeEnded(mascot->PM_BtnDel, L"ﾎﾞﾀﾝの設定削除");
}

TEST_F(ButtonActionsTest, UnassignedButtonOpensItsSettingsInSetDetailsMode) {
    TBtnF1* panel = Start(L"[btn1]\r\npg=C:\\a.exe\r\n");
    Click(7);
    EXPECT_EQ(mascot->EditMode(), EditState::SetDetails);
    EXPECT_EQ(mascot->PM_BtnSet.Caption(), L"詳細設定の中止");
    EXPECT_FALSE(mascot->PM_BtnChange.Enabled());
    EXPECT_FALSE(mascot->PM_BtnDel.Enabled());
    EXPECT_TRUE(mascot->PM_Option.Enabled());
    EXPECT_EQ(mascot->ui::Form::Color(), clBlue);
    EXPECT_EQ(panel->Caption(), L"ボタンの詳細設定中");
    ASSERT_NE(BtnSetF, nullptr);
    TBtnSetF* dialog = BtnSetF;
    EXPECT_TRUE(dialog->Visible());
    EXPECT_EQ(dialog->ButtonNo, 7);
    EXPECT_EQ(dialog->Caption(), L"ボタン7の詳細設定");
    EXPECT_EQ(GetWindow(dialog->Handle(), GW_OWNER), app->Handle());

    // In the mode, a click on another button (assigned or not) retargets the same dialog.
    Click(1);
    EXPECT_EQ(BtnSetF, dialog);
    EXPECT_EQ(dialog->ButtonNo, 1);
    EXPECT_EQ(dialog->Caption(), L"ボタン1の設定");
    EXPECT_EQ(mascot->EditMode(), EditState::SetDetails);
    EXPECT_EQ(panel->Caption(), L"ボタンの詳細設定中");

    // A hidden dialog is shown again for the new button.
    dialog->Hide();
    Click(12);
    EXPECT_TRUE(dialog->Visible());
    EXPECT_EQ(dialog->ButtonNo, 12);
    EXPECT_EQ(dialog->Caption(), L"ボタン12の設定");
}

TEST_F(ButtonActionsTest, SetDetailsModeFromTheMenuCreatesTheDialogOnTheFirstClick) {
    TBtnF1* panel = Start(L"[btn4]\r\npg=C:\\d.exe\r\n");
    EnterMode(mascot->PM_BtnSet);
    EXPECT_EQ(BtnSetF, nullptr);
    Click(4);
    ASSERT_NE(BtnSetF, nullptr);
    EXPECT_EQ(BtnSetF->ButtonNo, 4);
    EXPECT_EQ(BtnSetF->Caption(), L"ボタン4の詳細設定");
    EXPECT_EQ(panel->Caption(), L"ボタンの詳細設定中");
    EXPECT_EQ(panel->Records[4].Program, L"C:\\d.exe");
    EXPECT_EQ(mascot->EditMode(), EditState::SetDetails);
}

TEST_F(ButtonActionsTest, HiddenDialogLeftByADropGivesWayToTheNewOne) {
    Start(L"");
    BtnF1->PrepareSettingsDialog(1);
    TBtnSetF* hidden = BtnSetF;
    Click(2);
    ASSERT_NE(BtnSetF, nullptr);
    EXPECT_NE(BtnSetF, hidden);
    EXPECT_EQ(BtnSetF->ButtonNo, 2);
    EXPECT_EQ(BtnSetF->Caption(), L"ボタン2の詳細設定");
    app->ProcessMessages(); // the released one goes
    EXPECT_EQ(CountWindowsOfClass(L"TBtnSetF"), 1);
}

TEST_F(ButtonActionsTest, MenuItemsEnterAndEndTheModes) {
    TBtnF1* panel = Start(L"[btn1]\r\npg=C:\\a.exe\r\n");
    panel->Hide();
    struct Mode {
        ui::MenuItem& item;
        EditState mode;
        const wchar_t* cancel;
        const wchar_t* end;
        const wchar_t* prompt;
        TColor color;
    };
    const Mode modes[] = {
        {mascot->PM_BtnSet, EditState::SetDetails, L"詳細設定の中止", L"ﾎﾞﾀﾝの詳細設定",
         L"詳細設定するボタンを選択してください", clBlue},
        {mascot->PM_BtnChange, EditState::Swap, L"ﾎﾞﾀﾝの入れ替えの中止", L"ﾎﾞﾀﾝの入れ替え",
         L"入れ替え元のボタンを押してください", clRed},
        {mascot->PM_BtnDel, EditState::Remove, L"ﾎﾞﾀﾝの設定解除の中止", L"ﾎﾞﾀﾝの設定解除",
         L"設定を解除するボタンを選択してください", clGreen},
    };
    for (const Mode& m : modes) {
        m.item.Click();
        EXPECT_EQ(mascot->EditMode(), m.mode);
        EXPECT_EQ(m.item.Caption(), m.cancel);
        EXPECT_TRUE(m.item.Enabled());
        for (ui::MenuItem* other :
             {&mascot->PM_Option, &mascot->PM_BtnSet, &mascot->PM_BtnDel, &mascot->PM_BtnChange})
            if (other != &m.item) {
                EXPECT_FALSE(other->Enabled());
            }
        EXPECT_EQ(mascot->ui::Form::Color(), m.color);
        EXPECT_EQ(panel->Caption(), m.prompt);
        EXPECT_TRUE(panel->Visible());

        panel->Hide();
        m.item.Click();
        ExpectModeEnded(m.item, m.end);
        EXPECT_FALSE(panel->Visible()); // ending leaves the panel as it is
    }
}

TEST_F(ButtonActionsTest, EndingModesFromTheMenuDropsTheDialogAndTheSwapSource) {
    TBtnF1* panel = Start(L"[btn1]\r\npg=C:\\a.exe\r\n");
    EnterMode(mascot->PM_BtnSet);
    Click(6);
    ASSERT_NE(BtnSetF, nullptr);
    mascot->PM_BtnSet.Click();
    EXPECT_EQ(BtnSetF, nullptr);
    app->ProcessMessages();
    EXPECT_EQ(CountWindowsOfClass(L"TBtnSetF"), 0);

    EnterMode(mascot->PM_BtnChange);
    Click(1);
    ASSERT_TRUE(panel->Buttons[1]->Down());
    mascot->PM_BtnChange.Click();
    EXPECT_FALSE(panel->Buttons[1]->Down());
    EXPECT_EQ(launcher->SwapSource(), 0);
    // The next swap starts with no source: the first click picks one.
    EnterMode(mascot->PM_BtnChange);
    Click(4);
    EXPECT_EQ(launcher->SwapSource(), 4);
    EXPECT_EQ(mascot->EditMode(), EditState::Swap);
    EXPECT_EQ(panel->Records[1].Program, L"C:\\a.exe");
}

TEST_F(ButtonActionsTest, ClicksDoNothingWhileTheOptionsDialogIsOpen) {
    TBtnF1* panel = Start(L"[btn1]\r\npg=C:\\a.exe\r\n");
    const std::wstring caption = panel->Caption();
    SetEditMode(EditState::Options);
    Click(1);
    Click(2);
    EXPECT_EQ(mascot->EditMode(), EditState::Options);
    EXPECT_EQ(BtnSetF, nullptr);
    EXPECT_TRUE(panel->Visible());
    EXPECT_EQ(panel->Caption(), caption);
    EXPECT_EQ(panel->Records[1].Program, L"C:\\a.exe");
}

TEST_F(ButtonActionsTest, TypedCharactersActAsClicksInEveryMode) {
    TBtnF1* panel = Start(L"[btn3]\r\npg=C:\\c.exe\r\n[btn10]\r\npg=C:\\j.exe\r\n[btn30]\r\npg=C:\\u.exe\r\n"
                          L"[btn22]\r\npg=C:\\v.exe\r\n");
    EnterMode(mascot->PM_BtnDel);
    Type(L'0');
    Type(L'v');
    Type(L'Z');
    EXPECT_EQ(mascot->EditMode(), EditState::Remove); // nothing was selected
    Type(L'3');
    EXPECT_EQ(panel->Records[3].Program, L"");
    EXPECT_EQ(SavedValue(3, "pg"), "");
    EXPECT_EQ(mascot->EditMode(), EditState::None);

    EnterMode(mascot->PM_BtnDel);
    Type(L'a');
    EXPECT_EQ(panel->Records[10].Program, L"");
    EnterMode(mascot->PM_BtnDel);
    Type(L'U');
    EXPECT_EQ(panel->Records[30].Program, L"");
    EXPECT_EQ(panel->Records[22].Program, L"C:\\v.exe");

    // In mode 0 an unassigned button's key opens its settings.
    Type(L'b');
    EXPECT_EQ(mascot->EditMode(), EditState::SetDetails);
    ASSERT_NE(BtnSetF, nullptr);
    EXPECT_EQ(BtnSetF->ButtonNo, 11);

    // The handler leaves the character as it was.
    wchar_t key = L'0';
    panel->FormKeyPress(key);
    EXPECT_EQ(key, L'0');
}

TEST_F(ButtonActionsTest, ArrowKeysScrollOneRowPerPress) {
    TBtnF1* panel = Start(L"[btnform]\r\nwidth=238\r\n", L"LineMax=2\r\n");
    panel->Hide();
    panel->Show(); // the show handler applies LineMax
    // Two rows shown of five: the last row is in view at the bottom of the range.
    const int last = panel->VertScrollRange() - panel->ClientHeight();
    ASSERT_GT(last, 76);
    ASSERT_LE(last, 114);
    for (int expected : {38, 76, last, last}) {
        PressKey(VK_DOWN);
        EXPECT_EQ(panel->VertScrollPosition(), expected);
    }
    PressKey(VK_UP);
    EXPECT_EQ(panel->VertScrollPosition(), last - 38);
    PressKey(VK_LEFT);
    EXPECT_EQ(panel->VertScrollPosition(), last - 38);

    // With captions the rows are taller, and a press moves by that height.
    panel->ToolBar1.SetShowCaptions(true);
    const int step = panel->ToolBar1.ButtonHeight();
    ASSERT_GT(step, 38);
    panel->SetVertScrollPosition(0);
    PressKey(VK_DOWN);
    EXPECT_EQ(panel->VertScrollPosition(), step);
}

TEST(FileExistsTest, FilesOnlyAtAnyLength) {
    const std::wstring folder = wintest::TempPath(L"pmrun_exists_" + std::wstring(230, L'f'));
    const std::wstring deep = L"\\\\?\\" + folder;
    ASSERT_TRUE(CreateDirectoryW(deep.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    const std::wstring file = folder + L"\\" + std::wstring(60, L'x') + L".exe";
    ASSERT_GT(file.size(), static_cast<std::size_t>(MAX_PATH));
    HANDLE h = CreateFileW((L"\\\\?\\" + file).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);

    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(FileExists(folder)); // a folder is no program
    EXPECT_FALSE(FileExists(folder + L"\\missing.exe"));
    EXPECT_FALSE(FileExists(L""));
    EXPECT_TRUE(FileExists(ui::Application::ExeName()));

    DeleteFileW((L"\\\\?\\" + file).c_str());
    RemoveDirectoryW(deep.c_str());
}

namespace {

std::wstring WithoutTrailingBackslash(std::wstring path) {
    while (path.size() > 3 && path.back() == L'\\')
        path.pop_back();
    return path;
}

} // namespace

TEST_F(ButtonActionsTest, LaunchPassesLongPathOptionsAndFolderWhole) {
    // Every text longer than 256 characters, and the program path and folder still within MAX_PATH.
    const std::wstring base = wintest::TempPath(L"pmrun_launch_");
    ASSERT_LT(base.size(), 200u);
    const std::wstring folder = base + std::wstring(251 - base.size(), L'd');
    const std::wstring program = folder + L"\\p.exe";
    const std::wstring workFolder = folder + L"\\wwwww";
    const std::wstring options = L"-opt " + std::wstring(1495, L'p') + L" 終";
    ASSERT_GT(program.size(), 256u);
    ASSERT_GT(workFolder.size(), 256u);
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    ASSERT_TRUE(CreateDirectoryW(workFolder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    ASSERT_TRUE(
        CopyFileW((testfiles::ExeFolder() + L"\\pmrun_launch_probe.exe").c_str(), program.c_str(), FALSE));
    const std::wstring log = program + L".log";
    DeleteFileW(log.c_str());

    TBtnF1* panel = Start(L"");
    ButtonRecord record;
    record.Program = program;
    record.Options = options;
    record.WorkFolder = workFolder;
    launcher->SetButton(8, record);
    Click(8);
    ASSERT_TRUE(PumpUntil([&] { return !testfiles::ProbeStarts(program).empty(); }, 10s));
    EXPECT_TRUE(PumpUntil([&] { return !panel->Visible(); }, 10s));
    // Every start has logged once no probe runs.
    ASSERT_TRUE(PumpUntil([] { return !testfiles::ChildRunning(GetCurrentProcessId(), L"p.exe"); }, 10s));

    const auto starts = testfiles::ProbeStarts(program);
    ASSERT_EQ(starts.size(), 1u);
    const std::wstring& commandLine = starts[0].commandLine;
    const std::wstring& started = starts[0].folder;
    ASSERT_GE(commandLine.size(), options.size());
    EXPECT_EQ(commandLine.substr(commandLine.size() - options.size()), options);
    EXPECT_EQ(
        CompareStringOrdinal(WithoutTrailingBackslash(started).c_str(), -1, workFolder.c_str(), -1, TRUE),
        CSTR_EQUAL)
        << std::string(started.begin(), started.end());
    EXPECT_EQ(mascot->EditMode(), EditState::None);
    EXPECT_TRUE(errors.empty());

    DeleteFileW(log.c_str());
    DeleteFileW(program.c_str());
    RemoveDirectoryW(workFolder.c_str());
    RemoveDirectoryW(folder.c_str());
}

TEST_F(ButtonActionsTest, LaunchIntoAJapaneseFolder) {
    const std::wstring folder = wintest::TempPath(L"pmrun_作業");
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    const std::wstring program = folder + L"\\プローブ.exe";
    ASSERT_TRUE(
        CopyFileW((testfiles::ExeFolder() + L"\\pmrun_launch_probe.exe").c_str(), program.c_str(), FALSE));
    DeleteFileW((program + L".log").c_str());
    Start(L"");
    ButtonRecord record;
    record.Program = program;
    record.WorkFolder = folder;
    record.Options = L"引数";
    launcher->SetButton(1, record);
    Click(1);
    ASSERT_TRUE(PumpUntil([&] { return !testfiles::ProbeStarts(program).empty(); }, 10s));
    const auto starts = testfiles::ProbeStarts(program);
    EXPECT_EQ(CompareStringOrdinal(WithoutTrailingBackslash(starts[0].folder).c_str(), -1, folder.c_str(), -1,
                                   TRUE),
              CSTR_EQUAL)
        << testfiles::ToAnsi(starts[0].folder);
    EXPECT_TRUE(starts[0].commandLine.ends_with(L"引数")) << testfiles::ToAnsi(starts[0].commandLine);
    DeleteFileW((program + L".log").c_str());
    DeleteFileW(program.c_str());
    RemoveDirectoryW(folder.c_str());
}

TEST_F(ButtonActionsTest, APendingLaunchStartsOnceShowsItIsStartingAndHidesOnlyAPanelNobodyAskedFor) {
    const std::wstring program = Probe(L"pmrun_pending.exe");
    TBtnF1* panel = Start(L"[btn1]\r\npg=" + program + L"\r\n");
    panel->Show();
    RECT button = panel->Buttons[1]->ItemRect();
    MapWindowPoints(panel->ToolBar1.Handle(), nullptr, reinterpret_cast<POINT*>(&button), 2);
    SetCursorPos((button.left + button.right) / 2, (button.top + button.bottom) / 2);
    const HCURSOR starting = LoadCursorW(nullptr, IDC_APPSTARTING);

    // Asked for twice before the answer, and then for the panel: one start, and the panel stays.
    Click(1);
    Click(1);
    EXPECT_EQ(GetCursor(), starting);
    // Only over the button that is starting.
    const RECT other = panel->Buttons[2]->ItemRect();
    POINT away{(other.left + other.right) / 2, (other.top + other.bottom) / 2};
    ClientToScreen(panel->ToolBar1.Handle(), &away);
    SetCursorPos(away.x, away.y);
    SendMessageW(panel->ToolBar1.Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(panel->ToolBar1.Handle()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_NE(GetCursor(), starting);
    panel->Show();
    ASSERT_TRUE(PumpUntil([&] { return !panel->LaunchesPending(); }, 10s));
    EXPECT_TRUE(panel->Visible());
    EXPECT_NE(GetCursor(), starting);
    ASSERT_TRUE(PumpUntil([&] { return !testfiles::ChildRunning(GetCurrentProcessId(), L"pmrun_pending.exe"); }, 10s));
    EXPECT_EQ(testfiles::ProbeStarts(program).size(), 1u);
    // A mode begun before the answer keeps the panel too; with nothing asked since, the answer hides it.
    Click(1);
    mascot->PM_BtnChange.Click();
    ASSERT_TRUE(PumpUntil([&] { return !panel->LaunchesPending(); }, 10s));
    EXPECT_TRUE(panel->Visible());
    mascot->PM_BtnChange.Click();
    Click(1);
    EXPECT_TRUE(PumpUntil([&] { return !panel->Visible(); }, 10s));
}

TEST_F(ButtonActionsTest, AButtonDraggedOntoAnotherSwapsWithItAndEscGivesTheDragUp) {
    TBtnF1* panel = Start(L"[btn1]\r\npg=C:\\one.exe\r\nlb=one\r\n[btn3]\r\npg=C:\\three.exe\r\n");
    panel->Show();
    const HWND bar = panel->ToolBar1.Handle();
    const auto drag = [&](int from, int to, bool escape) {
        SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, Centre(from));
        SendMessageW(bar, WM_MOUSEMOVE, MK_LBUTTON, Centre(to));
        EXPECT_EQ(panel->ToolBar1.MarkedButton(), to - 1);
        if (escape) SendMessageW(bar, WM_KEYDOWN, VK_ESCAPE, 0);
        SendMessageW(bar, WM_LBUTTONUP, 0, Centre(to));
        app->ProcessMessages();
    };
    drag(1, 2, true); // given up over a free button: no swap, and no click on it either
    EXPECT_EQ(panel->Records[1].Program, L"C:\\one.exe");
    EXPECT_EQ(mascot->EditMode(), EditState::None);
    drag(1, 3, false);
    EXPECT_EQ(panel->Records[3].Program, L"C:\\one.exe");
    EXPECT_EQ(panel->Records[1].Program, L"C:\\three.exe");
    EXPECT_EQ(panel->Buttons[3]->Hint(), L"one");
    EXPECT_EQ(SavedValue(3, "pg"), "C:\\one.exe");
    EXPECT_EQ(SavedValue(1, "pg"), "C:\\three.exe");
    EXPECT_FALSE(panel->LaunchesPending()); // a drag is no click
    EXPECT_EQ(panel->ToolBar1.MarkedButton(), -1);
    // In an edit mode a drop on a button does nothing, and the pointer says so; and nothing drags: a press
    // that moved past the drag distance, up on its button, is its click.
    mascot->PM_BtnDel.Click();
    const RECT r = panel->Buttons[1]->ItemRect();
    POINT at{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(bar, &at);
    EXPECT_EQ(panel->DropEffectAt(at), static_cast<DWORD>(DROPEFFECT_NONE));
    SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(r.left + 4, r.top + 4));
    SendMessageW(bar, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(r.right - 4, r.bottom - 4));
    SendMessageW(bar, WM_LBUTTONUP, 0, MAKELPARAM(r.right - 4, r.bottom - 4));
    app->ProcessMessages();
    EXPECT_FALSE(panel->Records[1].Assigned());
}

TEST_F(ButtonActionsTest, AStartGoesWithItsItemAndFilesDroppedOnItOpenOnceItHasAnswered) {
    const std::wstring first = Probe(L"pmrun_first.exe"), second = Probe(L"pmrun_second.exe");
    TBtnF1* panel = Start(L"[btn1]\r\npg=" + first + L"\r\n[btn2]\r\npg=" + second + L"\r\n");
    panel->Show();
    // Each answer is held back (nothing is pumped) while the user goes on.
    Drag({1, 3, 1}); // away and back to its own button: the drag does nothing, so it is the first's click
    ASSERT_TRUE(panel->LaunchesPending());
    Drag({1, 2});    // the first, starting, swaps places with the second
    Click(2);        // the first again: still starting
    Click(1);        // the second starts
    POINT on2{LOWORD(Centre(2)), HIWORD(Centre(2))};
    MapWindowPoints(panel->ToolBar1.Handle(), panel->Handle(), &on2, 1);
    const HDROP drop = testfiles::MakeDrop({L"C:\\dropped.txt"}, on2);
    SendMessageW(panel->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    ASSERT_TRUE(PumpUntil([&] { return !panel->LaunchesPending(); }, 10s));
    ASSERT_TRUE(PumpUntil([&] { return testfiles::ProbeStarts(first).size() == 2 && testfiles::ProbeStarts(second).size() == 1; }, 10s));
    // The two programs log as they come up, in whichever order that is.
    const auto starts = testfiles::ProbeStarts(first);
    EXPECT_EQ(std::count_if(starts.begin(), starts.end(),
                            [](const auto& start) { return start.commandLine.find(L"C:\\dropped.txt") != std::wstring::npos; }),
              1);
    // Nothing more comes.
    ASSERT_TRUE(wintest::PumpTicks(3, 100ms));
    EXPECT_EQ(testfiles::ProbeStarts(first).size(), 2u);
}

// Through WM_DROPFILES, as from a program of lower integrity; a drag through OLE is shown end to end.
TEST_F(ButtonActionsTest, FilesDroppedOnAFreeButtonRegisterTheFirstThere) {
    TBtnF1* panel = Start(L"[btn1]\r\npg=C:\\one.exe\r\n");
    const std::wstring program = testfiles::ExeFolder() + L"\\pmrun_launch_probe.exe";
    RECT r = panel->Buttons[5]->ItemRect();
    MapWindowPoints(panel->ToolBar1.Handle(), panel->Handle(), reinterpret_cast<POINT*>(&r), 2);
    const HDROP drop = testfiles::MakeDrop({program, L"C:\\ignored.txt"}, {(r.left + r.right) / 2, r.top + 2});
    SendMessageW(panel->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    ASSERT_TRUE(PumpUntil([&] { return panel->DropsPending() == 0; }, 10s));
    EXPECT_EQ(panel->Records[5].Program, program);
    EXPECT_EQ(SavedValue(5, "pg"), testfiles::ToAnsi(program));
    EXPECT_TRUE(panel->Records[2].Program.empty()); // not the first free button
}

TEST_F(ButtonActionsTest, CtrlShiftWithAClickOrTheKeyStartsTheItemAsAdministrator) {
    const std::wstring probe = Probe(L"pmrun_verbs.exe");
    const std::wstring document = wintest::TempPath(L"pmrun_verb.pmrunverb");
    testfiles::WriteFileBytes(document, "x");
    // A file type whose two verbs run the probe, each saying which. Machine-wide: Wine's shell reads no other.
    const auto set = [](const std::wstring& key, const std::wstring& value) {
        RegSetKeyValueW(HKEY_LOCAL_MACHINE, (L"Software\\Classes\\" + key).c_str(), nullptr, REG_SZ, value.c_str(),
                        static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    };
    set(L".pmrunverb", L"pmrun.test.verb");
    for (const wchar_t* verb : {L"open", L"runas"})
        set(L"pmrun.test.verb\\shell\\" + std::wstring(verb) + L"\\command",
            L"\"" + probe + L"\" " + verb + L" \"%1\"");
    TBtnF1* panel = Start(L"[btn1]\r\npg=" + document + L"\r\n");
    BYTE keys[256]{};
    GetKeyboardState(keys);
    const auto hold = [&](BYTE state) {
        keys[VK_CONTROL] = keys[VK_SHIFT] = state;
        SetKeyboardState(keys);
    };
    // Each start is answered and logged before the next, so that the log keeps their order.
    const auto started = [&](std::size_t count) {
        return PumpUntil([&] { return !panel->LaunchesPending() && testfiles::ProbeStarts(probe).size() == count; },
                         10s);
    };
    hold(0x80);
    Click(1);
    ASSERT_TRUE(started(1));
    PostMessageW(panel->ToolBar1.Handle(), WM_KEYDOWN, '1', 0);
    app->ProcessMessages();
    ASSERT_TRUE(started(2));
    hold(0);
    Click(1);
    ASSERT_TRUE(started(3));
    const auto starts = testfiles::ProbeStarts(probe);
    for (std::size_t i = 0; i < starts.size(); ++i)
        EXPECT_NE(starts[i].commandLine.find(i < 2 ? L" runas " : L" open "), std::wstring::npos)
            << testfiles::ToAnsi(starts[i].commandLine);
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Classes\\pmrun.test.verb");
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Classes\\.pmrunverb");
    DeleteFileW(document.c_str());
}

TEST_F(ButtonActionsTest, AnUnwritableFileIsReportedBySwapAndRemovalAndLosesNothing) {
    TBtnF1* panel = Start(L"[btn1]\r\npg=C:\\one.exe\r\nlb=いち\r\n[btn2]\r\npg=C:\\two.exe\r\n"
                          L"[btn3]\r\npg=C:\\three.exe\r\n");
    const std::string before = testfiles::ReadFileBytes(SettingsPath());
    // Held open without sharing, as another program or a lost share would hold it.
    HANDLE lock = CreateFileW(SettingsPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    const std::wstring refused = SettingsPath() + L" に書き込めません";

    // Clicks as the bar reports them, so that a failure reaches the error box as in the program.
    auto clickThroughWindow = [this](int button) {
        SendMessageW(BtnF1->Handle(), WM_COMMAND, MAKEWPARAM(BtnF1->Buttons[button]->Id(), BN_CLICKED),
                     reinterpret_cast<LPARAM>(BtnF1->ToolBar1.Handle()));
    };
    // The swap is made in memory with its hints and pictures, and the mode ends; only the save failed.
    const auto iconOfOne = PanelImage(*panel, 0);
    EnterMode(mascot->PM_BtnChange);
    clickThroughWindow(1);
    clickThroughWindow(2);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors.back(), refused);
    ExpectModeEnded(mascot->PM_BtnChange, L"ﾎﾞﾀﾝの入れ替え");
    EXPECT_FALSE(panel->Buttons[1]->Down());
    EXPECT_EQ(panel->Records[1].Program, L"C:\\two.exe");
    EXPECT_EQ(panel->Records[2].Program, L"C:\\one.exe");
    EXPECT_EQ(panel->Buttons[2]->Hint(), L"いち");
    EXPECT_EQ(PanelImage(*panel, 1), iconOfOne);

    EnterMode(mascot->PM_BtnDel);
    clickThroughWindow(3);
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_EQ(errors.back(), refused);
    ExpectModeEnded(mascot->PM_BtnDel, L"ﾎﾞﾀﾝの設定削除");
    EXPECT_FALSE(panel->Records[3].Assigned());
    EXPECT_TRUE(IsWindow(mascot->Handle())); // still running
    CloseHandle(lock);
    EXPECT_EQ(testfiles::ReadFileBytes(SettingsPath()), before); // nothing stored was lost

    // Writable again: quitting saves what the panel shows, every key of it (those already in the file
    // keep their place).
    mascot->Close();
    EXPECT_EQ(errors.size(), 2u);
    EXPECT_EQ(testfiles::Sorted(testfiles::KeyOrder(Saved())),
              testfiles::Sorted(testfiles::CompleteLayout()));
    EXPECT_EQ(SavedValue(1, "pg"), "C:\\two.exe");
    EXPECT_EQ(SavedValue(2, "pg"), "C:\\one.exe");
    EXPECT_EQ(SavedValue(2, "lb"), testfiles::ToAnsi(L"いち"));
    EXPECT_EQ(SavedValue(3, "pg"), "");
}
