// A window moved onto a monitor of another DPI: Windows sends WM_DPICHANGED with the new DPI and a
// rectangle for it, and the window lays itself out again at that DPI.

#include "WinTestSupport.h"

#include "dialogs/BtnSet.h"
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

RECT BoundsInParent(HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

LONG FontHeight(HWND control) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof(font), &font);
    return font.lfHeight;
}

} // namespace

TEST_F(DpiChangeTest, MascotMakesItsFaceAndRegionAtTheNewDpiAndBack) {
    TpamuF* mascot = StartProgram(L"[eye]\r\nLeft=321\r\nTop=45\r\n");
    mascot->Timer1.SetEnabled(false);
    MoveToDpi(*mascot, 192, 62, 62);
    EXPECT_EQ(mascot->Dpi(), 192);
    EXPECT_EQ(mascot->Left(), 321);
    EXPECT_EQ(mascot->Width(), 62);
    EXPECT_EQ(mascot->Height(), 62);
    EXPECT_EQ(mascot->Shape2.Left(), 32);
    EXPECT_EQ(mascot->Shape2.Width(), 28);
    EXPECT_EQ(mascot->Shape3.Height(), 16);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(mascot->Handle(), region), ERROR);
    EXPECT_TRUE(PtInRegion(region, 31, 59));
    EXPECT_FALSE(PtInRegion(region, 3, 3));

    MoveToDpi(*mascot, 96, 31, 31);
    EXPECT_EQ(mascot->Width(), 31);
    EXPECT_EQ(mascot->Shape2.Left(), 16);
    EXPECT_EQ(mascot->Shape2.Width(), 14);
    ASSERT_NE(GetWindowRgn(mascot->Handle(), region), ERROR);
    EXPECT_FALSE(PtInRegion(region, 31, 29));
    DeleteObject(region);
}

TEST_F(DpiChangeTest, PanelTakesTheSuggestedWidthWithLargerButtonsAndIcons) {
    StartProgram(L"[btnform]\r\nleft=100\r\ntop=100\r\nwidth=238\r\nheight=220\r\n");
    MoveToDpi(*BtnF1, 192, 476, 440);
    EXPECT_EQ(BtnF1->ToolBar1.ButtonWidth(), 76);
    EXPECT_EQ(BtnF1->ToolBar1.ButtonHeight(), 76);
    EXPECT_EQ(BtnF1->ImageList1.Width(), 64);
    EXPECT_EQ(BtnF1->ImageList1.Count(), 30);
    EXPECT_EQ(BtnF1->ToolBar1.RowCount(), 5); // six a row, as at 96 DPI

    MoveToDpi(*BtnF1, 96, 238, 220);
    EXPECT_EQ(BtnF1->ToolBar1.ButtonHeight(), 38);
    EXPECT_EQ(BtnF1->ImageList1.Width(), 32);
    EXPECT_EQ(BtnF1->ToolBar1.RowCount(), 5);
}

TEST_F(DpiChangeTest, DialogScalesItsControlsAndFonts) {
    StartProgram(L"[btnform]\r\nleft=100\r\ntop=100\r\nwidth=238\r\n");
    BtnF1->Buttons[1]->Click();
    ASSERT_TRUE(BtnSetF);
    const HWND ok = BtnSetF->Button4.Handle();
    const RECT before = BoundsInParent(ok);
    EXPECT_EQ(before.right - before.left, 69);
    EXPECT_EQ(FontHeight(ok), -12);

    MoveToDpi(*BtnSetF, 192, BtnSetF->Width() * 2, BtnSetF->Height() * 2);
    const RECT after = BoundsInParent(ok);
    EXPECT_EQ(after.left, before.left * 2);
    EXPECT_EQ(after.top, before.top * 2);
    EXPECT_EQ(after.right - after.left, 138);
    EXPECT_EQ(after.bottom - after.top, 50);
    EXPECT_EQ(FontHeight(ok), -24);
}
