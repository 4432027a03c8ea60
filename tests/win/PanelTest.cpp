// The launcher panel: its grid, rows, sizing, edges, caption, hints and the icon rule.

#include "WinTestSupport.h"

#include "mascot/eye1.h"
#include "panel/Btn.h"
#include "ui/Hints.h"

#include <commctrl.h>

using wintest::AllGrey;
using wintest::PanelImage;
using wintest::SettingsPath;
using wintest::WriteFileBytes;

namespace {

class PanelTest : public wintest::AppTest {
protected:
    TBtnF1* Start(const std::wstring& ini = L"") {
        StartProgram(ini);
        return BtnF1;
    }
};

} // namespace

TEST_F(PanelTest, DesignGridOfThirtyButtonsWithCaptionsAndDate) {
    TBtnF1* panel = Start();
    EXPECT_EQ(panel->ToolBar1.ButtonCount(), 30);
    EXPECT_EQ(panel->ToolBar1.RowCount(), 5);
    EXPECT_EQ(panel->ClientWidth(), 229);
    EXPECT_EQ(panel->ClientHeight(), 192); // five rows: no scroll bar
    EXPECT_FALSE(panel->VertScrollBarVisible());
    EXPECT_TRUE(panel->Visible());
    for (int n = 1; n <= 30; ++n) {
        ASSERT_NE(panel->Buttons[n], nullptr);
        EXPECT_EQ(panel->Buttons[n]->Name(), L"ToolButton" + std::to_wstring(n));
        EXPECT_EQ(panel->Buttons[n]->ImageIndex(), n - 1);
    }
    EXPECT_EQ(panel->Buttons[9]->Caption(), L"9");
    EXPECT_EQ(panel->Buttons[10]->Caption(), L"A");
    EXPECT_EQ(panel->Buttons[30]->Caption(), L"U");
    EXPECT_FALSE(panel->ToolBar1.ShowCaptions());
    EXPECT_EQ(panel->ImageList1.Count(), 30);
    EXPECT_EQ(panel->ImageList1.Width(), 32);

    SYSTEMTIME now;
    GetLocalTime(&now);
    const std::wstring caption = panel->Caption();
    const std::wstring expectedStart =
        L"ぱむぱむランチ　" + std::to_wstring(now.wMonth) + L"月" + std::to_wstring(now.wDay) + L"日（";
    EXPECT_EQ(caption.substr(0, expectedStart.size()), expectedStart);
    EXPECT_EQ(caption.substr(caption.size() - 2), L"） ");
    EXPECT_EQ(caption.size(), expectedStart.size() + 3); // one weekday character
    EXPECT_EQ(caption, DatedCaption());
}

