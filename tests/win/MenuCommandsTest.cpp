// The mascot's menu commands besides the edit modes, the hot keys' actions and the tray icon's click.

#include "WinTestSupport.h"

#include "base/Handles.h"
#include "base/PathParts.h"
#include "components/ExitWin32.h"
#include "components/FmxUtils.h"
#include "dialogs/OptSet.h"
#include "dialogs/VerDlg.h"
#include "mascot/HelpGuide.h"
#include "mascot/eye1.h"
#include "panel/Btn.h"
#include "ui/Language.h"

#include <functional>

using namespace std::chrono_literals;

namespace {

// Runs once inside whatever modal loop is running when the timer comes due.
std::function<void()> g_whileModal;
void CALLBACK RunWhileModal(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    auto action = std::move(g_whileModal);
    if (action) action();
}
void WhileModal(std::function<void()> action) {
    g_whileModal = std::move(action);
    SetTimer(nullptr, 0, 50, RunWhileModal);
}

HWND VisibleWindowOfClass(const wchar_t* className) {
    HWND found = nullptr;
    for (HWND w = FindWindowW(className, nullptr); w; w = FindWindowExW(nullptr, w, className, nullptr))
        if (IsWindowVisible(w)) found = w;
    return found;
}

std::vector<std::wstring> ChildTexts(HWND parent) {
    std::vector<std::wstring> texts;
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM param) {
            wchar_t text[256] = {};
            GetWindowTextW(child, text, 256);
            reinterpret_cast<std::vector<std::wstring>*>(param)->push_back(text);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&texts));
    return texts;
}

POINT Cursor() {
    POINT p{};
    GetCursorPos(&p);
    return p;
}

BOOL WINAPI RefuseEndSession(UINT, DWORD) {
    return FALSE;
}
BOOL WINAPI TokenOpens(HANDLE, DWORD, PHANDLE token) {
    *token = nullptr;
    return TRUE;
}
BOOL WINAPI PrivilegeFound(LPCWSTR, LPCWSTR, PLUID) {
    return TRUE;
}
BOOL WINAPI PrivilegeAdjusted(HANDLE, BOOL, PTOKEN_PRIVILEGES, DWORD, PTOKEN_PRIVILEGES, PDWORD) {
    return TRUE;
}

class MenuCommandsTest : public wintest::AppTest {
protected:
    TpamuF* Start(const std::wstring& eyeKeys = L"") {
        mascot =
            StartProgram(L"[eye]\r\nColor=clAqua\r\nLWall=2\r\nTWall=2\r\nRWall=2\r\nBWall=2\r\n" + eyeKeys +
                         L"[btnform]\r\nleft=200\r\ntop=200\r\nwidth=238\r\n[btn1]\r\npg=C:\\one.exe\r\n");
        mascot->Timer1.SetEnabled(false);
        return mascot;
    }
    void TearDown() override {
        SetCursorPos(900, 650);
        wintest::AppTest::TearDown();
        ui::ChooseLanguageForTests(std::nullopt);
    }
    std::wstring Shown(const ui::MenuItem& item) const {
        wchar_t text[128]{};
        GetMenuStringW(mascot->PopupMenu1.Handle(), item.Command(), text, 128, MF_BYCOMMAND);
        return text;
    }
    TpamuF* mascot = nullptr;
};

} // namespace

TEST_F(MenuCommandsTest, EveryTextHasItsEnglishAndAnEnglishUserSeesItInTheMenuAndTheModes) {
    const std::vector<ui::TextPair> table = ui::TranslationTable();
    EXPECT_GE(table.size(), 70u);
    for (std::size_t i = 0; i < table.size(); ++i)
        EXPECT_FALSE(table[i].english.empty()) << "text " << i << " of the Japanese table";
    ui::ChooseLanguageForTests(ui::Language::English);
    Start();
    EXPECT_EQ(Shown(mascot->PM_Option), L"Options...");
    EXPECT_EQ(Shown(mascot->PM_Close), L"Quit Pamu");
    mascot->PM_BtnChange.Click();
    EXPECT_EQ(Shown(mascot->PM_BtnChange), L"Stop swapping");
    EXPECT_EQ(BtnF1->Caption(), L"Press the first button to swap");
    EXPECT_EQ(mascot->PM_BtnChange.Caption(), L"ﾎﾞﾀﾝの入れ替えの中止"); // the program's own name for it
    // Texts made from a pattern, and of several lines; a text of the user's stays as it is.
    EXPECT_EQ(ui::Localized(L"ボタン7の詳細設定"), L"Button 7 settings");
    EXPECT_EQ(ui::Localized(L"Alt+A は他のプログラムが使用中です\nエラー"), L"Alt+A is in use by another program\nError");
    EXPECT_EQ(ui::Localized(L"C:\\ヘルプ"), L"C:\\ヘルプ");
}

