// The panel brought up and away by the screen edges and by hovering, with the real pmrun.exe and the
// real pointer.

#include "PmrunProcess.h"

#include <gtest/gtest.h>

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
    // Where the pointer touches the edge, and where the program puts it back when it shows the panel.
    POINT (*touch)(int width, int height);
    POINT (*pushedTo)(int width, int height);
};

// Away from Wine's tray window in the top-left corner and from the mascot and the panel.
const Edge kEdges[] = {
    {"Left", L"LWall",
     [](int, int) {
         return POINT{0, 500};
     },
     [](int, int) {
         return POINT{10, 500};
     }},
    {"Top", L"TWall",
     [](int, int) {
         return POINT{500, 0};
     },
     [](int, int) {
         return POINT{500, 10};
     }},
    {"Right", L"RWall",
     [](int w, int) {
         return POINT{w - 1, 500};
     },
     [](int w, int) {
         return POINT{w - 10, 500};
     }},
    {"Bottom", L"BWall",
     [](int, int h) {
         return POINT{500, h - 1};
     },
     [](int, int h) {
         return POINT{500, h - 10};
     }},
};

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
    bool PanelVisible() const { return IsWindowVisible(pmrun.Panel()); }
    static int Width() { return GetSystemMetrics(SM_CXSCREEN); }
    static int Height() { return GetSystemMetrics(SM_CYSCREEN); }
};

} // namespace

TEST_P(EdgesE2E, OneShowsThePanelAndPutsThePointerTenPixelsBack) {
    ASSERT_TRUE(Start(1));
    ShowWindow(pmrun.Panel(), SW_HIDE);
    ASSERT_FALSE(PanelVisible());
    const POINT touch = GetParam().touch(Width(), Height()), back = GetParam().pushedTo(Width(), Height());
    SetCursorPos(touch.x, touch.y);
    ASSERT_TRUE(WaitFor([&] { return PanelVisible(); }));
    EXPECT_TRUE(WaitFor([&] {
        const POINT p = CursorPos();
        return p.x == back.x && p.y == back.y;
    }));
    // Away from the edge the panel stays.
    Sleep(300);
    EXPECT_TRUE(PanelVisible());
}

TEST_P(EdgesE2E, ZeroHidesThePanelAndLeavesThePointer) {
    ASSERT_TRUE(Start(0));
    const POINT touch = GetParam().touch(Width(), Height());
    SetCursorPos(touch.x, touch.y);
    ASSERT_TRUE(WaitFor([&] { return !PanelVisible(); }));
    Sleep(300); // three more ticks
    const POINT p = CursorPos();
    EXPECT_EQ(p.x, touch.x);
    EXPECT_EQ(p.y, touch.y);
    EXPECT_FALSE(PanelVisible());
}

TEST_P(EdgesE2E, TwoDoesNothing) {
    ASSERT_TRUE(Start(2));
    const POINT touch = GetParam().touch(Width(), Height());
    SetCursorPos(touch.x, touch.y);
    Sleep(400);
    EXPECT_TRUE(PanelVisible());
    const POINT p = CursorPos();
    EXPECT_EQ(p.x, touch.x);
    EXPECT_EQ(p.y, touch.y);
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
    SetCursorPos(m.left + 16, m.top + 29);
    Sleep(400);
    EXPECT_FALSE(IsWindowVisible(panel));

    const RECT r = WindowRect(panel);
    SetCursorPos(r.left + 40, r.top + 40);
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(panel); }));
    // The panel's border is outside: all four comparisons are strict.
    SetCursorPos(r.left, r.top + 40);
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(panel); }));
}
