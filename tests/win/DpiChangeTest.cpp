// A window moved onto a monitor of another DPI: Windows sends WM_DPICHANGED with the new DPI and a
// rectangle for it, and the window lays itself out again at that DPI.

#include "Drops.h"
#include "WinTestSupport.h"

#include "ui/Dpi.h"
#include "ui/StdControls.h"

#include "dialogs/BtnSet.h"
#include "dialogs/OptSet.h"
#include "mascot/eye1.h"
#include "panel/Btn.h"

namespace {

class DpiChangeTest : public wintest::AppTest {
protected:
    static void MoveToDpi(ui::Form& form, int dpi, int width, int height) {
        RECT suggested{form.Left(), form.Top(), form.Left() + width, form.Top() + height};
        SendMessageW(form.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&suggested));
    }
};

} // namespace

TEST_F(DpiChangeTest, MascotMakesItsFaceAndRegionAtTheNewDpiAndBack) {
    TpamuF* mascot = StartProgram(L"[eye]\r\nLeft=321\r\nTop=45\r\n");
    mascot->Timer1.SetEnabled(false);
    MoveToDpi(*mascot, 192, 62, 62);
    EXPECT_EQ(mascot->Left(), 321);
    EXPECT_EQ(mascot->Width(), 62);
    EXPECT_EQ(mascot->Shape2.Left(), 32);
    EXPECT_EQ(mascot->Shape3.Height(), 16);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(mascot->Handle(), region), ERROR);
    EXPECT_TRUE(PtInRegion(region, 31, 59));
    // The surprised face of a drop, whole: its pupils go up by six pixels here.
    SendMessageW(mascot->Handle(), WM_DROPFILES,
                 reinterpret_cast<WPARAM>(testfiles::MakeDrop({ui::Application::ExeName()})), 0);
    EXPECT_EQ(mascot->Shape3.Top(), 6);
    ASSERT_TRUE(wintest::PumpUntil([&] { return !mascot->Shape5.Visible(); }, std::chrono::seconds(10)));

    MoveToDpi(*mascot, 96, 31, 31);
    EXPECT_EQ(mascot->Width(), 31);
    EXPECT_EQ(mascot->Shape2.Width(), 14);
    ASSERT_NE(GetWindowRgn(mascot->Handle(), region), ERROR);
    EXPECT_FALSE(PtInRegion(region, 31, 29));
    DeleteObject(region);
}

TEST_F(DpiChangeTest, PanelAndDialogTakeLargerButtonsIconsControlsAndFonts) {
    StartProgram(L"[btnform]\r\nleft=100\r\ntop=100\r\nwidth=238\r\nheight=220\r\n");
    MoveToDpi(*BtnF1, 192, 476, 440);
    EXPECT_EQ(BtnF1->ToolBar1.ButtonHeight(), 76);
    EXPECT_EQ(BtnF1->ImageList1.Width(), 64);
    EXPECT_EQ(BtnF1->ToolBar1.RowCount(), 5); // six a row, as at 96 DPI

    BtnF1->Buttons[1]->Click();
    ASSERT_TRUE(BtnSetF);
    MoveToDpi(*BtnSetF, 192, BtnSetF->Width() * 2, BtnSetF->Height() * 2);
    RECT ok{}; // 220, 135, 69 x 25 at 96 DPI
    GetWindowRect(BtnSetF->Button4.Handle(), &ok);
    MapWindowPoints(nullptr, BtnSetF->Handle(), reinterpret_cast<POINT*>(&ok), 2);
    EXPECT_EQ(ok.left, 440);
    EXPECT_EQ(ok.right - ok.left, 138);
    EXPECT_EQ(ok.bottom - ok.top, 50);
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(BtnSetF->Button4.Handle(), WM_GETFONT, 0, 0)),
               sizeof(font), &font);
    EXPECT_EQ(font.lfHeight, -24);
}