TEST_F(MenuCommandsTest, HotKeysShowAndHideThePanel) {
    Start();
    BtnF1->Hide();
    mascot->HookHotKey1HotKey(1);
    EXPECT_TRUE(BtnF1->Visible());
    EXPECT_TRUE(BtnF1->ToolBar1.ShowCaptions());
    EXPECT_EQ(BtnF1->VertScrollIncrement(), BtnF1->ToolBar1.ButtonHeight());
    EXPECT_EQ(Cursor().x, BtnF1->Left() + 10);
    EXPECT_EQ(Cursor().y, BtnF1->Top() + 10);

    mascot->HookHotKey1HotKey(2);
    EXPECT_FALSE(BtnF1->Visible());
    EXPECT_FALSE(BtnF1->ToolBar1.ShowCaptions());
    EXPECT_EQ(BtnF1->ToolBar1.ButtonHeight(), 38);
    EXPECT_EQ(BtnF1->ClientWidth(), BtnF1->ToolBar1.Width());
    EXPECT_EQ(Cursor().x, BtnF1->Left() - 10);
    EXPECT_EQ(Cursor().y, BtnF1->Top() - 10);

    mascot->HookHotKey1HotKey(5); // no such key: nothing
    mascot->HookHotKey1HotKey(0);
    EXPECT_FALSE(BtnF1->Visible());
}

TEST_F(MenuCommandsTest, CancelKeyEndsTheModeAndHidesThePanel) {
    Start();
    mascot->PM_BtnChange.Click();
    BtnF1->Buttons[1]->Click(); // a source is picked
    ASSERT_TRUE(BtnF1->Buttons[1]->Down());
    mascot->HookHotKey1HotKey(3);
    EXPECT_EQ(mascot->EditMode(), EditState::None);
    EXPECT_FALSE(BtnF1->Buttons[1]->Down());
    EXPECT_EQ(launcher->SwapSource(), 0);
    EXPECT_EQ(mascot->PM_BtnChange.Caption(), L"ﾎﾞﾀﾝの入れ替え");
    EXPECT_EQ(mascot->ui::Form::Color(), clAqua);
    EXPECT_FALSE(BtnF1->Visible());
    EXPECT_EQ(Cursor().x, BtnF1->Left() - 10);

    mascot->PM_BtnDel.Click();
    mascot->HookHotKey1HotKey(3);
    EXPECT_EQ(mascot->EditMode(), EditState::None);
    EXPECT_EQ(mascot->PM_BtnDel.Caption(), L"ﾎﾞﾀﾝの設定解除"); // a cancelled removal reads so
    mascot->HookHotKey1HotKey(3);                              // no mode: only hides
    EXPECT_EQ(mascot->EditMode(), EditState::None);
}

TEST_F(MenuCommandsTest, MenuKeyOpensTheMenuAtThePanelsCorner) {
    Start();
    BtnF1->Hide();
    // The key's own Alt press, still queued, would close the menu; keys typed at that moment reach it.
    PostMessageW(mascot->Handle(), WM_KEYDOWN, VK_MENU, 0);
    for (WORD key : {VK_DOWN, VK_DOWN, VK_RETURN}) // the second item: ﾎﾞﾀﾝの詳細設定
        PostMessageW(mascot->Handle(), WM_KEYDOWN, key, 0);
    bool menuOpen = false;
    WhileModal([&] {
        menuOpen = FindWindowW(L"#32768", nullptr) && IsWindowVisible(FindWindowW(L"#32768", nullptr));
        EndMenu();
    });
    mascot->HookHotKey1HotKey(4);
    EXPECT_TRUE(BtnF1->Visible());
    EXPECT_TRUE(BtnF1->ToolBar1.ShowCaptions());
    EXPECT_EQ(Cursor().x, BtnF1->Left() + 10);
    EXPECT_EQ(mascot->EditMode(), EditState::SetDetails);
    mascot->PM_BtnSetClick();

    // Without keys the menu stays open until it is closed.
    WhileModal([&] {
        menuOpen = FindWindowW(L"#32768", nullptr) && IsWindowVisible(FindWindowW(L"#32768", nullptr));
        EndMenu();
    });
    mascot->HookHotKey1HotKey(4);
    EXPECT_TRUE(menuOpen);
    EXPECT_EQ(mascot->EditMode(), EditState::None);
}