TEST_F(PanelTest, LineMaxTwoShowsTwoRowsAndScrollsOneRowAStep) {
    TBtnF1* panel = Start(L"[eye]\r\nLineMax=2\r\n[btnform]\r\nwidth=238\r\n");
    EXPECT_EQ(panel->ClientHeight(), 2 * 38 + 2);
    EXPECT_TRUE(panel->VertScrollBarVisible());
    EXPECT_EQ(panel->VertScrollRange(), 192);
    EXPECT_EQ(panel->VertScrollIncrement(), 38);
    // Three steps bring the last row into view; a fourth does nothing; up goes back a row.
    for (int step = 1; step <= 3; ++step) {
        SendMessageW(panel->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
        EXPECT_EQ(panel->VertScrollPosition(), 38 * step);
    }
    SendMessageW(panel->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(panel->VertScrollPosition(), 114);
    SendMessageW(panel->Handle(), WM_VSCROLL, SB_LINEUP, 0);
    EXPECT_EQ(panel->VertScrollPosition(), 76);
    // The tool bar moves inside the client area.
    RECT bar = panel->ToolBar1.BoundsInParent();
    EXPECT_EQ(bar.top, -76);
}

TEST_F(PanelTest, LineMaxBeyondTheRowsShowsAllOfThem) {
    TBtnF1* panel = Start(L"[eye]\r\nLineMax=99\r\n[btnform]\r\nwidth=238\r\n");
    EXPECT_EQ(panel->ClientHeight(), 192);
    EXPECT_FALSE(panel->VertScrollBarVisible());
}

TEST_F(PanelTest, HeightIsHeldByTheTrackingLimits) {
    TBtnF1* panel = Start(L"[eye]\r\nLineMax=3\r\n");
    const int frame = panel->Height() - panel->ClientHeight();
    EXPECT_EQ(panel->Height(), 3 * 38 + frame + 2);
    panel->SetHeight(600);
    EXPECT_EQ(panel->Height(), 3 * 38 + frame + 2);
    panel->SetHeight(20);
    EXPECT_EQ(panel->Height(), 3 * 38 + frame + 2);
}

TEST_F(PanelTest, WidthSnapsToWholeButtonsAndChangesTheRows) {
    TBtnF1* panel = Start(L"[eye]\r\nLineMax=6\r\n[btnform]\r\nwidth=238\r\n");
    panel->SetWidth(panel->Width() + 20); // not room for a seventh button
    EXPECT_EQ(panel->ClientWidth(), 229);
    panel->SetWidth(200);
    EXPECT_EQ(panel->ClientWidth(), 1 + 5 * 38);
    EXPECT_EQ(panel->ToolBar1.RowCount(), 6);
    EXPECT_EQ(panel->ClientHeight(), 6 * 38 + 2);
    // One button per row: thirty rows, six of them shown.
    panel->SetWidth(60);
    EXPECT_EQ(panel->ToolBar1.RowCount(), 30);
    EXPECT_EQ(panel->ClientWidth(), 39);
    EXPECT_EQ(panel->ClientHeight(), 6 * 38 + 2);
    EXPECT_TRUE(panel->VertScrollBarVisible());
}

TEST_F(PanelTest, StoredSmallBoundsGiveOneButtonPerRow) {
    TBtnF1* panel = Start(L"[btnform]\r\nleft=40\r\ntop=30\r\nwidth=50\r\nheight=50\r\n");
    EXPECT_EQ(panel->Left(), 40);
    EXPECT_EQ(panel->Top(), 30);
    EXPECT_EQ(panel->ToolBar1.RowCount(), 30);
    EXPECT_EQ(panel->ClientHeight(), 6 * 38 + 2);
}

TEST_F(PanelTest, TopAndBottomEdgesDoNothingAndCornersSizeTheWidth) {
    TBtnF1* panel = Start();
    RECT r = panel->BoundsRect();
    auto hit = [&](int x, int y) {
        return static_cast<int>(SendMessageW(panel->Handle(), WM_NCHITTEST, 0, MAKELPARAM(x, y)));
    };
    const int midX = (r.left + r.right) / 2, midY = (r.top + r.bottom) / 2;
    EXPECT_EQ(hit(midX, r.top), HTNOWHERE);
    EXPECT_EQ(hit(midX, r.bottom - 1), HTNOWHERE);
    EXPECT_EQ(hit(r.left, r.top), HTLEFT);
    EXPECT_EQ(hit(r.left, r.bottom - 1), HTLEFT);
    EXPECT_EQ(hit(r.right - 1, r.top), HTRIGHT);
    EXPECT_EQ(hit(r.right - 1, r.bottom - 1), HTRIGHT);
    EXPECT_EQ(hit(r.left, midY), HTLEFT);
    EXPECT_EQ(hit(midX, midY), HTCLIENT);
}

TEST_F(PanelTest, CloseBoxOnlyHides) {
    TBtnF1* panel = Start();
    SendMessageW(panel->Handle(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(panel->Visible());
    EXPECT_FALSE(app->Terminated());
    EXPECT_TRUE(IsWindow(panel->Handle()));
    panel->Show();
    EXPECT_TRUE(panel->Visible());
}

TEST_F(PanelTest, ButtonHintsFollowTheRecords) {
    TBtnF1* panel = Start(L"[btn4]\r\npg=x.exe\r\nlb=メモ帳\r\n");
    EXPECT_EQ(panel->Buttons[4]->Hint(), L"メモ帳");
    EXPECT_EQ(panel->Hints().ToolText(panel->ToolBar1.Handle(), panel->Buttons[4]->Id()), L"メモ帳");
    ButtonRecord renamed = launcher->Button(4);
    renamed.Hint = L"別の名前";
    launcher->SetButton(4, renamed);
    EXPECT_EQ(panel->Records[4].Hint, L"別の名前");
    EXPECT_EQ(panel->Hints().ToolText(panel->ToolBar1.Handle(), panel->Buttons[4]->Id()), L"別の名前");
    EXPECT_EQ(panel->Buttons[5]->Hint(), L"");
}

TEST_F(PanelTest, IconRuleTakesTheFilesIconOrTheMascotsIcon) {
    const std::wstring self = ui::Application::ExeName(); // carries three icons
    const std::wstring text = wintest::TempPath(L"pmrun_no_icons.txt");
    WriteFileBytes(text, "no icons here");
    ButtonRecord record;
    record.IconFile = self;
    EXPECT_TRUE(ExtractButtonIcon(record));
    record.IconIndex = 2;
    EXPECT_TRUE(ExtractButtonIcon(record));
    record.IconIndex = 3; // beyond the file's icons
    EXPECT_FALSE(ExtractButtonIcon(record));
    record.IconIndex = -1;
    EXPECT_FALSE(ExtractButtonIcon(record));
    record.IconIndex = 0;
    record.IconFile = text;
    EXPECT_FALSE(ExtractButtonIcon(record));
    record.IconFile = L"C:\\no\\such\\file.exe";
    EXPECT_FALSE(ExtractButtonIcon(record));
    record.IconFile.clear();
    EXPECT_FALSE(ExtractButtonIcon(record));
    DeleteFileW(text.c_str());
}

TEST_F(PanelTest, CorruptEmptyOrHugeIconFilesGiveNoIconAndNoHarm) {
    struct Case {
        const wchar_t* name;
        std::string bytes;
    };
    // An icon directory that claims more images, and larger ones, than the file holds.
    std::string lying("\0\0\1\0\xFF\xFF", 6);
    for (int i = 0; i < 64; ++i)
        lying += std::string("\0\0\0\0\1\0\x20\0\xFF\xFF\xFF\x7F\x10\0\0\0", 16);
    std::string executable = "MZ" + std::string(62, '\0');
    executable[0x3C] = '\x40';
    executable += "PE\0\0" + std::string(200, '\xEE');
    const Case cases[] = {{L"pmrun_empty.ico", ""},
                          {L"pmrun_lying.ico", lying},
                          {L"pmrun_cut.exe", executable},
                          {L"pmrun_huge.ico", std::string(24u * 1024 * 1024, '\x01')}};
    for (const Case& c : cases) {
        const std::wstring path = wintest::TempPath(c.name);
        WriteFileBytes(path, c.bytes);
        ButtonRecord record;
        record.IconFile = path;
        for (int index : {0, 1, 1000, -5})
            EXPECT_FALSE(ExtractButtonIcon(record))
                << std::string(c.name, c.name + wcslen(c.name)) << " " << index;
        DeleteFileW(path.c_str());
    }
}

TEST_F(PanelTest, ImagesShowTheIconOrNothing) {
    const std::wstring self = ui::Application::ExeName();
    TBtnF1* panel = Start(L"[btn1]\r\npg=a\r\nic=" + self + L"\r\nicidx=0\r\n[btn2]\r\npg=b\r\nic=" + self +
                          L"\r\nicidx=7\r\n");
    EXPECT_FALSE(AllGrey(PanelImage(*panel, 0))); // the mascot picture
    EXPECT_TRUE(AllGrey(PanelImage(*panel, 1)));  // index beyond: the transparent icon
    EXPECT_TRUE(AllGrey(PanelImage(*panel, 2)));  // unassigned

    ButtonRecord second = launcher->Button(2);
    second.IconIndex = 0;
    launcher->SetButton(2, second);
    EXPECT_EQ(PanelImage(*panel, 1), PanelImage(*panel, 0));
    ButtonRecord first = launcher->Button(1);
    first.IconFile.clear();
    launcher->SetButton(1, first);
    EXPECT_TRUE(AllGrey(PanelImage(*panel, 0)));
    EXPECT_EQ(panel->ImageList1.Count(), 30);
}
