// The notification-area icon against Wine's shell and against a shell that counts, fails and times
// out; the tracker through the real hidden window; the tray component's events, menus, visibility,
// minimise handling, animation and tooltip colours; the mascot's icon.

#include "WinTestSupport.h"

#include "components/Taskbar.h"
#include "components/TrShlApi.h"
#include "panel/Btn.h"
#include "ui/Menu.h"

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

using namespace std::chrono_literals;

namespace {

// A shell that records every call, passes it on to the real one or answers as told.
struct ShellLog {
    std::vector<DWORD> calls; // NIM_ADD, NIM_MODIFY, NIM_DELETE
    std::function<BOOL(DWORD)> answer; // null: the real shell answers
    int Count(DWORD message) const {
        return static_cast<int>(std::count(calls.begin(), calls.end(), message));
    }
};
ShellLog* g_log = nullptr;

BOOL WINAPI LoggedNotifyIcon(DWORD message, PNOTIFYICONDATAW data) {
    g_log->calls.push_back(message);
    if (g_log->answer) return g_log->answer(message);
    return Shell_NotifyIconW(message, data);
}

// Fails the call with the given error.
BOOL Fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

class TrayTest : public wintest::AppTest {
protected:
    void SetUp() override {
        wintest::AppTest::SetUp();
        g_log = &log;
        saved = TrayShell();
        TrayShell().NotifyIcon = LoggedNotifyIcon;
        picture.reset(static_cast<HICON>(
            LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(102), IMAGE_ICON, 16, 16, 0)));
        ASSERT_TRUE(picture);
    }
    void TearDown() override {
        TrayShell() = saved;
        g_log = nullptr;
        SetCursorPos(900, 650);
        wintest::AppTest::TearDown();
    }
    ShellLog log;
    TrayShellPlatform saved;
    base::UniqueHicon picture;
};

} // namespace