TEST_F(MenuCommandsTest, TrayClickShowsThePanelInAnyMode) {
    Start(L"ApSc=\r\nDApSc=\r\nPamuHide=No\r\n");
    ASSERT_TRUE(mascot->HoverMode());
    mascot->PM_BtnDel.Click();
    BtnF1->Hide();
    BtnF1->ToolBar1.SetShowCaptions(true);
    mascot->TrayIcon1MouseClick(ui::MouseButton::mbLeft, {}, 0, 0);
    EXPECT_TRUE(BtnF1->Visible());
    EXPECT_FALSE(BtnF1->ToolBar1.ShowCaptions());
    EXPECT_EQ(mascot->EditMode(), EditState::Remove);
}

TEST_F(MenuCommandsTest, OptionsRunInModeFourAndLeaveModeZero) {
    Start();
    BtnF1->Buttons[5]->Click(); // mode 1 by a click: the options item stays enabled
    ASSERT_EQ(mascot->EditMode(), EditState::SetDetails);
    ASSERT_TRUE(mascot->PM_Option.Enabled());
    EditState modeWhileOpen = EditState::None;
    WhileModal([&] {
        modeWhileOpen = mascot->EditMode();
        ASSERT_NE(OptSetF, nullptr);
        EXPECT_EQ(OptSetF->Caption(), L"ぱむぱむランチ－オプション設定");
        OptSetF->Close();
    });
    mascot->PM_Option.Click();
    EXPECT_EQ(modeWhileOpen, EditState::Options);
    EXPECT_EQ(mascot->EditMode(), EditState::None);
    // The rest of mode 1 stays as it was: blue, and the item still offers to cancel.
    EXPECT_EQ(mascot->ui::Form::Color(), clBlue);
    EXPECT_EQ(mascot->PM_BtnSet.Caption(), L"詳細設定の中止");
    // Choosing it now enters mode 1 again, and once more ends it.
    mascot->PM_BtnSet.Click();
    EXPECT_EQ(mascot->EditMode(), EditState::SetDetails);
    mascot->PM_BtnSet.Click();
    EXPECT_EQ(mascot->EditMode(), EditState::None);
    EXPECT_EQ(mascot->ui::Form::Color(), clAqua);
}

TEST_F(MenuCommandsTest, VersionBoxShowsTheProgramsVersion) {
    Start();
    std::vector<std::wstring> texts;
    std::wstring caption;
    WhileModal([&] {
        HWND box = VisibleWindowOfClass(L"TVerDlgF");
        ASSERT_NE(box, nullptr);
        wchar_t text[64] = {};
        GetWindowTextW(box, text, 64);
        caption = text;
        texts = ChildTexts(box);
        // Enter: the default button closes it.
        PostMessageW(GetDlgItem(box, IDOK), WM_KEYDOWN, VK_RETURN, 0);
    });
    mascot->PM_About.Click();
    EXPECT_EQ(caption, L"ﾊﾞｰｼﾞｮﾝ情報");
    EXPECT_NE(std::find(texts.begin(), texts.end(), L"Ver 2.04"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), L"ぱむぱむランチ"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), L"OK"), texts.end());
    app->ProcessMessages();
    EXPECT_EQ(VisibleWindowOfClass(L"TVerDlgF"), nullptr);
    EXPECT_TRUE(errors.empty());
}

TEST_F(MenuCommandsTest, RefusedShutdownAndRestartAreReported) {
    Start();
    ExitWinPlatform refusing;
    refusing.OpenToken = TokenOpens;
    refusing.LookupPrivilege = PrivilegeFound;
    refusing.AdjustPrivileges = PrivilegeAdjusted;
    refusing.EndSession = RefuseEndSession;
    mascot->ExitWin1 = TExitWin(refusing);
    try {
        mascot->PM_WinEnd.Click();
        ADD_FAILURE() << "no error";
    } catch (const EExitError& e) {
        EXPECT_EQ(e.Message(), L"Windows の電源を切れる状態にできませんでした。");
    }
    try {
        mascot->PM_WinReset.Click();
        ADD_FAILURE() << "no error";
    } catch (const EExitError& e) {
        EXPECT_EQ(e.Message(), L"Windows を再起動できませんでした。");
    }
    EXPECT_FALSE(app->Terminated());
}

