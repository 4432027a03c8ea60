// The mascot's tick on real windows and the real pointer: edges, hover mode, the pupils and what the
// pointer over the mascot or the tray icon does.

#include "AllocationCount.h"
#include "WinTestSupport.h"

#include "mascot/eye1.h"
#include "panel/Btn.h"

using namespace std::chrono_literals;

namespace {

constexpr wchar_t kNoEdges[] = L"[eye]\r\nLWall=2\r\nTWall=2\r\nRWall=2\r\nBWall=2\r\n";
constexpr wchar_t kHover[] =
    L"[eye]\r\nLWall=2\r\nTWall=2\r\nRWall=2\r\nBWall=2\r\nApSc=\r\nDApSc=\r\nPamuHide=No\r\n";

class TrackingTest : public wintest::AppTest {
protected:
    TpamuF* Start(const std::wstring& ini) {
        mascot = StartProgram(ini);
        // Ticks come only from the test.
        mascot->Timer1.SetEnabled(false);
        mascot->Show();
        // Wine's tray window, another process's, lies at the top left where the pointer is put: on a busy
        // machine it could hand the desktop a pointer position from before the last move.
        if (HWND tray = FindWindowW(L"__winex11_standalone_tray", nullptr)) {
            ShowWindowAsync(tray, SW_HIDE);
            wintest::PumpUntil([tray] { return !IsWindowVisible(tray); }, 5s);
        }
        return mascot;
    }
    void TearDown() override {
        SetCursorPos(kRestX, kRestY);
        wintest::AppTest::TearDown();
    }
    static POINT Cursor() {
        POINT p{};
        GetCursorPos(&p);
        return p;
    }
    void TickAt(int x, int y) {
        SetCursorPos(x, y);
        mascot->Timer1Timer();
    }
    static constexpr int kRestX = 900, kRestY = 650;
    TpamuF* mascot = nullptr;
};

} // namespace

TEST_F(TrackingTest, LeftEdgeShowsThePanelAndPushesThePointerBack) {
    Start(L"[eye]\r\nLWall=1\r\nTWall=2\r\nRWall=2\r\nBWall=2\r\n");
    BtnF1->Hide();
    BtnF1->ToolBar1.SetShowCaptions(true);
    TickAt(0, 300);
    EXPECT_TRUE(BtnF1->Visible());
    EXPECT_FALSE(BtnF1->ToolBar1.ShowCaptions());
    EXPECT_EQ(Cursor().x, 10);
    EXPECT_EQ(Cursor().y, 300);
}

TEST_F(TrackingTest, EdgeOptionZeroHidesAndLeavesThePointer) {
    Start(L"[eye]\r\nLWall=0\r\nTWall=2\r\nRWall=0\r\nBWall=2\r\n");
    ASSERT_TRUE(BtnF1->Visible());
    TickAt(0, 300);
    EXPECT_FALSE(BtnF1->Visible());
    EXPECT_EQ(Cursor().x, 0);
    BtnF1->Show();
    const int w = GetSystemMetrics(SM_CXSCREEN);
    TickAt(w - 1, 200);
    EXPECT_FALSE(BtnF1->Visible());
    EXPECT_EQ(Cursor().x, w - 1);
}

TEST_F(TrackingTest, TopLeftCornerMovesThePointerTwiceInOneTick) {
    Start(L"[eye]\r\nLWall=1\r\nTWall=1\r\nRWall=2\r\nBWall=2\r\n");
    BtnF1->Hide();
    TickAt(0, 0);
    EXPECT_TRUE(BtnF1->Visible());
    // (10, 0) from the left rule, then (0, 10) from the top rule on the same reading.
    EXPECT_EQ(Cursor().x, 0);
    EXPECT_EQ(Cursor().y, 10);
    mascot->Timer1Timer();
    EXPECT_EQ(Cursor().x, 10);
    EXPECT_EQ(Cursor().y, 10);
}

