// The mascot window: creation, its face, the two-second disappearance, activation and hints.

#include "WinTestSupport.h"

#include "mascot/eye1.h"
#include "panel/Btn.h"
#include "ui/Hints.h"

#include <commctrl.h>

using namespace std::chrono_literals;
using wintest::PumpUntil;
using wintest::SettingsPath;

namespace {

class MascotTest : public wintest::AppTest {
protected:
    TpamuF* Start(const std::wstring& ini = L"") {
        TpamuF* mascot = StartProgram(ini);
        mascot->Show(); // as the message loop does at start
        return mascot;
    }
    static void Press(TpamuF* mascot, UINT message, int x, int y) {
        SendMessageW(mascot->Handle(), message, message == WM_RBUTTONDOWN ? MK_RBUTTON : MK_LBUTTON,
                     MAKELPARAM(x, y));
    }
    static std::wstring HintAt(TpamuF* mascot, int x, int y) {
        TTHITTESTINFOW hit{};
        hit.hwnd = mascot->Handle();
        hit.pt = {x, y};
        hit.ti.cbSize = sizeof(hit.ti);
        if (!SendMessageW(mascot->Hints().Handle(), TTM_HITTESTW, 0, reinterpret_cast<LPARAM>(&hit)))
            return L"<none>";
        return mascot->Hints().ToolText(hit.ti.hwnd, hit.ti.uId);
    }
};

void ExpectBounds(const ui::Shape& shape, int left, int top, int width, int height) {
    EXPECT_EQ(shape.Left(), left);
    EXPECT_EQ(shape.Top(), top);
    EXPECT_EQ(shape.Width(), width);
    EXPECT_EQ(shape.Height(), height);
}

} // namespace