TEST_F(MenuCommandsTest, HelpOpensTheGuideUnlessAHelpFileLiesBesideTheProgram) {
    Start();
    app->HelpFile = L"pmrun.hlp";
    const std::wstring folder = ExtractFilePath(ui::Application::ExeName());
    std::vector<std::wstring> opened;
    bool opens = true;
    HelpGuide::Override = [&](const std::wstring& path) {
        opened.push_back(path);
        return opens;
    };
    int engineCalls = 0;
    app->OnHelp = [&](UINT command, ULONG_PTR, bool& callHelp) {
        EXPECT_EQ(command, static_cast<UINT>(HELP_FINDER));
        ++engineCalls;
        callHelp = false;
        return true;
    };
    struct Restore {
        ~Restore() {
            HelpGuide::Override = nullptr;
            DeleteFileW(hlp.c_str());
        }
        std::wstring hlp;
    } restore{folder + L"pmrun.hlp"};

    // No help file: the guide of the interface's language, which the build put beside the program.
    mascot->PM_Help.Click();
    const bool japanese = PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE;
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], folder + (japanese ? L"guide\\guide.ja.html" : L"guide\\guide.en.html"));
    EXPECT_TRUE(FileExists(opened[0]));
    EXPECT_EQ(engineCalls, 0);

    // A guide that will not open is reported, not passed over.
    opens = false;
    try {
        mascot->PM_Help.Click();
        ADD_FAILURE() << "no error";
    } catch (const Exception& e) {
        EXPECT_NE(e.Message().find(L"ヘルプを開けません"), std::wstring::npos);
    }

    // With the help file there, the help engine gets it and no guide opens.
    ASSERT_TRUE(base::UniqueFileHandle(
        CreateFileW(restore.hlp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr)));
    opened.clear();
    mascot->PM_Help.Click();
    EXPECT_EQ(engineCalls, 1);
    EXPECT_TRUE(opened.empty());
}

TEST_F(MenuCommandsTest, QuitSavesEverythingAndEndsTheProgram) {
    Start();
    mascot->SetBounds(321, 45, 31, 31);
    mascot->PM_Close.Click();
    app->ProcessMessages();
    EXPECT_TRUE(app->Terminated());
    const auto keys = testfiles::ParseIni(testfiles::ReadFileBytes(wintest::SettingsPath()));
    EXPECT_EQ(testfiles::ValueOf(keys, "eye", "Left"), "321");
    EXPECT_EQ(testfiles::ValueOf(keys, "eye", "Top"), "45");
    EXPECT_EQ(testfiles::ValueOf(keys, "btn1", "pg"), "C:\\one.exe");
}

TEST_F(MenuCommandsTest, VersionBoxWithoutAVersionResourceStillOpens) {
    Start();
    const std::wstring plain = wintest::TempPath(L"pmrun_no_version.txt");
    testfiles::WriteFileBytes(plain, "no version here");
    TVerDlgF::VersionSource = plain;
    std::vector<std::wstring> texts;
    WhileModal([&] {
        HWND box = VisibleWindowOfClass(L"TVerDlgF");
        ASSERT_NE(box, nullptr);
        texts = ChildTexts(box);
        PostMessageW(GetDlgItem(box, IDOK), WM_KEYDOWN, VK_RETURN, 0);
    });
    mascot->PM_About.Click();
    TVerDlgF::VersionSource.clear();
    DeleteFileW(plain.c_str());
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], L"バージョン情報が取得できません.");
    EXPECT_NE(std::find(texts.begin(), texts.end(), L"VerSion:"), texts.end());
}

TEST_F(MenuCommandsTest, ModesFromTheMenuShowThePanelAsItIs) {
    Start();
    BtnF1->Hide();
    BtnF1->ToolBar1.SetShowCaptions(true); // as hot key 1 left it
    mascot->PM_BtnDel.Click();
    EXPECT_TRUE(BtnF1->Visible());
    EXPECT_TRUE(BtnF1->ToolBar1.ShowCaptions());
}
