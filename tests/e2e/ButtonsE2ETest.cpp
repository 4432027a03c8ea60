// The real pmrun.exe driven with the pointer and the keyboard: launching by click and by key, the
// missing-program box, the swap and the removal through the menu, and the pupils.

#include "PmrunProcess.h"
#include "Programs.h"

#include <gtest/gtest.h>

using namespace e2e;

namespace {

class ButtonsE2E : public E2ETest {
protected:
    // The panel at 100, 100 with the design width; eyeKeys and buttons added.
    bool Start(const std::wstring& eyeKeys, const std::wstring& buttons) {
        pmrun.WriteIni(StandardIni(eyeKeys, buttons));
        return pmrun.Start();
    }
};

} // namespace

TEST_F(ButtonsE2E, ClickStartsTheProgramWithItsOptionsAndFolderAndHidesThePanel) {
    const std::wstring probe = pmrun.CopyProbe(L"probe.exe");
    const std::wstring work = pmrun.Folder() + L"\\作業";
    CreateDirectoryW(work.c_str(), nullptr);
    ASSERT_TRUE(Start(kNoEdges, ButtonSection(1, L"pg=" + probe + L"\r\nop=--name \"two words\" -x\r\ndr=" +
                                                     work + L"\r\n")));
    pmrun.ClickButton(1);
    ASSERT_TRUE(WaitFor([&] { return !ProbeStarts(probe).empty(); }));
    EXPECT_TRUE(WaitFor([&] { return !pmrun.PanelVisible(); }));
    // A tick comes after the click and whatever it posted; every probe started by then has logged once it
    // has ended.
    ASSERT_TRUE(pmrun.MovePointerForTick(kAwayX, kAwayY));
    ASSERT_TRUE(WaitFor([&] { return !ChildRunning(pmrun.Id(), L"probe.exe"); }));
    const auto starts = ProbeStarts(probe);
    ASSERT_EQ(starts.size(), 1u);
    const std::wstring options = L"--name \"two words\" -x";
    ASSERT_GE(starts[0].commandLine.size(), options.size());
    EXPECT_EQ(starts[0].commandLine.substr(starts[0].commandLine.size() - options.size()), options);
    EXPECT_EQ(CompareStringOrdinal(starts[0].folder.c_str(), -1, work.c_str(), -1, TRUE), CSTR_EQUAL)
        << ToAnsi(starts[0].folder) << " | " << ToAnsi(work);
    EXPECT_TRUE(pmrun.Running());
}

TEST_F(ButtonsE2E, TypingLowerOrUpperCaseAStartsButtonTen) {
    const std::wstring probe = pmrun.CopyProbe(L"probe10.exe");
    const std::wstring other = pmrun.CopyProbe(L"probe11.exe");
    ASSERT_TRUE(Start(kNoEdges, ButtonSection(10, L"pg=" + probe + L"\r\n") +
                                    ButtonSection(11, L"pg=" + other + L"\r\n")));
    HWND panel = pmrun.Panel();
    SetForegroundWindow(panel);
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == panel; }));
    TypeKey('0');
    TypeKey('V');
    TypeKey('A');
    ASSERT_TRUE(WaitFor([&] { return ProbeStarts(probe).size() == 1; }));
    EXPECT_TRUE(WaitFor([&] { return !pmrun.PanelVisible(); }));

    // The pointer over the mascot brings the panel back.
    RECT m = WindowRect(pmrun.Mascot());
    SetCursorPos(m.left + 15, m.top + 29);
    SetCursorPos(m.left + 16, m.top + 29);
    ASSERT_TRUE(WaitFor([&] { return pmrun.PanelVisible(); }));
    SetCursorPos(kRestX, kRestY);
    SetForegroundWindow(panel);
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == panel; }));
    TypeKey('A', true);
    EXPECT_TRUE(WaitFor([&] { return ProbeStarts(probe).size() == 2; }));
    // As above: after a tick, and once no probe runs, every start has logged.
    ASSERT_TRUE(pmrun.MovePointerForTick(kAwayX, kAwayY));
    ASSERT_TRUE(WaitFor([&] {
        return !ChildRunning(pmrun.Id(), L"probe10.exe") && !ChildRunning(pmrun.Id(), L"probe11.exe");
    }));
    EXPECT_EQ(ProbeStarts(probe).size(), 2u);
    EXPECT_TRUE(ProbeStarts(other).empty()); // "0" and "V" selected nothing
}

TEST_F(ButtonsE2E, MissingProgramShowsTheErrorBoxAndThePanelHidesAfterIt) {
    ASSERT_TRUE(Start(kNoEdges, ButtonSection(2, L"pg=C:\\no\\such\\program.exe\r\n") +
                                    ButtonSection(3, L"pg=" + pmrun.Folder() + L"\r\n")));
    for (int button : {2, 3}) { // a missing file, then a folder
        pmrun.ClickButton(button);
        HWND box = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (box = pmrun.ErrorBox()) != nullptr; })) << button;
        EXPECT_EQ(WindowText(GetDlgItem(box, 0xFFFF)), L"プログラムが見つかりません");
        EXPECT_TRUE(pmrun.PanelVisible()); // hidden only once the box is closed
        EXPECT_FALSE(IsWindowEnabled(pmrun.Panel()));
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(WaitFor([&] { return !pmrun.PanelVisible(); })) << button;
        EXPECT_TRUE(WaitFor([&] { return pmrun.ErrorBox() == nullptr; }));
        // Back for the next button, brought by the pointer over the mascot; ticks past the moves come after
        // the mascot has heard of them.
        RECT m = WindowRect(pmrun.Mascot());
        ASSERT_TRUE(pmrun.MovePointerForTick(m.left + 16, m.top + 29));
        ASSERT_TRUE(WaitFor([&] { return pmrun.PanelVisible(); }));
        ASSERT_TRUE(pmrun.MovePointerForTick(kRestX, kRestY));
    }
}