TEST_F(MascotTest, RoundTopmostFaceAtItsStoredPlaceWithoutTaskBarButton) {
    TpamuF* mascot = Start(L"[eye]\r\nLeft=321\r\nTop=45\r\nColor=clAqua\r\n");
    EXPECT_EQ(mascot->Left(), 321);
    EXPECT_EQ(mascot->Top(), 45);
    EXPECT_EQ(mascot->Width(), 31);
    EXPECT_EQ(mascot->Height(), 31);
    EXPECT_EQ(mascot->Caption(), L"ぱむぱむランチ");
    EXPECT_TRUE(GetWindowLongW(mascot->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(GetWindowLongW(mascot->Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    EXPECT_FALSE(GetWindowLongW(mascot->Handle(), GWL_EXSTYLE) & WS_EX_APPWINDOW);
    EXPECT_EQ(GetWindow(mascot->Handle(), GW_OWNER), app->Handle());
    EXPECT_EQ(GetWindow(BtnF1->Handle(), GW_OWNER), app->Handle());
    EXPECT_EQ(mascot->ui::Form::Color(), clAqua);
    EXPECT_EQ(mascot->EditMode(), EditState::None);
    EXPECT_EQ(mascot->FaceSize, 31);
    EXPECT_EQ(mascot->ButtonSize, 38);
    EXPECT_EQ(mascot->IconSize, 32);
    EXPECT_TRUE(mascot->Timer1.Enabled());
    EXPECT_EQ(mascot->Timer1.Interval(), 100u);
    EXPECT_FALSE(mascot->Timer2.Enabled());
    EXPECT_EQ(launcher->SettingsPath(), SettingsPath());

    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(mascot->Handle(), region), ERROR);
    EXPECT_TRUE(PtInRegion(region, 15, 15));
    EXPECT_TRUE(PtInRegion(region, 15, 29));
    EXPECT_FALSE(PtInRegion(region, 1, 1));
    EXPECT_FALSE(PtInRegion(region, 29, 29));
    DeleteObject(region);
}

TEST_F(MascotTest, ThePanelAndTheTrayIconWaitUntilTheMascotHasShown) {
    // What the program's entry runs before the loop shows the mascot; the rest follows it, once the loop
    // has shown it and before it takes a message.
    TpamuF* mascot = program.Start(*app);
    EXPECT_EQ(BtnF1, nullptr);
    EXPECT_FALSE(mascot->TrayIcon1.TaskTrayIcon().Wanted);
    bool shownFirst = false;
    app->AfterMainFormShown([&] {
        shownFirst = IsWindowVisible(mascot->Handle()) && BtnF1 && mascot->TrayIcon1.TaskTrayIcon().Wanted;
        app->Terminate();
    });
    app->Run();
    EXPECT_TRUE(shownFirst);
}

TEST_F(MascotTest, ThePanelGoneBeforeTheMascotIsReachedNoMore) {
    TpamuF* mascot = Start();
    DeleteFileW(SettingsPath().c_str());
    // The forms go newest first; the tray icon's last callbacks, and a session end, come after.
    app->ReleaseForm(BtnF1);
    app->ProcessMessages();
    ASSERT_EQ(BtnF1, nullptr);
    mascot->TrayIcon1MouseClick(ui::MouseButton::mbLeft, 0, 0, 0);
    mascot->TrayIcon1MouseMove(0, 0, 0);
    mascot->SaveOnEnd();
    EXPECT_EQ(GetFileAttributesW(SettingsPath().c_str()), INVALID_FILE_ATTRIBUTES); // no places from gone windows
}

TEST_F(MascotTest, ShapesTakeTheirBoundsAndTheDropFaceIsHidden) {
    TpamuF* mascot = Start();
    ExpectBounds(mascot->Shape1, 0, 0, 14, 28);
    ExpectBounds(mascot->Shape2, 16, 0, 14, 28);
    ExpectBounds(mascot->Shape3, 8, 8, 4, 8);
    ExpectBounds(mascot->Shape4, 17, 8, 4, 8);
    ExpectBounds(mascot->Shape5, 2, 5, 25, 25);
    ExpectBounds(mascot->Shape6, 2, 9, 25, 18);
    EXPECT_FALSE(mascot->Shape5.Visible());
    EXPECT_FALSE(mascot->Shape6.Visible());
    EXPECT_EQ(mascot->Shape1.BrushColor(), clWhite);
    EXPECT_EQ(mascot->Shape3.BrushColor(), clBlack);
    EXPECT_EQ(mascot->Shape5.BrushColor(), clRed);
    EXPECT_EQ(mascot->Shape6.PenColor(), clRed);
}

TEST_F(MascotTest, FacePaintsTheColourEyesAndPupils) {
    TpamuF* mascot = Start(L"[eye]\r\nColor=clLime\r\n");
    UpdateWindow(mascot->Handle());
    HDC dc = GetDC(mascot->Handle());
    EXPECT_EQ(GetPixel(dc, 15, 20), RGB(0, 255, 0));    // between the eyes
    EXPECT_EQ(GetPixel(dc, 4, 14), RGB(255, 255, 255)); // left eye
    EXPECT_EQ(GetPixel(dc, 10, 12), RGB(0, 0, 0));      // left pupil
    ReleaseDC(mascot->Handle(), dc);
}

TEST_F(MascotTest, LeftPressOnAnEyeHidesTheMascotForTwoSeconds) {
    TpamuF* mascot = Start();
    mascot->Timer1.SetEnabled(false);     // the pupils stay where the presses below expect them
    Press(mascot, WM_LBUTTONDOWN, 4, 20); // left eye
    EXPECT_FALSE(mascot->Visible());
    EXPECT_TRUE(mascot->Timer2.Enabled());
    auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(PumpUntil([&] { return mascot->Visible(); }, 5s));
    auto hidden = std::chrono::steady_clock::now() - start;
    EXPECT_GE(hidden, 1500ms);
    EXPECT_FALSE(mascot->Timer2.Enabled());

    Press(mascot, WM_LBUTTONDOWN, 26, 20); // right eye
    EXPECT_FALSE(mascot->Visible());
}

TEST_F(MascotTest, OtherPressesDoNotHide) {
    TpamuF* mascot = Start();
    Press(mascot, WM_RBUTTONDOWN, 4, 20); // right button on an eye
    EXPECT_TRUE(mascot->Visible());
    Press(mascot, WM_LBUTTONDOWN, 9, 10); // a pupil swallows the press
    EXPECT_TRUE(mascot->Visible());
    EXPECT_FALSE(mascot->Timer2.Enabled());
}

TEST_F(MascotTest, ActivationHidesTheMascotOnlyWhenPamuHideIsYes) {
    TpamuF* mascot = Start(L"[eye]\r\nPamuHide=Yes\r\n");
    SendMessageW(app->Handle(), WM_ACTIVATEAPP, TRUE, 0);
    EXPECT_FALSE(mascot->Visible());
    mascot->Show();
    SendMessageW(app->Handle(), WM_ACTIVATEAPP, TRUE, 0);
    EXPECT_FALSE(mascot->Visible());
    ChangeOptions([](EyeOptions& o) { o.PamuHide = YesNo::FromText(L"yes"); }); // compared exactly
    mascot->Show();
    SendMessageW(app->Handle(), WM_ACTIVATEAPP, TRUE, 0);
    EXPECT_TRUE(mascot->Visible());
}

TEST_F(MascotTest, HintsOfTheFaceTheEyesAndThePupils) {
    TpamuF* mascot = Start();
    EXPECT_EQ(HintAt(mascot, 15, 29), L"移動できます");
    EXPECT_EQ(HintAt(mascot, 3, 20), L"ぼく、ぱむ太");
    EXPECT_EQ(HintAt(mascot, 27, 20), L"ぼく、ぱむ太");
    EXPECT_EQ(HintAt(mascot, 19, 12), L"Ｄ＆Ｄでプログラムを登録できます");
    EXPECT_EQ(HintAt(mascot, 10, 12), L"右クリックでメニュー表示");
    // A pupil's tool follows the pupil.
    mascot->Shape3.SetLeft(2);
    EXPECT_EQ(HintAt(mascot, 3, 12), L"右クリックでメニュー表示");
    EXPECT_EQ(HintAt(mascot, 10, 12), L"ぼく、ぱむ太");
}
