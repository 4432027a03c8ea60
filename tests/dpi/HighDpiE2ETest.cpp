// The real pmrun.exe on a 192-DPI desktop: everything the program sizes itself is twice its 96-DPI size,
// and a panel whose stored width is twice the design width lays its buttons out as at 96 DPI.

#include "PmrunProcess.h"

#include <commctrl.h>

namespace e2e {
namespace {

SIZE SizeOf(HWND window) {
    const RECT r = WindowRect(window);
    return {r.right - r.left, r.bottom - r.top};
}

HWND ChildWithText(HWND parent, const std::wstring& text) {
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (WindowText(child) == text) return child;
    return nullptr;
}

class HighDpiE2ETest : public E2ETest {};

TEST_F(HighDpiE2ETest, MascotPanelAndDialogAreTwiceTheirSize) {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    ASSERT_EQ(dpi, 192) << "run in a prefix whose LogPixels is 192";

    // The stored width is in physical pixels: the design's 238 at 192 DPI.
    pmrun.WriteIni(L"[eye]\r\nLeft=600\r\nTop=400\r\n" + std::wstring(kNoEdges) +
                   L"[btnform]\r\nleft=100\r\ntop=100\r\nwidth=476\r\nheight=440\r\n");
    ASSERT_TRUE(pmrun.Start());

    const SIZE face = SizeOf(pmrun.Mascot());
    EXPECT_EQ(face.cx, 62);
    EXPECT_EQ(face.cy, 62);

    const HWND bar = pmrun.PanelToolBar();
    const auto buttonSize = static_cast<DWORD>(SendMessageW(bar, TB_GETBUTTONSIZE, 0, 0));
    EXPECT_EQ(LOWORD(buttonSize), 76);
    EXPECT_EQ(HIWORD(buttonSize), 76);
    // Thirty buttons six a row, as the design width gives them at 96 DPI.
    EXPECT_EQ(SendMessageW(bar, TB_GETROWS, 0, 0), 5);

    // Button 1 has no program: a click opens its settings dialog, whose OK button is 69 x 25 at 96 DPI.
    const RECT barRect = WindowRect(bar);
    ClickAt(barRect.left + 1 + 38, barRect.top + 38);
    HWND ok = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        const HWND dialog = pmrun.FindWindowOfClass(L"TBtnSetF");
        ok = dialog && IsWindowVisible(dialog) ? ChildWithText(dialog, L"OK") : nullptr;
        return ok != nullptr;
    }));
    const SIZE okSize = SizeOf(ok);
    EXPECT_EQ(okSize.cx, 138);
    EXPECT_EQ(okSize.cy, 50);

    EXPECT_TRUE(pmrun.Quit());
}

} // namespace
} // namespace e2e
