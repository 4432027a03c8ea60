// The panel brought up and away by the screen edges and by hovering, with the real pmrun.exe and the
// real pointer.

#include "PmrunProcess.h"

#include <gtest/gtest.h>

#include <functional>

using namespace e2e;

namespace {

POINT CursorPos() {
    POINT p{};
    GetCursorPos(&p);
    return p;
}

struct Edge {
    const char* name;
    const wchar_t* key;
    // Where the pointer touches the edge at a place along it, and where the program puts it back when it
    // shows the panel.
    POINT (*touch)(int width, int height, int along);
    POINT (*pushedTo)(int width, int height, int along);
};

// Away from Wine's tray window in the top-left corner and from the mascot and the panel. Each place
// moves the pupils elsewhere than the resting pointer and the other place do, and ten pixels back from
// the edge does not move them.
const Edge kEdges[] = {
    {"Left", L"LWall",
     [](int, int, int along) {
         return POINT{0, along};
     },
     [](int, int, int along) {
         return POINT{10, along};
     }},
    {"Top", L"TWall",
     [](int, int, int along) {
         return POINT{along, 0};
     },
     [](int, int, int along) {
         return POINT{along, 10};
     }},
    {"Right", L"RWall",
     [](int w, int, int along) {
         return POINT{w - 1, along};
     },
     [](int w, int, int along) {
         return POINT{w - 10, along};
     }},
    {"Bottom", L"BWall",
     [](int, int h, int along) {
         return POINT{along, h - 1};
     },
     [](int, int h, int along) {
         return POINT{along, h - 10};
     }},
};
constexpr int kAlong = 500, kElsewhere = 650;

// Test names and failure messages name the edge.
void PrintTo(const Edge& edge, std::ostream* out) {
    *out << edge.name;
}

class EdgesE2E : public E2ETest, public ::testing::WithParamInterface<Edge> {
protected:
    // Only this edge acts, with the given value; the others do nothing.
    bool Start(int action) {
        std::wstring keys;
        for (const Edge& edge : kEdges)
            keys += std::wstring(edge.key) + L"=" +
                    (edge.key == GetParam().key ? std::to_wstring(action) : L"2") + L"\r\n";
        pmrun.WriteIni(StandardIni(keys));
        return pmrun.Start();
    }
    POINT Touch(int along) const { return GetParam().touch(Width(), Height(), along); }
    POINT PushedTo(int along) const { return GetParam().pushedTo(Width(), Height(), along); }
    // The pointer there, and a tick of the mascot past that has seen it.
    bool TickWithPointerAt(POINT p) const { return pmrun.MovePointerForTick(p.x, p.y); }
    static bool PointerAt(POINT p) {
        const POINT at = CursorPos();
        return at.x == p.x && at.y == p.y;
    }
    static int Width() { return GetSystemMetrics(SM_CXSCREEN); }
    static int Height() { return GetSystemMetrics(SM_CYSCREEN); }
};

} // namespace

TEST_P(EdgesE2E, OneShowsThePanelAndPutsThePointerTenPixelsBack) {
    ASSERT_TRUE(Start(1));
    ShowWindow(pmrun.Panel(), SW_HIDE);
    ASSERT_FALSE(pmrun.PanelVisible());
    ASSERT_TRUE(TickWithPointerAt(Touch(kAlong)));
    EXPECT_TRUE(pmrun.PanelVisible());
    EXPECT_TRUE(PointerAt(PushedTo(kAlong)));
    // Away from the edge the panel stays, and the pointer too.
    ASSERT_TRUE(TickWithPointerAt(PushedTo(kElsewhere)));
    EXPECT_TRUE(pmrun.PanelVisible());
    EXPECT_TRUE(PointerAt(PushedTo(kElsewhere)));
}

TEST_P(EdgesE2E, ZeroHidesThePanelAndLeavesThePointer) {
    ASSERT_TRUE(Start(0));
    ASSERT_TRUE(TickWithPointerAt(Touch(kAlong)));
    EXPECT_FALSE(pmrun.PanelVisible());
    EXPECT_TRUE(PointerAt(Touch(kAlong)));
    // Still at the edge, further ticks change nothing.
    ASSERT_TRUE(TickWithPointerAt(Touch(kElsewhere)));
    EXPECT_FALSE(pmrun.PanelVisible());
    EXPECT_TRUE(PointerAt(Touch(kElsewhere)));
}