TEST_F(TrackingTest, RightAndBottomEdgesPushTenPixelsBack) {
    Start(L"[eye]\r\nLWall=2\r\nTWall=2\r\nRWall=1\r\nBWall=1\r\n");
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    BtnF1->Hide();
    TickAt(w - 1, 200);
    EXPECT_TRUE(BtnF1->Visible());
    EXPECT_EQ(Cursor().x, w - 10);
    BtnF1->Hide();
    TickAt(300, h - 1);
    EXPECT_TRUE(BtnF1->Visible());
    EXPECT_EQ(Cursor().y, h - 10);
}

TEST_F(TrackingTest, OtherEdgeValuesAndEditModesDoNothing) {
    Start(L"[eye]\r\nLWall=-1\r\nTWall=3\r\nRWall=1\r\nBWall=0\r\n");
    BtnF1->Hide();
    TickAt(0, 300);
    TickAt(300, 0);
    EXPECT_FALSE(BtnF1->Visible());
    EXPECT_EQ(Cursor().y, 0);

    const int w = GetSystemMetrics(SM_CXSCREEN);
    for (EditState mode : {EditState::SetDetails, EditState::Swap, EditState::Remove, EditState::Options}) {
        SetEditMode(mode);
        TickAt(w - 1, 300);
        EXPECT_FALSE(BtnF1->Visible()) << static_cast<int>(mode);
        EXPECT_EQ(Cursor().x, w - 1) << static_cast<int>(mode);
    }
    // The pupils still follow: right pupil at its outer side, left one at the inner edge.
    EXPECT_EQ(mascot->Shape3.Left(), 12);
    EXPECT_GE(mascot->Shape4.Left(), 24);
    SetEditMode(EditState::None);
    TickAt(w - 1, 300);
    EXPECT_TRUE(BtnF1->Visible());
}

TEST_F(TrackingTest, PupilsFollowThePointer) {
    Start(kNoEdges);
    mascot->SetBounds(500, 300, 31, 31); // the eye point E is (516, 315)
    TickAt(516, 315);
    EXPECT_EQ(mascot->Shape3.Left(), 11);
    EXPECT_EQ(mascot->Shape4.Left(), 16);
    EXPECT_EQ(mascot->Shape3.Top(), 15);
    EXPECT_EQ(mascot->Shape4.Top(), 15);
    TickAt(0, 0);
    EXPECT_EQ(mascot->Shape3.Left(), 1);
    EXPECT_EQ(mascot->Shape4.Left(), 16);
    EXPECT_EQ(mascot->Shape3.Top(), 0);
    EXPECT_EQ(mascot->Shape4.Top(), 0);
    // r = 0.7 both ways: 1 + trunc(10 x 0.7f) = 7 and trunc(14 x 0.7f) = 9.
    mascot->SetBounds(484, 285, 31, 31); // E = (500, 300)
    TickAt(350, 210);
    EXPECT_EQ(mascot->Shape3.Left(), 7);
    EXPECT_EQ(mascot->Shape3.Top(), 9);
    if (GetSystemMetrics(SM_CXSCREEN) == 1024 && GetSystemMetrics(SM_CYSCREEN) == 768) {
        mascot->SetBounds(500, 300, 31, 31);
        TickAt(1023, 767);
        EXPECT_EQ(mascot->Shape3.Left(), 12);
        EXPECT_EQ(mascot->Shape4.Left(), 25); // 16 + trunc(10 x 507/508)
        EXPECT_EQ(mascot->Shape3.Top(), 20);  // 15 + trunc(6 x 452/453)
        EXPECT_EQ(mascot->Shape4.Top(), 20);
        // The eye point 6 pixels above the bottom: r = 5/6 in 32 bits, and the pupils stop at 19.
        mascot->SetBounds(500, 768 - 6 - 15, 31, 31);
        TickAt(100, 767);
        EXPECT_EQ(mascot->Shape3.Top(), 19);
    }
}