TEST_F(ButtonsE2E, SwapThroughTheMenuExchangesTheSections) {
    ASSERT_TRUE(Start(kNoEdges, ButtonSection(1, L"pg=C:\\one.exe\r\nlb=いち\r\nop=-1\r\n") +
                                    ButtonSection(3, L"pg=C:\\three.exe\r\nlb=さん\r\ndr=C:\\\r\n")));
    ASSERT_TRUE(pmrun.ChooseMenuItem(4)); // ｵﾌﾟｼｮﾝ設定, ﾎﾞﾀﾝの詳細設定, ﾎﾞﾀﾝの設定削除, ﾎﾞﾀﾝの入れ替え
    ASSERT_TRUE(WaitFor([&] { return WindowText(pmrun.Panel()) == L"入れ替え元のボタンを押してください"; }));
    RECT m = WindowRect(pmrun.Mascot());
    EXPECT_EQ(WaitForScreenPixel(m.left + 15, m.top + 29, RGB(255, 0, 0)),
              RGB(255, 0, 0)); // red in swap mode
    pmrun.ClickButton(1);
    EXPECT_TRUE(WaitFor([&] { return WindowText(pmrun.Panel()) == L"入れ替え先のボタンを押してください"; }));
    pmrun.ClickButton(3);
    EXPECT_TRUE(WaitFor([&] { return WindowText(pmrun.Panel()).starts_with(L"ぱむぱむランチ　"); }));
    EXPECT_EQ(pmrun.Saved(1, "pg"), "C:\\three.exe");
    EXPECT_EQ(pmrun.Saved(1, "lb"), ToAnsi(L"さん"));
    EXPECT_EQ(pmrun.Saved(1, "dr"), "C:\\");
    EXPECT_EQ(pmrun.Saved(1, "op"), "");
    EXPECT_EQ(pmrun.Saved(3, "pg"), "C:\\one.exe");
    EXPECT_EQ(pmrun.Saved(3, "lb"), ToAnsi(L"いち"));
    EXPECT_EQ(pmrun.Saved(3, "op"), "-1");
    EXPECT_EQ(pmrun.Saved(3, "dr"), "");
    EXPECT_EQ(WaitForScreenPixel(m.left + 15, m.top + 29, RGB(255, 255, 0)), RGB(255, 255, 0));
}

TEST_F(ButtonsE2E, RemovalThroughTheMenuEmptiesTheSection) {
    ASSERT_TRUE(
        Start(kNoEdges, ButtonSection(2, L"pg=C:\\two.exe\r\nic=C:\\two.exe\r\nicidx=3\r\nlb=に\r\nop=/2\r\n"
                                         L"dr=C:\\\r\n")));
    ASSERT_TRUE(pmrun.ChooseMenuItem(3));
    ASSERT_TRUE(
        WaitFor([&] { return WindowText(pmrun.Panel()) == L"設定を解除するボタンを選択してください"; }));
    pmrun.ClickButton(2);
    EXPECT_TRUE(WaitFor([&] { return WindowText(pmrun.Panel()).starts_with(L"ぱむぱむランチ　"); }));
    for (const char* key : {"pg", "ic", "dr", "lb", "op"})
        EXPECT_EQ(pmrun.Saved(2, key), "") << key;
    EXPECT_EQ(pmrun.Saved(2, "icidx"), "0");
}

TEST_F(ButtonsE2E, PupilsAreDrawnWhereThePointerIs) {
    ASSERT_TRUE(Start(kNoEdges, L""));
    const RECT m = WindowRect(pmrun.Mascot()); // the eye point E is (left + 16, top + 15)
    ASSERT_EQ(m.left, 600);
    ASSERT_EQ(m.top, 400);
    const COLORREF black = RGB(0, 0, 0), white = RGB(255, 255, 255), yellow = RGB(255, 255, 0);
    // Pixels inside the round window, in its client coordinates.
    auto pixel = [&](int x, int y, COLORREF wanted) {
        return WaitForScreenPixel(m.left + x, m.top + y, wanted);
    };

    // Level with the eye point at the screen's left edge: left pupil at (1, 15), right one at (16, 15).
    SetCursorPos(0, 415);
    EXPECT_EQ(pixel(3, 19, black), black);
    EXPECT_EQ(pixel(18, 19, black), black);
    // Top right corner: the left pupil rests at (12, 0), the right one leaves the round window.
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    SetCursorPos(w - 1, 0);
    EXPECT_EQ(pixel(14, 4, black), black);
    EXPECT_EQ(pixel(3, 19, white), white); // where the left pupil was: the eye again
    EXPECT_EQ(pixel(18, 19, white), white);
    // Straight below the eye point at the bottom edge: pupils at (11, 20) and (16, 20).
    SetCursorPos(616, h - 1);
    EXPECT_EQ(pixel(13, 24, black), black);
    EXPECT_EQ(pixel(18, 24, black), black);
    EXPECT_EQ(pixel(14, 4, yellow), yellow); // between the eyes: the face
}
