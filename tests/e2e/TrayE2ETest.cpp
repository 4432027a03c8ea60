// The real pmrun.exe and its tray icon: the shell's notifications sent to the icon's hidden window, as
// the notification area sends them when the pointer moves over the icon and its buttons are pressed.

#include "Keys.h"
#include "PmrunProcess.h"
#include "Programs.h"

#include <gtest/gtest.h>

using namespace e2e;

namespace {

constexpr UINT kTrayMessage = 1224;

class TrayE2E : public E2ETest {
protected:
    bool Start(const std::wstring& more = L"") {
        pmrun.WriteIni(StandardIni(kNoEdges + more));
        if (!pmrun.Start()) return false;
        DWORD pid = 0;
        GetWindowThreadProcessId(pmrun.Mascot(), &pid);
        pid_ = pid;
        tray = FindProcessWindow(pid, L"TaskTrayHandle", false);
        return tray != nullptr;
    }
    // The panel hidden by its hot key, so that the icon can be seen bringing it back.
    bool HidePanel() {
        PressChord('Z', {VK_MENU});
        return WaitFor([&] { return !pmrun.PanelVisible(); });
    }
    // Started with the panel hidden and the pointer away from the real notification area at the top left,
    // where a tick has seen it.
    bool StartWithPanelHidden() { return Start() && HidePanel() && pmrun.MovePointerForTick(kAwayX, kAwayY); }
    void Shell(LPARAM message) const { PostMessageW(tray, kTrayMessage, 1, message); }
    // Ticks of the mascot, the pointer going back and forth, until the time has passed since the first,
    // and two more begun after that. The second of those fell due after the time, and timers are handled
    // in the order they fall due: one that the program set before the first tick, for that long, has run
    // out and been handled.
    bool TicksFor(DWORD ms) {
        const POINT places[2] = {{kAwayX, kAwayY}, {kRestX, kRestY}};
        DWORD first = 0;
        for (int n = 0, late = 0; late < 2; ++n) {
            if (n > 0 && GetTickCount() - first >= ms) ++late;
            if (!pmrun.MovePointerForTick(places[n % 2].x, places[n % 2].y)) return false;
            if (n == 0) first = GetTickCount();
        }
        return true;
    }
    HWND Menu() const { return FindProcessWindow(pid_, L"#32768", true); }

    HWND tray = nullptr;
    DWORD pid_ = 0;
};

} // namespace

TEST_F(TrayE2E, TheIconsWindowIsHiddenAndAnswersTheEndOfTheSession) {
    ASSERT_TRUE(Start());
    EXPECT_FALSE(IsWindowVisible(tray));
    EXPECT_TRUE(GetWindowLongW(tray, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutW(tray, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer));
    EXPECT_EQ(answer, 1u);
    EXPECT_TRUE(pmrun.Running());
    ASSERT_TRUE(pmrun.Quit());
}

TEST_F(TrayE2E, MovingOverTheIconShowsThePanel) {
    ASSERT_TRUE(StartWithPanelHidden());
    Shell(WM_MOUSEMOVE);
    EXPECT_TRUE(WaitFor([&] { return pmrun.PanelVisible(); }, 2000));
    ASSERT_TRUE(pmrun.Quit());
}

TEST_F(TrayE2E, ASingleClickShowsThePanelOnceTheDoubleClickTimeHasPassed) {
    ASSERT_TRUE(StartWithPanelHidden());
    const DWORD doubleClickTime = GetDoubleClickTime();
    const DWORD started = GetTickCount();
    Shell(WM_LBUTTONDOWN);
    Shell(WM_LBUTTONUP);
    ASSERT_TRUE(WaitFor([&] { return pmrun.PanelVisible(); }, 3000));
    // Not before: a double click may still follow until then.
    EXPECT_GE(GetTickCount() - started, doubleClickTime * 9 / 10);
    ASSERT_TRUE(pmrun.Quit());
}

TEST_F(TrayE2E, ADoubleClickShowsNothing) {
    ASSERT_TRUE(StartWithPanelHidden());
    Shell(WM_LBUTTONDOWN);
    Shell(WM_LBUTTONUP);
    Shell(WM_LBUTTONDBLCLK);
    // The button goes up after the press that the double click posts: a tick comes after that.
    ASSERT_TRUE(pmrun.MovePointerForTick(kRestX, kRestY));
    Shell(WM_LBUTTONUP);
    // That release starts the click timer before the next tick.
    ASSERT_TRUE(TicksFor(GetDoubleClickTime()));
    EXPECT_FALSE(pmrun.PanelVisible());
    EXPECT_TRUE(pmrun.Running());
    ASSERT_TRUE(pmrun.Quit());
}

TEST_F(TrayE2E, AClickShowsThePanelEvenInHoverModeAndInAnEditMode) {
    // No hot keys, no edges, PamuHide "No": the panel follows the pointer alone.
    ASSERT_TRUE(Start(L"ApSc=\r\nDApSc=\r\nPamuHide=No\r\n"));
    SetCursorPos(kRestX, kRestY);
    ASSERT_TRUE(WaitFor([&] { return !pmrun.PanelVisible(); })); // the pointer is not over it
    // Away from the real notification area at the top left.
    ASSERT_TRUE(pmrun.MovePointerForTick(kAwayX, kAwayY));
    Shell(WM_MOUSEMOVE);
    ASSERT_TRUE(pmrun.MovePointerForTick(kRestX, kRestY)); // after the move
    EXPECT_FALSE(pmrun.PanelVisible());                          // a move does nothing in hover mode

    ASSERT_TRUE(pmrun.ChooseMenuItem(3)); // remove mode
    ASSERT_TRUE(WaitFor([&] { return pmrun.PanelVisible(); }));
    SetCursorPos(kRestX, kRestY);
    PostMessageW(pmrun.Panel(), WM_CLOSE, 0, 0); // hidden by its close box
    ASSERT_TRUE(WaitFor([&] { return !pmrun.PanelVisible(); }));
    Shell(WM_LBUTTONDOWN);
    Shell(WM_LBUTTONUP);
    EXPECT_TRUE(WaitFor([&] { return pmrun.PanelVisible(); }, 3000));
    EXPECT_EQ(WindowText(pmrun.Panel()), L"設定を解除するボタンを選択してください");
    ASSERT_TRUE(pmrun.Quit());
}

TEST_F(TrayE2E, TheRightButtonOpensTheMascotsMenu) {
    ASSERT_TRUE(Start());
    SetCursorPos(200, 500);
    Shell(WM_RBUTTONDOWN);
    HWND menu = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (menu = Menu()) != nullptr; }, 3000));
    RECT r = WindowRect(menu);
    EXPECT_EQ(r.left, 200);
    EXPECT_EQ(r.top, 500);
    Shell(WM_RBUTTONUP);
    // Down to "ﾊﾞｰｼﾞｮﾝ情報" and Enter: the menu's own commands run from the icon too.
    ASSERT_TRUE(PointAtLastMenuItem(menu));
    for (int i = 0; i < 6; ++i)
        TypeKey(VK_DOWN);
    TypeKey(VK_RETURN);
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (box = FindProcessWindow(pid_, L"TVerDlgF", true)) != nullptr; }));
    EXPECT_EQ(WindowText(box), L"ﾊﾞｰｼﾞｮﾝ情報");
    PostMessageW(box, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(box); }));
    ASSERT_TRUE(pmrun.Quit());
}