TEST_P(EdgesE2E, TwoDoesNothing) {
    ASSERT_TRUE(Start(2));
    ASSERT_TRUE(TickWithPointerAt(Touch(kAlong)));
    EXPECT_TRUE(pmrun.PanelVisible());
    EXPECT_TRUE(PointerAt(Touch(kAlong)));
}

INSTANTIATE_TEST_SUITE_P(EachEdge, EdgesE2E, ::testing::ValuesIn(kEdges),
                         [](const ::testing::TestParamInfo<Edge>& info) {
                             return std::string(info.param.name);
                         });

namespace {

class HoverE2E : public E2ETest {};

} // namespace

TEST_F(HoverE2E, WithTheMascotInFrontThePanelShowsOnlyWhileThePointerIsOverIt) {
    // No edges, no hot keys and a mascot that stays: hovering.
    pmrun.WriteIni(StandardIni(std::wstring(kNoEdges) + L"ApSc=\r\nDApSc=\r\nPamuHide=No\r\n"));
    ASSERT_TRUE(pmrun.Start());
    HWND mascot = pmrun.Mascot(), panel = pmrun.Panel();
    SetForegroundWindow(mascot);
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == mascot; }));
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(panel); })); // the pointer rests away from it

    // Over the mascot itself the panel does not come while hovering.
    const RECT m = WindowRect(mascot);
    ASSERT_TRUE(pmrun.MovePointerForTick(m.left + 16, m.top + 29));
    EXPECT_FALSE(IsWindowVisible(panel));

    const RECT r = WindowRect(panel);
    SetCursorPos(r.left + 40, r.top + 40);
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(panel); }));
    // The panel's border is outside: all four comparisons are strict.
    SetCursorPos(r.left, r.top + 40);
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(panel); }));
}

namespace {

// Whether upper lies above lower in the z-order.
bool Above(HWND upper, HWND lower) {
    for (HWND next = GetWindow(upper, GW_HWNDNEXT); next; next = GetWindow(next, GW_HWNDNEXT))
        if (next == lower) return true;
    return false;
}

// Handles this test's own window's messages while it waits.
bool PumpUntil(const std::function<bool()>& condition) {
    return WaitFor([&] {
        for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);)
            DispatchMessageW(&msg);
        return condition();
    });
}

} // namespace

TEST_F(HoverE2E, AnEdgeBringsThePanelOverAnotherProgramsWindowAndOneBroughtForwardThenCoversIt) {
    pmrun.WriteIni(StandardIni(L"LWall=1\r\nTWall=2\r\nRWall=2\r\nBWall=2\r\n"));
    ASSERT_TRUE(pmrun.Start());
    const HWND panel = pmrun.Panel(), mascot = pmrun.Mascot();
    ShowWindow(panel, SW_HIDE);
    // The window the user is in, of this process, all around where the panel shows.
    const RECT p = WindowRect(panel);
    const HWND user = CreateWindowExW(0, L"STATIC", L"user", WS_POPUP | WS_BORDER | WS_VISIBLE, p.left - 40, p.top - 40,
                                      p.right - p.left + 80, p.bottom - p.top + 80, nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(user);
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == user; }));
    ASSERT_TRUE(pmrun.MovePointerForTick(0, 500));
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(panel) != FALSE; }));
    EXPECT_EQ(GetForegroundWindow(), user);
    EXPECT_FALSE(GetWindowLongW(panel, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(Above(panel, user));
    EXPECT_TRUE(Above(mascot, panel));
    // An ordinary window again: one the user brings forward afterwards covers it.
    const HWND later = CreateWindowExW(0, L"STATIC", L"later", WS_POPUP | WS_BORDER, p.left, p.top, 100, 100,
                                       nullptr, nullptr, nullptr, nullptr);
    ShowWindow(later, SW_SHOW);
    SetForegroundWindow(later);
    EXPECT_TRUE(PumpUntil([&] { return Above(later, panel); }));
    DestroyWindow(later);
    DestroyWindow(user);
}
