// The single-instance guard, the application settings component, the application events it carries,
// and where the program's hints appear.

#include "WinTestSupport.h"

#include "components/SysCtrls.h"
#include "panel/Btn.h"
#include "ui/Hints.h"

#include <commctrl.h>
#include <sddl.h>

#include <algorithm>
#include <optional>
#include <string>

using namespace std::chrono_literals;

namespace {

// A mutex name of this test process alone, so that no running program is disturbed.
std::wstring TestMutexName(const wchar_t* tag) {
    return std::wstring(L"pmrunTest") + tag + std::to_wstring(GetCurrentProcessId());
}

class SingleInstanceTest : public wintest::AppTest {};

} // namespace

TEST_F(SingleInstanceTest, OnlyOneComponentPerProcess) {
    auto first = std::make_unique<TSingleInstance>();
    EXPECT_EQ(first->DupInstAction, TDupInstAction::diActivateFirst);
    EXPECT_EQ(first->ErrorMessage, L"すでに起動されています");
    EXPECT_EQ(first->UniqueName, L"");
    try {
        TSingleInstance second;
        FAIL() << "a second component was made";
    } catch (const EMultiSingleInstance& e) {
        EXPECT_EQ(e.Message(), L"Only single component allowed");
    }
    // The refused one does not count: once the first is gone, a new one may be made.
    first.reset();
    EXPECT_NO_THROW(TSingleInstance());
}

TEST_F(SingleInstanceTest, TheFirstHoldsTheNameUntilItGoes) {
    const std::wstring name = TestMutexName(L"First");
    {
        TSingleInstance guard;
        guard.UniqueName = name;
        bool duplicate = false;
        guard.OnDuplicate = [&] { duplicate = true; };
        EXPECT_TRUE(guard.Loaded());
        EXPECT_TRUE(guard.HoldsName());
        EXPECT_FALSE(duplicate);
        HANDLE open = OpenMutexW(SYNCHRONIZE, FALSE, name.c_str());
        EXPECT_NE(open, nullptr);
        if (open) CloseHandle(open);
    }
    // Gone with its component: the next start is a first one again.
    EXPECT_EQ(OpenMutexW(SYNCHRONIZE, FALSE, name.c_str()), nullptr);
    TSingleInstance next;
    next.UniqueName = name;
    next.Loaded();
    EXPECT_TRUE(next.HoldsName());
}

TEST_F(SingleInstanceTest, ACopyRunAsAdministratorIsTheFirstInstance) {
    const std::wstring name = TestMutexName(L"Elevated");
    // Its name, as a copy run elevated leaves it to others: waiting on it, nothing more.
    base::UniqueLocalMem<void> descriptor;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:(A;;0x100000;;;WD)", SDDL_REVISION_1,
                                                                     descriptor.put(), nullptr));
    SECURITY_ATTRIBUTES attributes{sizeof(attributes), descriptor.get(), FALSE};
    base::UniqueHandle running(CreateMutexW(&attributes, FALSE, name.c_str()));
    ASSERT_TRUE(running);
    TSingleInstance guard;
    guard.UniqueName = name;
    guard.DupInstAction = TDupInstAction::diTerminate;
    EXPECT_FALSE(guard.Loaded());
}

TEST_F(SingleInstanceTest, ASecondInstanceActsAsTold) {
    const std::wstring name = TestMutexName(L"Second");
    // The running first instance, as another process would hold it.
    base::UniqueHandle running(CreateMutexW(nullptr, FALSE, name.c_str()));
    ASSERT_TRUE(running);

    {
        TSingleInstance guard;
        guard.UniqueName = name;
        guard.DupInstAction = TDupInstAction::diException;
        guard.ErrorMessage = L"もう動いています";
        int duplicates = 0;
        guard.OnDuplicate = [&] { ++duplicates; }; // fired before the action
        try {
            guard.Loaded();
            FAIL() << "no exception";
        } catch (const EMultiAppInstance& e) {
            EXPECT_EQ(e.Message(), L"もう動いています");
        }
        EXPECT_EQ(duplicates, 1);
        EXPECT_FALSE(guard.HoldsName());
    }
    {
        TSingleInstance guard;
        guard.UniqueName = name;
        guard.DupInstAction = TDupInstAction::diTerminate;
        EXPECT_FALSE(guard.Loaded());
        EXPECT_FALSE(guard.HoldsName());
        EXPECT_EQ(TSingleInstance::WindowToActivate(), nullptr);
    }
}

