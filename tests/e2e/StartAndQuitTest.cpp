// Starting pmrun.exe in a fresh folder, looking at what it shows, and quitting it.

#include "PmrunProcess.h"

#include <gtest/gtest.h>

#include <commctrl.h>

using namespace e2e;

namespace {

int ToolBarMessage(HWND bar, UINT message) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(bar, message, 0, 0, SMTO_ABORTIFHUNG, 2000, &result);
    return static_cast<int>(result);
}

// Each test starts its own programs, from where every end-to-end test starts.
class StartAndQuit : public ::testing::Test {
protected:
    void SetUp() override { StartFromRest(); }
    void TearDown() override { StartFromRest(); }
};

} // namespace

TEST_F(StartAndQuit, FirstStartUsesEveryDefaultAndQuittingWritesTheCompleteLayout) {
    PmrunProcess pmrun;
    ASSERT_TRUE(pmrun.Start());

    HWND mascot = pmrun.Mascot();
    RECT m = WindowRect(mascot);
    EXPECT_EQ(m.left, 500);
    EXPECT_EQ(m.top, 0);
    EXPECT_EQ(m.right - m.left, 31);
    EXPECT_EQ(m.bottom - m.top, 31);
    EXPECT_TRUE(GetWindowLongW(mascot, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(WaitForScreenPixel(m.left + 15, m.top + 20, RGB(255, 255, 0)), RGB(255, 255, 0));

    // No task-bar button: every window is owned by the hidden tool window of the application.
    HWND appWindow = pmrun.AppWindow();
    ASSERT_NE(appWindow, nullptr);
    EXPECT_FALSE(IsWindowVisible(appWindow));
    EXPECT_TRUE(GetWindowLongW(appWindow, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_EQ(WindowText(appWindow), L"ぱむぱむランチ");
    for (HWND form : {mascot, pmrun.Panel()}) {
        EXPECT_EQ(GetWindow(form, GW_OWNER), appWindow);
        EXPECT_FALSE(GetWindowLongW(form, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    }

    HWND panel = pmrun.Panel();
    EXPECT_TRUE(IsWindowVisible(panel));
    RECT p = WindowRect(panel);
    EXPECT_EQ(p.left, 100);
    EXPECT_EQ(p.top, 100);
    EXPECT_EQ(ClientRect(panel).right, 229);  // the designed six buttons a row
    EXPECT_EQ(ClientRect(panel).bottom, 192); // all five rows
    EXPECT_EQ(WindowText(panel).substr(0, 8), L"ぱむぱむランチ　");
    HWND bar = pmrun.PanelToolBar();
    EXPECT_EQ(ToolBarMessage(bar, TB_BUTTONCOUNT), 30);
    EXPECT_EQ(ToolBarMessage(bar, TB_GETROWS), 5);

    ASSERT_TRUE(pmrun.Quit());
    EXPECT_EQ(pmrun.ExitCode(), 0u);
    auto keys = ParseIni(pmrun.IniBytes());
    EXPECT_EQ(KeyOrder(keys), CompleteLayout());
    EXPECT_EQ(ValueOf(keys, "eye", "Left"), "500");
    EXPECT_EQ(ValueOf(keys, "eye", "Top"), "0");
    EXPECT_EQ(ValueOf(keys, "eye", "LineMax"), "6");
    EXPECT_EQ(ValueOf(keys, "eye", "ApSc"), "Alt+A");
    EXPECT_EQ(ValueOf(keys, "eye", "DApSc"), "Alt+Z");
    EXPECT_EQ(ValueOf(keys, "eye", "TWall"), "0");
    EXPECT_EQ(ValueOf(keys, "eye", "Color"), "clYellow");
    EXPECT_EQ(ValueOf(keys, "btnform", "left"), "100");
    EXPECT_EQ(ValueOf(keys, "btnform", "top"), "100");
    EXPECT_EQ(ValueOf(keys, "btnform", "width"), std::to_string(p.right - p.left));
}

TEST_F(StartAndQuit, PreparedSettingsPlaceAndColourTheWindows) {
    PmrunProcess pmrun;
    pmrun.WriteIni(L"[eye]\r\nTop=300\r\nLeft=200\r\nLineMax=2\r\nColor=clRed\r\n"
                   L"[btnform]\r\nleft=400\r\ntop=150\r\nwidth=238\r\nheight=220\r\n"
                   L"[btn1]\r\npg=C:\\windows\\notepad.exe\r\nic=C:\\windows\\notepad.exe\r\nicidx=0\r\n"
                   L"dr=C:\\windows\\\r\nlb=メモ帳\r\nop=\r\n");
    ASSERT_TRUE(pmrun.Start());

    RECT m = WindowRect(pmrun.Mascot());
    EXPECT_EQ(m.left, 200);
    EXPECT_EQ(m.top, 300);
    EXPECT_EQ(m.right - m.left, 31);
    EXPECT_EQ(WaitForScreenPixel(m.left + 15, m.top + 20, RGB(255, 0, 0)), RGB(255, 0, 0));

    HWND panel = pmrun.Panel();
    RECT p = WindowRect(panel);
    EXPECT_EQ(p.left, 400);
    EXPECT_EQ(p.top, 150);
    // LineMax 2: two rows shown, the rest behind the scroll bar.
    EXPECT_EQ(ClientRect(panel).bottom, 2 * 38 + 2);
    EXPECT_TRUE(GetWindowLongW(panel, GWL_STYLE) & WS_VSCROLL);
    EXPECT_EQ(ToolBarMessage(pmrun.PanelToolBar(), TB_GETROWS), 5);

    ASSERT_TRUE(pmrun.Quit());
    auto keys = ParseIni(pmrun.IniBytes());
    EXPECT_EQ(Sorted(KeyOrder(keys)), Sorted(CompleteLayout()));
    EXPECT_EQ(ValueOf(keys, "eye", "Left"), "200");
    EXPECT_EQ(ValueOf(keys, "eye", "Top"), "300");
    EXPECT_EQ(ValueOf(keys, "eye", "LineMax"), "2");
    EXPECT_EQ(ValueOf(keys, "eye", "Color"), "clRed");
    EXPECT_EQ(ValueOf(keys, "btnform", "left"), "400");
    EXPECT_EQ(ValueOf(keys, "btn1", "pg"), "C:\\windows\\notepad.exe");
    EXPECT_EQ(ValueOf(keys, "btn1", "lb"), ToAnsi(L"メモ帳"));
    EXPECT_EQ(ValueOf(keys, "btn1", "dr"), "C:\\windows\\");
}

TEST_F(StartAndQuit, PlacesOnAMonitorThatIsGoneComeBackAndAreSaved) {
    // Stored while a second monitor stood right of this 1024 x 768 one.
    PmrunProcess pmrun;
    pmrun.WriteIni(L"[eye]\r\nTop=900\r\nLeft=1500\r\n"
                   L"[btnform]\r\nleft=1300\r\ntop=100\r\nwidth=238\r\nheight=220\r\n");
    ASSERT_TRUE(pmrun.Start());
    RECT work{};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    // Whole, in the nearest corner of the work area.
    const RECT m = WindowRect(pmrun.Mascot());
    EXPECT_EQ(m.right, work.right);
    EXPECT_EQ(m.bottom, work.bottom);
    // The stored 238 pixels moved inside; the panel then fits its width to whole buttons.
    const RECT p = WindowRect(pmrun.Panel());
    EXPECT_EQ(p.left, work.right - 238);
    EXPECT_EQ(p.top, 100);

    ASSERT_TRUE(pmrun.Quit());
    auto keys = ParseIni(pmrun.IniBytes());
    EXPECT_EQ(ValueOf(keys, "eye", "Left"), std::to_string(m.left));
    EXPECT_EQ(ValueOf(keys, "eye", "Top"), std::to_string(m.top));
    EXPECT_EQ(ValueOf(keys, "btnform", "left"), std::to_string(p.left));
}

TEST_F(StartAndQuit, WindowsEndingTheSessionSavesLikeQuitting) {
    PmrunProcess pmrun;
    pmrun.WriteIni(L"[eye]\r\nLeft=123\r\n");
    ASSERT_TRUE(pmrun.Start());
    DWORD_PTR answer = 0;
    ASSERT_TRUE(
        SendMessageTimeoutW(pmrun.Mascot(), WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer));
    EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE));
    SendMessageTimeoutW(pmrun.AppWindow(), WM_ENDSESSION, TRUE, 0, SMTO_ABORTIFHUNG, 5000, &answer);
    ASSERT_TRUE(WaitFor([&] { return !pmrun.Running(); }, 10000));
    auto keys = ParseIni(pmrun.IniBytes());
    EXPECT_EQ(Sorted(KeyOrder(keys)), Sorted(CompleteLayout()));
    EXPECT_EQ(ValueOf(keys, "eye", "Left"), "123");
}

TEST_F(StartAndQuit, HiddenMascotStaysHiddenAfterStart) {
    PmrunProcess pmrun;
    // The left edge shows the panel and puts the pointer back: a tick of the hidden mascot that can be seen.
    pmrun.WriteIni(L"[eye]\r\nPamuHide=Yes\r\nLWall=1\r\n");
    ASSERT_TRUE(pmrun.Start(false));
    HWND mascot = pmrun.Mascot();
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(mascot); }, 3000));
    // Still hidden once the loop has come round to a tick, after all that the start had queued.
    SetCursorPos(0, 500);
    ASSERT_TRUE(WaitFor([] {
        POINT p{};
        GetCursorPos(&p);
        return p.x == 10;
    }));
    EXPECT_FALSE(IsWindowVisible(mascot));
    EXPECT_TRUE(IsWindowVisible(pmrun.Panel()));
    ASSERT_TRUE(pmrun.Quit());
    EXPECT_EQ(ValueOf(ParseIni(pmrun.IniBytes()), "eye", "PamuHide"), "Yes");
}