TEST_F(TrayTest, TheRecordAsTheShellGetsIt) {
    TTaskTrayIcon icon;
    EXPECT_GE(HIWORD(icon.ShellVersion), 5); // Wine's shell32 answers DllGetVersion
    EXPECT_TRUE(icon.IsShell5());
    icon.NotifyData.hIcon = picture.get();
    icon.SetTip(L"ぼく、ミニぱむ太");
    ASSERT_TRUE(icon.AddIcon());
    EXPECT_EQ(icon.NotifyData.cbSize, static_cast<DWORD>(NOTIFYICONDATAW_V2_SIZE));
    EXPECT_EQ(icon.NotifyData.uID, 1u);
    EXPECT_EQ(icon.NotifyData.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_EQ(icon.NotifyData.uCallbackMessage, 1224u);
    EXPECT_EQ(icon.NotifyData.dwState, static_cast<DWORD>(NIS_SHAREDICON));
    EXPECT_EQ(icon.NotifyData.dwInfoFlags, 0u);
    HWND wnd = icon.NotifyData.hWnd;
    EXPECT_EQ(wnd, icon.GetWnd());
    EXPECT_EQ(icon.Style.Wnd, wnd);
    wchar_t className[64]{};
    GetClassNameW(wnd, className, 64);
    EXPECT_STREQ(className, L"TaskTrayHandle");
    EXPECT_FALSE(IsWindowVisible(wnd));
    EXPECT_TRUE(GetWindowLongW(wnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_EQ(icon.Tip(), L"ぼく、ミニぱむ太");
    icon.SetTip(std::wstring(300, L'x'));
    EXPECT_EQ(icon.Tip(), std::wstring(127, L'x'));
    icon.SetBalloonText(std::wstring(300, L'b'));
    EXPECT_EQ(std::wstring(icon.NotifyData.szInfo).size(), 255u);
    icon.SetBalloonTitle(std::wstring(100, L't'));
    EXPECT_EQ(std::wstring(icon.NotifyData.szInfoTitle).size(), 63u);
}

TEST_F(TrayTest, AddModifyAndDeleteWithTheRealShell) {
    {
        TTaskTrayIcon icon;
        icon.NotifyData.hIcon = picture.get();
        icon.SetTip(L"one");
        EXPECT_TRUE(icon.AddIcon());
        EXPECT_TRUE(icon.Registered);
        EXPECT_TRUE(icon.AddIcon()); // already there: no second call
        icon.SetTip(L"two");
        EXPECT_TRUE(icon.ModifyIcon());
        EXPECT_TRUE(icon.DeleteIcon());
        EXPECT_FALSE(icon.Registered);
        EXPECT_EQ(log.calls, (std::vector<DWORD>{NIM_ADD, NIM_MODIFY, NIM_DELETE}));
        // A modify of an icon the shell does not hold adds it.
        EXPECT_TRUE(icon.ModifyIcon());
        EXPECT_EQ(log.calls.back(), static_cast<DWORD>(NIM_ADD));
        log.calls.clear();
    }
    // Deleted with its owner.
    EXPECT_EQ(log.calls, std::vector<DWORD>{NIM_DELETE});
}

TEST_F(TrayTest, NoIconMeansNoShellCallAndAnUnregisteredDeleteSucceeds) {
    TTaskTrayIcon icon;
    EXPECT_FALSE(icon.AddIcon());
    EXPECT_FALSE(icon.ModifyIcon());
    EXPECT_TRUE(icon.DeleteIcon());
    EXPECT_TRUE(log.calls.empty());
    EXPECT_FALSE(icon.Registered);
}

TEST_F(TrayTest, TaskbarCreatedAddsAWantedIconRegisteredOrNotAndNotADeletedOne) {
    TTaskTrayIcon icon;
    icon.NotifyData.hIcon = picture.get();
    ASSERT_TRUE(icon.AddIcon());
    log.answer = [](DWORD) { return TRUE; }; // a shell started afresh, which knows no icon
    const UINT created = RegisterWindowMessageW(L"TaskbarCreated");
    EXPECT_EQ(TTaskTrayIcon::TaskbarCreatedMessage(), created);
    SendMessageW(icon.GetWnd(), created, 0, 0);
    EXPECT_EQ(log.Count(NIM_ADD), 2);
    EXPECT_TRUE(icon.Registered);
    icon.DeleteIcon();
    SendMessageW(icon.GetWnd(), created, 0, 0);
    EXPECT_EQ(log.Count(NIM_ADD), 2);
    EXPECT_FALSE(icon.Registered);

    // No notification area yet (an add refused, or timed out and not gone through): not shown, no
    // error, no wait; the task bar's coming adds it.
    for (DWORD error : {DWORD{ERROR_ACCESS_DENIED}, DWORD{ERROR_TIMEOUT}}) {
        log.answer = [error](DWORD) { return Fail(error); };
        EXPECT_FALSE(icon.AddIcon());
        EXPECT_FALSE(icon.Registered);
        log.answer = [](DWORD) { return TRUE; };
        SendMessageW(icon.GetWnd(), created, 0, 0);
        EXPECT_TRUE(icon.Registered);
        icon.DeleteIcon();
    }
    // An add that timed out but went through, as a modify tells.
    log.calls.clear();
    log.answer = [](DWORD message) { return message == NIM_MODIFY ? TRUE : Fail(ERROR_TIMEOUT); };
    EXPECT_TRUE(icon.AddIcon());
    EXPECT_EQ(log.calls, (std::vector<DWORD>{NIM_ADD, NIM_MODIFY}));
    // Its modify timed out too: the next change finds it there (the add refused), and so does the end.
    icon.DeleteIcon();
    log.answer = [](DWORD) { return Fail(ERROR_TIMEOUT); };
    EXPECT_FALSE(icon.AddIcon());
    log.answer = [](DWORD message) { return message == NIM_ADD ? Fail(ERROR_INVALID_PARAMETER) : TRUE; };
    EXPECT_TRUE(icon.ModifyIcon());
    icon.DeleteIcon();
    log.answer = [](DWORD) { return Fail(ERROR_TIMEOUT); };
    EXPECT_FALSE(icon.AddIcon());
    log.calls.clear();
    icon.DeleteIcon();
    EXPECT_EQ(log.calls, (std::vector<DWORD>{NIM_DELETE}));
}

TEST_F(TrayTest, AModifyThatTheShellRefusesAddsTheIconAgain) {
    TTaskTrayIcon icon;
    icon.NotifyData.hIcon = picture.get();
    ASSERT_TRUE(icon.AddIcon());
    log.answer = [](DWORD message) { return message == NIM_MODIFY ? Fail(ERROR_TIMEOUT) : TRUE; };
    EXPECT_TRUE(icon.ModifyIcon()); // a time-out counts as done
    EXPECT_EQ(log.Count(NIM_ADD), 1);
    log.answer = [](DWORD message) { return message == NIM_MODIFY ? Fail(ERROR_INVALID_HANDLE) : TRUE; };
    EXPECT_TRUE(icon.ModifyIcon());
    EXPECT_EQ(log.Count(NIM_ADD), 2);
    // And when that add fails too, quietly: the icon is simply not there.
    log.answer = [](DWORD) { return Fail(ERROR_ACCESS_DENIED); };
    EXPECT_FALSE(icon.ModifyIcon());
    EXPECT_FALSE(icon.Registered);
}

namespace {

// The tray component on a form of its own, with every event recorded.
class TrayIconTest : public TrayTest {
protected:
    void SetUp() override {
        TrayTest::SetUp();
        mascot = StartProgram(L"[eye]\r\nLWall=2\r\nTWall=2\r\nRWall=2\r\nBWall=2\r\n");
        // The mascot has its own icon; the one tested here is a second component on it.
        tray = std::make_unique<TTrayIcon>(*mascot);
        // As a form sets it up: no shell call until Loaded.
        tray->BeginLoading();
        tray->SetIcon(picture.get());
        tray->OnMouseMove = [this](ui::ShiftState s, int, int) {
            events.push_back(L"move " + std::to_wstring(s));
        };
        tray->OnMouseDown = [this](ui::MouseButton b, ui::ShiftState s, int, int) {
            events.push_back(L"down " + std::to_wstring(static_cast<int>(b)) + L" " + std::to_wstring(s));
        };
        tray->OnMouseUp = [this](ui::MouseButton b, ui::ShiftState s, int, int) {
            events.push_back(L"up " + std::to_wstring(static_cast<int>(b)) + L" " + std::to_wstring(s));
        };
        tray->OnMouseClick = [this](ui::MouseButton b, ui::ShiftState s, int, int) {
            events.push_back(L"click " + std::to_wstring(static_cast<int>(b)) + L" " + std::to_wstring(s));
        };
        tray->OnDblClick = [this] { events.push_back(L"double"); };
        tray->OnRDblClick = [this] { events.push_back(L"right double"); };
        tray->OnMouseEnter = [this] { events.push_back(L"enter"); };
        tray->OnMouseExit = [this] { events.push_back(L"exit"); };
        log.calls.clear();
    }
    void TearDown() override {
        tray.reset();
        TrayTest::TearDown();
    }
    HWND Wnd() { return tray->TaskTrayIcon().GetWnd(); }
    void Shell(LPARAM message) { PostMessageW(Wnd(), 1224, 1, message); }
    TpamuF* mascot = nullptr;
    std::unique_ptr<TTrayIcon> tray;
    std::vector<std::wstring> events;
    using Events = std::vector<std::wstring>;
};

} // namespace

TEST_F(TrayIconTest, ConstructedValues) {
    TTrayIcon fresh(*mascot);
    EXPECT_TRUE(fresh.AutoPopup);
    EXPECT_EQ(fresh.Icon(), nullptr);
    EXPECT_EQ(fresh.TipHelp(), L"TipHelp");
    EXPECT_FALSE(fresh.Minimized());
    EXPECT_TRUE(fresh.Visible());
    EXPECT_FALSE(fresh.HideOnTaskBar);
    EXPECT_EQ(fresh.ResourceIconID(), -1);
    EXPECT_TRUE(fresh.ResourceIconList().empty());
    EXPECT_EQ(fresh.Interval(), 0u);
    EXPECT_FALSE(fresh.DoForegroundWindow());
    EXPECT_TRUE(fresh.CheckSingleDoubleClick());
    EXPECT_EQ(fresh.BalloonHelpTitle(), L"");
    EXPECT_EQ(fresh.BalloonHelpText(), L"");
    EXPECT_EQ(fresh.BalloonHelpTimeOut(), 0);
    EXPECT_EQ(fresh.BalloonHelpIcon(), TBalloonIconType::bitNone);
    EXPECT_TRUE(fresh.ToolTipStyle().UseDefault);
    EXPECT_EQ(fresh.LButtonPopupMenu(), nullptr);
    EXPECT_EQ(fresh.RButtonPopupMenu(), nullptr);
    EXPECT_TRUE(log.calls.empty()); // nothing registered yet
}

TEST_F(TrayIconTest, ASingleClickIsReportedAfterTheDoubleClickTime) {
    const auto released = std::chrono::steady_clock::now();
    Shell(513);
    Shell(514);
    ASSERT_TRUE(wintest::PumpUntil([&] { return events.size() == 3; }, 3s));
    EXPECT_EQ(events, (Events{L"down 0 8", L"up 0 8", L"click 0 0"}));
    // Not before: a double click may still follow until then.
    EXPECT_GE(std::chrono::steady_clock::now() - released,
              std::chrono::milliseconds(GetDoubleClickTime() * 9 / 10));
}

TEST_F(TrayIconTest, ADoubleClickReportsTheDoubleAndNoClick) {
    Shell(513);
    Shell(514);
    Shell(515);
    // The button is released after the press that the double click posts.
    ASSERT_TRUE(wintest::PumpUntil([&] { return events.size() == 4; }, 1s));
    Shell(514);
    // That release starts the click timer, which runs out without a click.
    const TrayMouseTracker& tracker = tray->TaskTrayIcon().Style.Tracker();
    EXPECT_TRUE(wintest::PumpUntil([&] { return events.size() == 5 && !tracker.ClickPending(); }, 3s));
    EXPECT_EQ(events, (Events{L"down 0 8", L"up 0 8", L"double", L"down 0 8", L"up 0 8"}));
}

TEST_F(TrayIconTest, MiddleAndRightButtons) {
    Shell(519);
    Shell(520);
    ASSERT_TRUE(wintest::PumpUntil([&] { return events.size() == 3; }, 3s));
    EXPECT_EQ(events, (Events{L"down 2 32", L"up 2 32", L"click 2 0"}));
    events.clear();
    // A middle double click has no event of its own; like a right one it comes back as a press.
    Shell(521);
    Shell(518);
    app->ProcessMessages(); // the presses they post too
    EXPECT_EQ(events, (Events{L"right double", L"down 2 32", L"down 1 16"}));

    events.clear();
    tray->SetCheckSingleDoubleClick(false);
    Shell(516);
    Shell(517);
    app->ProcessMessages();
    // At once: the tracker sees the release before the component does.
    EXPECT_EQ(events, (Events{L"down 1 16", L"click 1 0", L"up 1 16"}));
}

TEST_F(TrayIconTest, EnterOnceAndExitSoonAfterThePointerLeaves) {
    SetCursorPos(1000, 740);
    Shell(512);
    Shell(512);
    app->ProcessMessages();
    EXPECT_EQ(events, (Events{L"enter", L"move 0", L"move 0"}));
    ASSERT_NE(tray->TaskTrayIcon().Style.MouseMaker(), nullptr);
    // Its thread wakes for the exit poll.
    EXPECT_TRUE(
        wintest::PumpUntil([&] { return !tray->TaskTrayIcon().Style.MouseMaker()->Suspended(); }, 1s));
    wintest::MessageWatch polls(Wnd(),
                                [](UINT message, WPARAM, LPARAM) { return message == kTrayPollMessage; });
    ASSERT_TRUE(wintest::PumpUntil([&] { return polls.Count() >= 3; }, 2s));
    EXPECT_EQ(events.size(), 3u); // still on the icon

    SetCursorPos(1000, 600);
    ASSERT_TRUE(wintest::PumpUntil([&] { return events.size() == 4; }, 1s));
    EXPECT_EQ(events.back(), L"exit");
    // Away from the icon the poll waits.
    EXPECT_TRUE(wintest::PumpUntil([&] { return tray->TaskTrayIcon().Style.MouseMaker()->Suspended(); }, 1s));

    SetCursorPos(1000, 740);
    Shell(512);
    app->ProcessMessages();
    EXPECT_EQ(events[4], L"enter");
}

namespace {

// Where the menu window was when the timer looked inside the menu's loop, which it then closed.
RECT g_menuSeen{-1, -1, -1, -1};
void CALLBACK LookAtMenuAndClose(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    HWND menuWindow = FindWindowW(L"#32768", nullptr);
    if (menuWindow && IsWindowVisible(menuWindow)) GetWindowRect(menuWindow, &g_menuSeen);
    EndMenu();
}

} // namespace

TEST_F(TrayIconTest, TheRightButtonOpensItsMenuInsteadOfAPress) {
    ui::PopupMenu menu;
    int chosen = 0;
    menu.Add(L"one", L"いち").OnClick = [&] { ++chosen; };
    tray->SetRButtonPopupMenu(&menu);
    SetCursorPos(400, 300);
    g_menuSeen = {-1, -1, -1, -1};
    SetTimer(nullptr, 0, 200, LookAtMenuAndClose);
    Shell(516);
    app->ProcessMessages();          // the menu's loop runs in there, until the timer closes it
    EXPECT_EQ(g_menuSeen.left, 400); // opened at the pointer
    EXPECT_EQ(g_menuSeen.top, 300);
    EXPECT_TRUE(events.empty()); // no press reported
    EXPECT_EQ(chosen, 0);

    tray->AutoPopup = false;
    Shell(516);
    app->ProcessMessages();
    EXPECT_EQ(events, (Events{L"down 1 16"}));
}

TEST_F(TrayIconTest, AMenuThatGoesIsForgotten) {
    auto menu = std::make_unique<ui::PopupMenu>();
    tray->SetLButtonPopupMenu(menu.get());
    tray->SetRButtonPopupMenu(menu.get());
    auto other = std::make_unique<ui::PopupMenu>();
    tray->SetRButtonPopupMenu(other.get());
    menu.reset();
    EXPECT_EQ(tray->LButtonPopupMenu(), nullptr);
    EXPECT_EQ(tray->RButtonPopupMenu(), other.get());
    other.reset();
    EXPECT_EQ(tray->RButtonPopupMenu(), nullptr);
    Shell(513); // and a press is a press again
    app->ProcessMessages();
    EXPECT_EQ(events, (Events{L"down 0 8"}));
}

TEST_F(TrayIconTest, VisibleAddsAndRemovesAndTheSameValueCallsNothing) {
    tray->Loaded();
    EXPECT_EQ(log.calls, (std::vector<DWORD>{NIM_ADD}));
    tray->SetVisible(true);
    EXPECT_EQ(log.calls.size(), 1u);
    tray->SetVisible(false);
    EXPECT_EQ(log.calls, (std::vector<DWORD>{NIM_ADD, NIM_DELETE}));
    tray->SetVisible(false);
    EXPECT_EQ(log.calls.size(), 2u);
    tray->SetTipHelp(L"hidden"); // not shown: no call
    EXPECT_EQ(log.calls.size(), 2u);
    tray->SetVisible(true);
    EXPECT_EQ(log.calls.back(), static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(tray->TipHelp(), L"hidden");
    tray->SetTipHelp(L"shown");
    EXPECT_EQ(log.calls.back(), static_cast<DWORD>(NIM_MODIFY));
    // After a restart of the shell a visible icon comes back, a hidden one does not.
    const UINT created = RegisterWindowMessageW(L"TaskbarCreated");
    SendMessageW(Wnd(), created, 0, 0);
    EXPECT_EQ(log.calls.back(), static_cast<DWORD>(NIM_ADD));
    tray->SetVisible(false);
    const auto before = log.calls.size();
    SendMessageW(Wnd(), created, 0, 0);
    EXPECT_EQ(log.calls.size(), before);
}

TEST_F(TrayIconTest, WithMinimizedTheIconShowsOnlyWhileTheApplicationIsMinimised) {
    mascot->Show();
    tray->SetMinimized(true);
    tray->Loaded();
    EXPECT_TRUE(log.calls.empty());
    app->Minimize();
    EXPECT_EQ(log.calls, (std::vector<DWORD>{NIM_ADD}));
    EXPECT_FALSE(IsWindowVisible(mascot->Handle()));
    app->Restore();
    EXPECT_EQ(log.calls, (std::vector<DWORD>{NIM_ADD, NIM_DELETE}));
    EXPECT_TRUE(IsWindowVisible(mascot->Handle()));
    EXPECT_EQ(GetForegroundWindow(), mascot->Handle());
}

TEST_F(TrayIconTest, TheApplicationsOwnMinimiseHandlerStillRuns) {
    int minimised = 0, restored = 0;
    tray.reset();
    app->OnMinimize = [&] { ++minimised; };
    app->OnRestore = [&] { ++restored; };
    tray = std::make_unique<TTrayIcon>(*mascot);
    app->Minimize();
    app->Restore();
    EXPECT_EQ(minimised, 1);
    EXPECT_EQ(restored, 1);
    tray.reset(); // the saved handlers are put back
    app->Minimize();
    EXPECT_EQ(minimised, 2);
    app->Restore();
}

TEST_F(TrayIconTest, QueryEndSessionIsAnsweredYes) {
    EXPECT_EQ(SendMessageW(Wnd(), WM_QUERYENDSESSION, 0, 0), 1);
}

TEST_F(TrayIconTest, TheIconComesFromThePictureThenTheResourceListThenTheProgram) {
    tray->Loaded();
    EXPECT_EQ(tray->TaskTrayIcon().NotifyData.hIcon, tray->Icon());
    EXPECT_NE(tray->Icon(), picture.get()); // a copy of its own
    tray->SetIcon(nullptr);
    EXPECT_EQ(tray->Icon(), nullptr);
    EXPECT_EQ(tray->TaskTrayIcon().NotifyData.hIcon, LoadIconW(GetModuleHandleW(nullptr), L"MAINICON"));
    // A list with a negative index is not used.
    tray->SetResourceIconList({L"#102"});
    EXPECT_EQ(tray->TaskTrayIcon().NotifyData.hIcon, LoadIconW(GetModuleHandleW(nullptr), L"MAINICON"));
    tray->SetResourceIconID(0);
    EXPECT_EQ(tray->TaskTrayIcon().NotifyData.hIcon, LoadIconW(GetModuleHandleW(nullptr), L"#102"));
    // A picture given afterwards comes first again.
    tray->SetIcon(picture.get());
    EXPECT_EQ(tray->TaskTrayIcon().NotifyData.hIcon, tray->Icon());
}

TEST_F(TrayTest, TheShellsTooltipIsFoundInTheTaskBarsProcess) {
    // A task bar of this process in front of Wine's, with two tooltips: one with TTS_NOPREFIX, which is
    // not the shell's kind, and one without.
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"Shell_TrayWnd";
    ASSERT_TRUE(RegisterClassW(&wc));
    HWND taskbar = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"Shell_TrayWnd", L"", WS_POPUP, 0, 0, 1,
                                   1, nullptr, nullptr, wc.hInstance, nullptr);
    SetWindowPos(taskbar, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    auto tooltip = [&](DWORD style) {
        return CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | style, 0, 0, 0, 0, nullptr,
                               nullptr, wc.hInstance, nullptr);
    };
    HWND plain = tooltip(0);
    HWND noPrefix = tooltip(TTS_NOPREFIX);
    SetWindowPos(noPrefix, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ASSERT_EQ(FindWindowExW(nullptr, nullptr, L"Shell_TrayWnd", nullptr), taskbar);
    {
        TToolTipStyle style;
        EXPECT_EQ(style.ToolTipWnd, plain);
        // Gone with the style, the tooltip has the system colours back whatever UseDefault says.
        SendMessageW(plain, TTM_SETTIPBKCOLOR, RGB(1, 2, 3), 0);
    }
    EXPECT_EQ(static_cast<COLORREF>(SendMessageW(plain, TTM_GETTIPBKCOLOR, 0, 0)), GetSysColor(COLOR_INFOBK));
    DestroyWindow(plain);
    DestroyWindow(noPrefix);
    DestroyWindow(taskbar);
    UnregisterClassW(L"Shell_TrayWnd", wc.hInstance);
}

TEST_F(TrayIconTest, ResourceIndexIsClampedAndTakesTheIconsPlace) {
    tray->Loaded();
    tray->SetResourceIconList({L"MAINICON", L"#101", L"#102"});
    tray->SetResourceIconID(99);
    EXPECT_EQ(tray->ResourceIconID(), 2);
    EXPECT_EQ(tray->Icon(), nullptr); // the picture no longer shows
    EXPECT_EQ(tray->TaskTrayIcon().NotifyData.hIcon, LoadIconW(GetModuleHandleW(nullptr), L"#102"));
    tray->SetResourceIconID(-5);
    EXPECT_EQ(tray->ResourceIconID(), -1);
    tray->SetResourceIconID(1);
    // A shorter list clamps the index; reading an index beyond the list gives 0.
    tray->SetResourceIconList({L"MAINICON"});
    EXPECT_EQ(tray->ResourceIconID(), 0);
    EXPECT_EQ(tray->TaskTrayIcon().NotifyData.hIcon, LoadIconW(GetModuleHandleW(nullptr), L"MAINICON"));
    // A name that is no icon resource gives no handle, and the shell is not asked.
    tray->SetResourceIconList({L"NO_SUCH_ICON"});
    log.calls.clear();
    tray->SetResourceIconID(0);
    EXPECT_EQ(tray->TaskTrayIcon().NotifyData.hIcon, nullptr);
    EXPECT_TRUE(log.calls.empty());
}

TEST_F(TrayIconTest, TheAnimationStepsThroughTheListAndPausesWhenTold) {
    tray->Loaded();
    tray->SetResourceIconList({L"MAINICON", L"#101", L"#102"});
    tray->SetResourceIconID(0);
    tray->SetInterval(10);
    EXPECT_EQ(tray->Interval(), 50u);
    ASSERT_NE(tray->Animation(), nullptr);
    // Each step moves to the next entry and tells the shell; the pump may see two steps at once.
    log.calls.clear();
    bool seen[3] = {true, false, false};
    ASSERT_TRUE(wintest::PumpUntil(
        [&] {
            const int id = tray->ResourceIconID();
            if (id >= 0 && id < 3) seen[id] = true;
            return seen[1] && seen[2] && log.Count(NIM_MODIFY) >= 4;
        },
        3s));
    EXPECT_EQ(log.Count(NIM_ADD) + log.Count(NIM_DELETE), 0);

    tray->SetInterval(0);
    EXPECT_TRUE(tray->Animation()->Suspended());
    // A step asked for before the pause finds it paused; none is asked for after it. Meanwhile a timer of
    // the animation's period ticks six times.
    const int stopped = tray->ResourceIconID();
    ASSERT_TRUE(wintest::PumpTicks(6, 50ms));
    EXPECT_EQ(tray->ResourceIconID(), stopped);

    // OnIconAnimation replaces the step; hiding the icon pauses it.
    int steps = 0;
    tray->OnIconAnimation = [&] { ++steps; };
    tray->SetInterval(60);
    ASSERT_TRUE(wintest::PumpUntil([&] { return steps >= 2; }, 2s));
    EXPECT_EQ(tray->ResourceIconID(), stopped);
    tray->SetVisible(false);
    EXPECT_TRUE(tray->Animation()->Suspended());
    const int after = steps;
    ASSERT_TRUE(wintest::PumpTicks(5, 60ms));
    EXPECT_EQ(steps, after);
}

TEST_F(TrayIconTest, TooltipColoursWhileThePointerIsOnTheIcon) {
    // A tooltip standing in for the shell's.
    HWND tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP, 0, 0, 0, 0, nullptr,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(tip);
    auto& style = tray->ToolTipStyle();
    style.ToolTipWnd = tip;
    const auto background = [&] { return static_cast<COLORREF>(SendMessageW(tip, TTM_GETTIPBKCOLOR, 0, 0)); };
    const auto text = [&] { return static_cast<COLORREF>(SendMessageW(tip, TTM_GETTIPTEXTCOLOR, 0, 0)); };
    SendMessageW(tip, TTM_SETTIPBKCOLOR, RGB(1, 2, 3), 0);

    SetCursorPos(1000, 740);
    Shell(512); // UseDefault: left alone
    app->ProcessMessages();
    EXPECT_EQ(background(), RGB(1, 2, 3));
    SetCursorPos(1000, 600);
    ASSERT_TRUE(wintest::PumpUntil([&] { return events.size() == 3; }, 1s)); // enter, move, exit
    EXPECT_EQ(background(), RGB(1, 2, 3));

    TToolTipStyle other;
    other.UseDefault = false;
    other.BackGroundColor = clRed;
    other.TextColor = clLime; // not copied
    tray->SetToolTipStyle(other);
    EXPECT_FALSE(style.UseDefault);
    EXPECT_EQ(style.BackGroundColor, clRed);
    EXPECT_EQ(style.TextColor, clWindowText);
    style.TextColor = clBlue;
    SetCursorPos(1000, 740);
    Shell(512);
    app->ProcessMessages();
    EXPECT_EQ(background(), RGB(255, 0, 0));
    EXPECT_EQ(text(), RGB(0, 0, 255));
    SetCursorPos(1000, 600);
    ASSERT_TRUE(wintest::PumpUntil([&] { return events.size() == 6; }, 1s));
    EXPECT_EQ(background(), GetSysColor(COLOR_INFOBK));
    EXPECT_EQ(text(), GetSysColor(COLOR_INFOTEXT));
    tray.reset();
    DestroyWindow(tip);
}

TEST_F(TrayTest, TheMascotsIconShowsAtStartWithItsTipWhateverTPamuHideSays) {
    TpamuF* mascot = StartProgram(L"[eye]\r\nTPamuHide=Yes\r\n");
    TTrayIcon& tray = mascot->TrayIcon1;
    EXPECT_TRUE(tray.TaskTrayIcon().Registered);
    EXPECT_EQ(log.calls, (std::vector<DWORD>{NIM_ADD}));
    EXPECT_EQ(tray.TipHelp(), L"ぼく、ミニぱむ太");
    EXPECT_NE(tray.Icon(), nullptr);
    EXPECT_EQ(tray.TaskTrayIcon().NotifyData.hIcon, tray.Icon());
    EXPECT_TRUE(tray.HideOnTaskBar);
    EXPECT_TRUE(tray.CheckSingleDoubleClick());
    EXPECT_TRUE(tray.ToolTipStyle().UseDefault);
    EXPECT_EQ(tray.ToolTipStyle().BackGroundColor, clBlack);
    EXPECT_EQ(tray.RButtonPopupMenu(), &mascot->PopupMenu1);
    EXPECT_EQ(tray.ResourceIconID(), -1);
    EXPECT_EQ(tray.Interval(), 0u);
}

TEST_F(TrayTest, TheMascotsIconShowsThePanel) {
    TpamuF* mascot = StartProgram(L"[eye]\r\nLWall=2\r\nTWall=2\r\nRWall=2\r\nBWall=2\r\n");
    HWND wnd = mascot->TrayIcon1.TaskTrayIcon().GetWnd();
    BtnF1->Hide();
    SetCursorPos(1000, 740);
    PostMessageW(wnd, 1224, 1, 512);
    ASSERT_TRUE(wintest::PumpUntil([this] { return BtnF1->Visible(); }, 1s));

    // A click shows it too, even in hover mode and in an edit mode, once the double-click time is over.
    ChangeOptions([](EyeOptions& o) {
        o.ApSc.clear();
        o.DApSc.clear();
        o.PamuHide = YesNo::Of(false);
    });
    ASSERT_TRUE(mascot->HoverMode());
    BtnF1->Hide();
    // No tick meanwhile: its hover rule would hide again a panel that the move showed.
    mascot->Timer1.SetEnabled(false);
    PostMessageW(wnd, 1224, 1, 512);
    app->ProcessMessages();
    EXPECT_FALSE(BtnF1->Visible()); // a move does nothing in hover mode
    mascot->Timer1.SetEnabled(true);
    mascot->PM_BtnDel.Click();
    BtnF1->Hide();
    const auto released = std::chrono::steady_clock::now();
    PostMessageW(wnd, 1224, 1, 513);
    PostMessageW(wnd, 1224, 1, 514);
    EXPECT_TRUE(wintest::PumpUntil([this] { return BtnF1->Visible(); }, 2s));
    // Not before: a double click may still follow until then.
    EXPECT_GE(std::chrono::steady_clock::now() - released,
              std::chrono::milliseconds(GetDoubleClickTime() * 9 / 10));
    EXPECT_EQ(mascot->EditMode(), EditState::Remove);
}