TEST_F(DpiChangeTest, OptionsDialogTabsAndListsFollowTheDpi) {
    TpamuF* mascot = StartProgram();
    TOptSetF* dialog = mascot->CreateOptionsDialog();
    const auto tabWidth = [&] {
        RECT tab{};
        SendMessageW(dialog->PageControl1.Handle(), TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&tab));
        return tab.right - tab.left;
    };
    const auto itemHeight = [&] {
        return static_cast<int>(SendMessageW(dialog->ComboBox1.Handle(), CB_GETITEMHEIGHT, 0, 0));
    };
    const int width96 = tabWidth(), height96 = itemHeight();
    MoveToDpi(*dialog, 192, dialog->Width() * 2, dialog->Height() * 2);
    EXPECT_NEAR(tabWidth(), 2 * width96, 1);
    EXPECT_NEAR(itemHeight(), 2 * height96, 1);
    dialog->Button2Click();
}

namespace {

// Monitors of two DPIs, as no test machine has them: 144 where a rectangle's middle lies right of x 200.
int TwoDpisAtRect(const RECT& r) {
    return (r.left + r.right) / 2 > 200 ? 144 : 96;
}
int TwoDpisOfWindow(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return TwoDpisAtRect(r);
}

// What Windows does when a move takes a window onto a monitor of 192 DPI: WM_DPICHANGED, inside the move.
LRESULT CALLBACK CrossTo192(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (message == WM_WINDOWPOSCHANGED) {
        RemoveWindowSubclass(window, CrossTo192, 1); // once
        RECT suggested{0, 0, 1000, 1000};
        SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

} // namespace

TEST_F(DpiChangeTest, TheSettingsDialogBesideAPanelOnAMonitorOfAnotherDpiHasThatDpisSize) {
    StartProgram(L"[btnform]\r\nleft=100\r\ntop=100\r\nwidth=238\r\nheight=220\r\n");
    BtnF1->PrepareSettingsDialog(1); // made hidden at 96 DPI
    ASSERT_EQ(BtnSetF->Dpi(), 96);
    const ui::DpiPlatform saved = ui::DpiCalls();
    ui::DpiCalls() = {[](const RECT&) { return 192; }, [](HWND) { return 192; }};
    SetWindowSubclass(BtnSetF->Handle(), CrossTo192, 1, 0);
    BtnSetF->Show();
    ui::DpiCalls() = saved;
    EXPECT_EQ(BtnSetF->Dpi(), 192);
    // 296 x 165 at 96 DPI, not clipped (Wine draws a caption of 96 DPI on the frame made for 192).
    EXPECT_EQ(BtnSetF->ClientWidth(), 592);
    EXPECT_GE(BtnSetF->ClientHeight(), 330);
}

TEST_F(DpiChangeTest, OneDpiForAFormFromWhereItShowsAndNoSecondScalingOfBoundsItIsGiven) {
    const ui::DpiPlatform saved = ui::DpiCalls();
    ui::DpiCalls() = {TwoDpisAtRect, TwoDpisOfWindow};
    // Designed at 0, 0 (96 DPI there), centred on the screen (144 DPI): form and controls take 144.
    ui::FormParams params = wintest::Params(200, 100);
    params.centred = true;
    params.clientSize = true;
    auto* form = app->CreateForm<wintest::TestForm>(params);
    ui::Edit edit(*form, {10, 10, 100, 20});
    EXPECT_EQ(form->Dpi(), 144);
    RECT r{};
    GetWindowRect(edit.Handle(), &r);
    EXPECT_EQ(r.bottom - r.top, 30);
    ui::DpiCalls() = saved;

    // A move to bounds in physical pixels that crosses to a monitor of another DPI keeps the size given.
    SetWindowSubclass(form->Handle(), CrossTo192, 1, 0);
    form->SetBounds(40, 50, 300, 200);
    EXPECT_EQ(form->Dpi(), 192);
    EXPECT_EQ(form->Width(), 300);
    EXPECT_EQ(form->Left(), 40);
}