TEST_F(SingleInstanceTest, ActivateFirstLooksForTheApplicationWindowNamedAfterTheProgram) {
    const std::wstring name = TestMutexName(L"Activate");
    base::UniqueHandle running(CreateMutexW(nullptr, FALSE, name.c_str()));
    // A first instance's application window: class "TApplication", caption the executable's base
    // name in another case. A window of another class with that caption does not count.
    HWND decoy = CreateWindowExW(0, L"STATIC", L"pmrun_win_tests", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    HWND firstApp = CreateWindowExW(0, L"TApplication", L"PMRUN_WIN_TESTS", WS_POPUP, 0, 0, 0, 0, nullptr,
                                    nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(firstApp);
    // This process's own application window carries the caption too, and is skipped.
    app->SetTitle(L"pmrun_win_tests");

    TSingleInstance guard;
    guard.UniqueName = name;
    EXPECT_FALSE(guard.Loaded()); // diActivateFirst, as constructed
    EXPECT_EQ(TSingleInstance::WindowToActivate(), GetLastActivePopup(firstApp));
    EXPECT_EQ(TSingleInstance::WindowToActivate(), firstApp);
    DestroyWindow(firstApp);
    DestroyWindow(decoy);
}

TEST_F(SingleInstanceTest, TheProgramsTitleHidesItFromASecondStart) {
    const std::wstring name = TestMutexName(L"Title");
    base::UniqueHandle running(CreateMutexW(nullptr, FALSE, name.c_str()));
    // The title "ぱむぱむランチ" is not the executable's name, so there is nothing to bring forward.
    HWND firstApp = CreateWindowExW(0, L"TApplication", L"ぱむぱむランチ", WS_POPUP, 0, 0, 0, 0, nullptr,
                                    nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(firstApp);
    TSingleInstance guard;
    guard.UniqueName = name;
    EXPECT_FALSE(guard.Loaded());
    EXPECT_EQ(TSingleInstance::WindowToActivate(), nullptr);
    DestroyWindow(firstApp);
}

namespace {

class PseudoAppTest : public wintest::AppTest {};

} // namespace

TEST_F(PseudoAppTest, OnlyOnePerProcess) {
    auto first = std::make_unique<TPseudoApp>();
    try {
        TPseudoApp second;
        FAIL() << "a second component was made";
    } catch (const EPseudoAppError& e) {
        EXPECT_EQ(e.Message(), L"Only Single Instance Allowed");
    }
    first.reset();
    EXPECT_NO_THROW(TPseudoApp());
}

TEST_F(PseudoAppTest, CopiesItsSettingsAndTheEventsTheApplicationLacks) {
    TPseudoApp carrier;
    EXPECT_EQ(carrier.HintColor, clInfoBk);
    EXPECT_EQ(carrier.HintPause, 500);
    EXPECT_EQ(carrier.HintShortPause, 50);
    EXPECT_EQ(carrier.HintHidePause, 2500);
    EXPECT_TRUE(carrier.ShowHint);
    EXPECT_TRUE(carrier.ShowMainForm);

    carrier.HintColor = clAqua;
    carrier.HintPause = 700;
    carrier.HintShortPause = 70;
    carrier.HintHidePause = 7000;
    carrier.ShowHint = false;
    carrier.ShowMainForm = false;
    std::vector<std::wstring> calls;
    carrier.OnException = [&](const std::wstring&) { calls.push_back(L"carrier exception"); };
    carrier.OnActivate = [&] { calls.push_back(L"carrier activate"); };
    carrier.OnHint = [&] { calls.push_back(L"carrier hint"); };
    carrier.OnMinimize = [&] { calls.push_back(L"carrier minimize"); };
    app->OnActivate = [&] { calls.push_back(L"own activate"); };
    carrier.Loaded();

    EXPECT_EQ(app->HintColor, clAqua);
    EXPECT_EQ(app->HintPause, 700);
    EXPECT_EQ(app->HintShortPause, 70);
    EXPECT_EQ(app->HintHidePause, 7000);
    EXPECT_FALSE(app->ShowHint);
    EXPECT_FALSE(app->ShowMainForm);
    // The application's own handlers stay (the test's error collector among them).
    app->ShowException(L"x");
    EXPECT_EQ(errors, std::vector<std::wstring>{L"x"});
    app->OnActivate();
    app->SetHint(L"a hint");
    app->Minimize();
    app->Restore();
    EXPECT_EQ(calls, (std::vector<std::wstring>{L"own activate", L"carrier hint", L"carrier minimize"}));
    EXPECT_FALSE(app->OnRestore);
}

TEST_F(PseudoAppTest, OnAFormOtherThanTheFirstItChangesNothing) {
    StartProgram(); // the mascot is the main form now
    ASSERT_NE(app->MainForm(), nullptr);
    TpamuF* mascot = pamuF;
    ASSERT_TRUE(app->OnShowHint);
    // Loaded again now that a main form exists: nothing is copied.
    auto before = app->HintPause;
    app->OnHint = nullptr;
    mascot->PseudoApp1.HintPause = 900;
    mascot->PseudoApp1.OnHint = [] {};
    mascot->PseudoApp1.Loaded();
    EXPECT_EQ(app->HintPause, before);
    EXPECT_FALSE(app->OnHint);
}

TEST_F(PseudoAppTest, TheMascotGivesTheApplicationItsHintTimingsAndPlacement) {
    app->HintPause = 1;
    app->HintHidePause = 1;
    TpamuF* mascot = StartProgram();
    EXPECT_EQ(app->HintColor, clInfoBk);
    EXPECT_EQ(app->HintPause, 500);
    EXPECT_EQ(app->HintShortPause, 50);
    EXPECT_EQ(app->HintHidePause, 2500);
    EXPECT_TRUE(app->ShowHint);
    // Applied to the tooltips of the forms.
    HWND tooltip = BtnF1->Hints().Handle();
    EXPECT_EQ(SendMessageW(tooltip, TTM_GETDELAYTIME, TTDT_INITIAL, 0), 500);
    EXPECT_EQ(SendMessageW(tooltip, TTM_GETDELAYTIME, TTDT_RESHOW, 0), 50);
    EXPECT_EQ(SendMessageW(tooltip, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0), 2500);
    ASSERT_TRUE(app->OnShowHint);

    ui::HintShowInfo info;
    info.text = L"メモ帳";
    info.position = {300, 400};
    ChangeOptions([](EyeOptions& o) { o.HintPos = HintPlace::FromText(L"Hyokota"); });
    app->OnShowHint(info);
    EXPECT_EQ(info.position.x, 300);
    EXPECT_EQ(info.position.y, 400);
    ChangeOptions([](EyeOptions& o) { o.HintPos = HintPlace::FromText(L"PAMU"); }); // only the exact text counts
    app->OnShowHint(info);
    EXPECT_EQ(info.position.x, 300);
    ChangeOptions([](EyeOptions& o) { o.HintPos = HintPlace::FromText(L"pamu"); });
    mascot->Hide(); // the mascot's place counts while it is hidden too
    app->OnShowHint(info);
    EXPECT_EQ(info.position.x, mascot->Left() + 15);
    EXPECT_EQ(info.position.y, mascot->Top() + 30);
    EXPECT_EQ(info.text, L"メモ帳");
    EXPECT_TRUE(info.canShow);
}

namespace {

// The visible tooltip window of this process, or null.
HWND ShownTooltip() {
    HWND found = nullptr;
    for (HWND w = FindWindowW(TOOLTIPS_CLASSW, nullptr); w;
         w = FindWindowExW(nullptr, w, TOOLTIPS_CLASSW, nullptr))
        if (IsWindowVisible(w)) found = w;
    return found;
}

class HintPlacementTest : public wintest::AppTest {
protected:
    void TearDown() override {
        SetCursorPos(900, 650);
        wintest::AppTest::TearDown();
    }
    // Rests the pointer on button 1 of the panel until its hint shows; the hint window's top-left.
    std::optional<POINT> HintOfFirstButton() {
        SetCursorPos(900, 650);
        RECT r = BtnF1->Buttons[1]->ItemRect();
        MapWindowPoints(BtnF1->ToolBar1.Handle(), nullptr, reinterpret_cast<POINT*>(&r), 2);
        // Two moves onto the button, the first one handled before the second is made.
        wintest::MessageWatch moves(BtnF1->ToolBar1.Handle(),
                                    [](UINT message, WPARAM, LPARAM) { return message == WM_MOUSEMOVE; });
        SetCursorPos(r.left + 10, r.top + 10);
        if (!wintest::PumpUntil([&] { return moves.Count() > 0; }, 2s)) return std::nullopt;
        SetCursorPos(r.left + 12, r.top + 12);
        // Put in its place before it shows.
        if (!wintest::PumpUntil([] { return ShownTooltip() != nullptr; }, 3s)) return std::nullopt;
        RECT tip{};
        GetWindowRect(ShownTooltip(), &tip);
        return POINT{tip.left, tip.top};
    }
};

constexpr wchar_t kOneButton[] = L"[btn1]\r\npg=C:\\windows\\notepad.exe\r\nlb=メモ帳\r\n"
                                 L"[btnform]\r\nleft=300\r\ntop=300\r\n";

} // namespace

TEST_F(HintPlacementTest, WithPamuAPanelHintAppearsAtTheMascot) {
    TpamuF* mascot = StartProgram(std::wstring(L"[eye]\r\nHintPos=pamu\r\nTop=100\r\nLeft=600\r\n"
                                               L"LWall=2\r\nTWall=2\r\nRWall=2\r\nBWall=2\r\n") +
                                  kOneButton);
    mascot->Show();
    auto at = HintOfFirstButton();
    ASSERT_TRUE(at);
    EXPECT_EQ(at->x, 615);
    EXPECT_EQ(at->y, 130);
    EXPECT_EQ(app->Hint(), L"メモ帳");
}

TEST_F(HintPlacementTest, OtherwiseItAppearsAtThePointer) {
    TpamuF* mascot = StartProgram(std::wstring(L"[eye]\r\nHintPos=Hyokota\r\nTop=100\r\nLeft=600\r\n"
                                               L"LWall=2\r\nTWall=2\r\nRWall=2\r\nBWall=2\r\n") +
                                  kOneButton);
    mascot->Show();
    auto at = HintOfFirstButton();
    ASSERT_TRUE(at);
    POINT pointer{};
    GetCursorPos(&pointer);
    EXPECT_LT(std::abs(at->x - pointer.x), 40);
    EXPECT_GT(at->y, pointer.y);
    EXPECT_LT(at->y - pointer.y, 60);
}

TEST(ApplicationEvents, MessagesIdleAndHelp) {
    ui::Application app;
    std::vector<UINT> seen;
    app.OnMessage = [&](MSG& msg, bool& handled) {
        seen.push_back(msg.message);
        handled = msg.message == WM_APP + 7; // swallowed before dispatch
        if (msg.message == WM_APP + 8) app.Terminate();
    };
    int idle = 0;
    app.OnIdle = [&](bool& done) {
        // The loop found its queue empty.
        if (++idle == 1) {
            PostMessageW(app.Handle(), WM_APP + 7, 0, 0);
            PostMessageW(app.Handle(), WM_APP + 8, 0, 0);
        }
        done = true;
    };
    app.Run();
    EXPECT_NE(std::find(seen.begin(), seen.end(), WM_APP + 7), seen.end());
    EXPECT_NE(std::find(seen.begin(), seen.end(), WM_APP + 8), seen.end());
    EXPECT_GE(idle, 1);

    int helped = 0;
    app.OnHelp = [&](UINT command, ULONG_PTR data, bool& callHelp) {
        ++helped;
        EXPECT_EQ(command, static_cast<UINT>(HELP_FINDER));
        EXPECT_EQ(data, 0u);
        callHelp = false; // handled here: the help engine is not asked
        return true;
    };
    EXPECT_TRUE(app.HelpCommand(HELP_FINDER, 0));
    EXPECT_EQ(helped, 1);
}