TEST_F(TrackingTest, UnmovedPupilsRepaintNothing) {
    Start(kNoEdges);
    mascot->SetBounds(500, 300, 31, 31);
    TickAt(700, 100);
    UpdateWindow(mascot->Handle());
    RECT dirty{};
    mascot->Timer1Timer();
    EXPECT_FALSE(GetUpdateRect(mascot->Handle(), &dirty, FALSE));
    TickAt(100, 500);
    EXPECT_TRUE(GetUpdateRect(mascot->Handle(), &dirty, FALSE));
}

TEST_F(TrackingTest, TickAllocatesNothing) {
    Start(L"[eye]\r\nLWall=0\r\nTWall=1\r\nRWall=2\r\nBWall=2\r\n");
    mascot->SetBounds(500, 300, 31, 31);
    TickAt(700, 100);
    const long long before = AllocationCount();
    for (int i = 0; i < 20; ++i)
        mascot->Timer1Timer(); // pointer still
    for (POINT p : {POINT{100, 500}, POINT{900, 700}, POINT{0, 300}, POINT{400, 0}, POINT{516, 315}})
        TickAt(p.x, p.y); // pupils moving, the edges hiding and showing the panel
    EXPECT_EQ(AllocationCount(), before);
    // The counter does count: a string of this length is not stored in place.
    std::wstring probe(100, L'x');
    EXPECT_GT(AllocationCount(), before);
}

TEST_F(TrackingTest, EyePointOnTheScreenBorderLeavesThePupils) {
    Start(kNoEdges);
    mascot->SetBounds(-16, 300, 31, 31); // E.x = 0
    mascot->Shape3.SetLeft(5);
    mascot->Shape4.SetLeft(18);
    TickAt(0, 315);
    EXPECT_EQ(mascot->Shape3.Left(), 5);
    EXPECT_EQ(mascot->Shape4.Left(), 18);
    EXPECT_EQ(mascot->Shape3.Top(), 15); // the vertical rule still applies
    EXPECT_TRUE(errors.empty());
}

TEST_F(TrackingTest, HoverModeShowsThePanelOnlyUnderThePointer) {
    Start(kHover);
    ASSERT_TRUE(mascot->HoverMode());
    BtnF1->SetBounds(200, 200, 238, 220);
    BtnF1->Hide();
    SetForegroundWindow(mascot->Handle());
    ASSERT_EQ(GetForegroundWindow(), mascot->Handle());
    const RECT r = BtnF1->BoundsRect();
    TickAt(r.left + 20, r.top + 20);
    EXPECT_TRUE(BtnF1->Visible());
    BtnF1->ToolBar1.SetShowCaptions(true); // as Alt+Q leaves it: the next tick gives the normal form back
    TickAt(r.left + 22, r.top + 20);
    EXPECT_FALSE(BtnF1->ToolBar1.ShowCaptions());
    TickAt(r.left, r.top + 20); // on the border line: outside
    EXPECT_FALSE(BtnF1->Visible());

    // Another program's window in the foreground: nothing happens.
    HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 700, 500, 50, 50, nullptr,
                                 nullptr, nullptr, nullptr);
    SetForegroundWindow(other);
    ASSERT_EQ(GetForegroundWindow(), other);
    TickAt(r.left + 20, r.top + 20);
    EXPECT_FALSE(BtnF1->Visible());
    DestroyWindow(other);
}

TEST_F(TrackingTest, InHoverModeALaunchAnsweredAfterTheTicksShowHidesThePanel) {
    Start(std::wstring(kHover) + L"[btn1]\r\npg=" + Probe(L"pmrun_hovered.exe") + L"\r\n");
    BtnF1->SetBounds(200, 200, 238, 220);
    SetForegroundWindow(mascot->Handle());
    const RECT r = BtnF1->BoundsRect();
    TickAt(r.left + 20, r.top + 20);
    BtnF1->Buttons[1]->Click();
    TickAt(r.left + 22, r.top + 20); // the hover rule's show again: no new request
    ASSERT_TRUE(wintest::PumpUntil([this] { return !BtnF1->LaunchesPending(); }, 10s));
    EXPECT_FALSE(BtnF1->Visible());
}

TEST_F(TrackingTest, HoverModeNeedsPamuHideNo) {
    Start(L"[eye]\r\nLWall=2\r\nTWall=2\r\nRWall=2\r\nBWall=2\r\nApSc=\r\nDApSc=\r\n");
    EXPECT_FALSE(mascot->HoverMode()); // PamuHide never saved
    BtnF1->Hide();
    SetForegroundWindow(mascot->Handle());
    TickAt(BtnF1->Left() + 20, BtnF1->Top() + 20);
    EXPECT_FALSE(BtnF1->Visible());
}

TEST_F(TrackingTest, PointerOverTheMascotShowsThePanelUnlessInHoverMode) {
    Start(kNoEdges);
    BtnF1->Hide();
    BtnF1->ToolBar1.SetShowCaptions(true);
    SendMessageW(mascot->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(15, 29)); // the face between the eyes
    EXPECT_TRUE(BtnF1->Visible());
    EXPECT_FALSE(BtnF1->ToolBar1.ShowCaptions());
    EXPECT_EQ(BtnF1->ClientWidth(), BtnF1->ToolBar1.Width());
    BtnF1->Hide();
    SendMessageW(mascot->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 10)); // an eye
    EXPECT_TRUE(BtnF1->Visible());
    BtnF1->Hide();
    SendMessageW(mascot->Handle(), WM_MOUSEMOVE, 0,
                 MAKELPARAM(mascot->Shape3.Left() + 1, mascot->Shape3.Top() + 1)); // a pupil
    EXPECT_TRUE(BtnF1->Visible());
    BtnF1->Hide();
    SetEditMode(EditState::Swap); // whatever the mode
    SendMessageW(mascot->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(15, 29));
    EXPECT_TRUE(BtnF1->Visible());
}

TEST_F(TrackingTest, PointerOverTheMascotInHoverModeDoesNothing) {
    Start(kHover);
    BtnF1->Hide();
    SendMessageW(mascot->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(15, 29));
    SendMessageW(mascot->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 10));
    EXPECT_FALSE(BtnF1->Visible());
}

TEST_F(TrackingTest, BtnFormShowFitsTheWidthToWholeButtons) {
    Start(kNoEdges);
    BtnF1->Hide();
    BtnF1->ToolBar1.SetShowCaptions(true);
    BtnF1->ToolBar1.SetButtonHeight(50);
    BtnF1->SetVertScrollIncrement(50);
    BtnF1->SetWidth(BtnF1->Width() + 17);
    mascot->BtnFormShow();
    EXPECT_TRUE(BtnF1->Visible());
    EXPECT_FALSE(BtnF1->ToolBar1.ShowCaptions());
    EXPECT_EQ(BtnF1->ToolBar1.ButtonHeight(), 38);
    EXPECT_EQ(BtnF1->VertScrollIncrement(), 38);
    EXPECT_EQ((BtnF1->ToolBar1.Width() - 1) % 38, 0);
    EXPECT_EQ(BtnF1->ClientWidth(), BtnF1->ToolBar1.Width());
}

TEST_F(TrackingTest, PointerOverTheTrayIconResetsTheBarAndShowsThePanel) {
    Start(kHover);
    BtnF1->Hide();
    BtnF1->ToolBar1.SetShowCaptions(true);
    mascot->TrayIcon1MouseMove({}, 0, 0);
    EXPECT_FALSE(BtnF1->ToolBar1.ShowCaptions()); // reset even in hover mode
    EXPECT_FALSE(BtnF1->Visible());
    ChangeOptions([](EyeOptions& o) { o.DApSc = L"Alt+Z"; }); // hover mode off
    mascot->TrayIcon1MouseMove({}, 0, 0);
    EXPECT_TRUE(BtnF1->Visible());
}
