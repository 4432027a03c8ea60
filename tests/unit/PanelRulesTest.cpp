// Grid, row and height rules of the launcher panel.

#include "panel/PanelRules.h"
#include "ui/GridRules.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

TEST(ButtonCaptions, DigitsThenLetters) {
    EXPECT_EQ(ButtonCaption(1), L"1");
    EXPECT_EQ(ButtonCaption(9), L"9");
    EXPECT_EQ(ButtonCaption(10), L"A");
    EXPECT_EQ(ButtonCaption(11), L"B");
    EXPECT_EQ(ButtonCaption(29), L"T");
    EXPECT_EQ(ButtonCaption(30), L"U");
    EXPECT_EQ(ButtonCaption(0), L"");
    EXPECT_EQ(ButtonCaption(31), L"");
}

TEST(Grid, WholeButtonsPerRow) {
    EXPECT_EQ(ButtonsPerRow(229, 1, 38), 6);
    EXPECT_EQ(ButtonsPerRow(238, 1, 38), 6);
    EXPECT_EQ(ButtonsPerRow(266, 1, 38), 6);
    EXPECT_EQ(ButtonsPerRow(267, 1, 38), 7);
    EXPECT_EQ(ButtonsPerRow(50, 1, 38), 1);
    EXPECT_EQ(ButtonsPerRow(0, 1, 38), 1);
    EXPECT_EQ(ButtonsPerRow(100, 1, 0), 1);
    EXPECT_EQ(ToolBarWidthFor(6, 1, 38), 229);
    EXPECT_EQ(ToolBarWidthFor(1, 1, 38), 39);
}

TEST(Grid, RowsOfThirtyButtons) {
    EXPECT_EQ(RowsFor(30, 6), 5);
    EXPECT_EQ(RowsFor(30, 7), 5);
    EXPECT_EQ(RowsFor(30, 8), 4);
    EXPECT_EQ(RowsFor(30, 1), 30);
    EXPECT_EQ(RowsFor(30, 0), 30);
    EXPECT_EQ(RowsFor(0, 6), 0);
}

TEST(Grid, ADragBeginsPastTheDragDistanceEitherWay) {
    for (const auto& [dx, dy, beyond] : {std::tuple{4, 0, false}, {-4, 4, false}, {5, 0, true}, {-5, 0, true},
                                         {0, 5, true}, {0, -5, true}, {3, -3, false}})
        EXPECT_EQ(BeyondDragDistance(100, 100, 100 + dx, 100 + dy, 4, 4), beyond) << dx << "," << dy;
}

TEST(Grid, ScrollPositionStaysInItsRange) {
    EXPECT_EQ(ClampScrollPosition(-5, 192, 78), 0);
    EXPECT_EQ(ClampScrollPosition(38, 192, 78), 38);
    EXPECT_EQ(ClampScrollPosition(152, 192, 78), 114);
    EXPECT_EQ(ClampScrollPosition(10, 50, 78), 0);
}

TEST(PanelRows, LineMaxLimitsTheRowsShown) {
    EXPECT_EQ(VisibleRows(5, 6), 5);
    EXPECT_EQ(VisibleRows(5, 99), 5);
    EXPECT_EQ(VisibleRows(5, 2), 2);
    EXPECT_EQ(VisibleRows(30, 6), 6);
    // A stored limit below one still shows a row.
    EXPECT_EQ(VisibleRows(5, 0), 1);
    EXPECT_EQ(VisibleRows(5, -3), 1);
}

TEST(PanelRows, ShowAndTrackingHeights) {
    // Five rows of 38 with a frame of 28 pixels: shown at 218, held at 220 by the tracking limits.
    EXPECT_EQ(PanelShowHeight(5, 38, 28), 218);
    EXPECT_EQ(PanelTrackHeight(5, 38, 28), 220);
    EXPECT_EQ(PanelTrackHeight(2, 38, 28), 106);
    // Captions make the buttons taller and the heights follow.
    EXPECT_EQ(PanelTrackHeight(2, 55, 28), 140);
}

TEST(PanelHitTest, TopAndBottomDoNothingCornersSizeTheWidth) {
    EXPECT_EQ(MapPanelHitTest(12), 0);  // HTTOP
    EXPECT_EQ(MapPanelHitTest(15), 0);  // HTBOTTOM
    EXPECT_EQ(MapPanelHitTest(13), 10); // HTTOPLEFT -> HTLEFT
    EXPECT_EQ(MapPanelHitTest(16), 10); // HTBOTTOMLEFT -> HTLEFT
    EXPECT_EQ(MapPanelHitTest(14), 11); // HTTOPRIGHT -> HTRIGHT
    EXPECT_EQ(MapPanelHitTest(17), 11); // HTBOTTOMRIGHT -> HTRIGHT
    for (int code : {1, 2, 10, 11, 20, -1})
        EXPECT_EQ(MapPanelHitTest(code), code);
}

TEST(KeySelection, DigitsAndLettersOfBothCases) {
    for (int n = 1; n <= 9; ++n)
        EXPECT_EQ(ButtonForKey(static_cast<wchar_t>(L'0' + n)), n);
    EXPECT_EQ(ButtonForKey(L'a'), 10);
    EXPECT_EQ(ButtonForKey(L'A'), 10);
    EXPECT_EQ(ButtonForKey(L't'), 29);
    EXPECT_EQ(ButtonForKey(L'U'), 30);
    EXPECT_EQ(ButtonForKey(L'u'), 30);
    // Every button's own caption selects it.
    for (int n = 1; n <= 30; ++n)
        EXPECT_EQ(ButtonForKey(ButtonCaption(n)[0]), n);
    for (wchar_t none : {L'0', L'V', L'v', L'Z', L'z', L'@', L'[', L'`', L'{', L' ', L'\r', L'Ａ', L'１'})
        EXPECT_EQ(ButtonForKey(none), 0) << static_cast<int>(none);
    // By key code: F1..F6 and the numeric pad's signs have the codes of "p".."u" and "j".."o".
    for (const auto& [code, button] : {std::pair{'1', 1}, {'9', 9}, {'A', 10}, {'U', 30}, {'V', 0}, {0x70, 0},
                                       {0x75, 0}, {0x6A, 0}, {0x6F, 0}, {'0', 0}})
        EXPECT_EQ(ButtonForKeyCode(code), button) << code;
}

TEST(PendingLaunchesTest, OneStartPerButtonAndALateAnswerHidesOnlyAnUnaskedPanel) {
    PendingLaunches launches;
    EXPECT_FALSE(launches.Any());
    const unsigned one = launches.Begin(1, 5);
    EXPECT_NE(one, 0u);
    EXPECT_EQ(launches.Begin(1, 5), 0u); // a repeat click on a pending button
    EXPECT_EQ(launches.Begin(1, 9), 0u); // ... or a key, later
    const unsigned two = launches.Begin(2, 5); // another button works as usual
    EXPECT_NE(two, 0u);
    EXPECT_TRUE(launches.Pending(1) && launches.Pending(2) && !launches.Pending(3));
    EXPECT_FALSE(launches.End(one, 6).hide); // the panel was asked for since: it stays
    EXPECT_TRUE(launches.End(two, 5).hide);  // nothing asked since: it hides
    EXPECT_FALSE(launches.Any());
    EXPECT_FALSE(launches.End(two, 5).hide); // an answer with no launch behind it hides nothing
    EXPECT_NE(launches.Begin(1, 7), 0u);     // answered, the button starts again
    for (int outside : {0, 31, -1})
        EXPECT_EQ(launches.Begin(outside, 0), 0u);
}

TEST(PendingLaunchesTest, AStartGoesWithItsItemAndFilesDroppedMeanwhileWaitForItsAnswer) {
    PendingLaunches launches;
    const unsigned first = launches.Begin(1, 0);
    EXPECT_FALSE(launches.Queue(2, {L"a.txt"})); // nothing starts there
    EXPECT_TRUE(launches.Queue(1, {L"a.txt"}));
    launches.Swap(1, 4); // a swap or a drag moves the item, and its start
    EXPECT_FALSE(launches.Pending(1));
    EXPECT_EQ(launches.Begin(4, 0), 0u);
    EXPECT_TRUE(launches.Queue(4, {L"b.txt", L"c.txt"}));
    const PendingLaunches::Ended ended = launches.End(first, 0);
    EXPECT_EQ(ended.number, 4);
    EXPECT_EQ(ended.dropped, (std::vector<std::vector<std::wstring>>{{L"a.txt"}, {L"b.txt", L"c.txt"}}));
    // A button given another item starts it at once; the answer of the old one names no button.
    const unsigned old = launches.Begin(4, 0);
    launches.Release(4);
    EXPECT_FALSE(launches.Pending(4));
    EXPECT_TRUE(launches.Any()); // the old item still starts
    EXPECT_NE(launches.Begin(4, 0), 0u);
    EXPECT_EQ(launches.End(old, 0).number, 0);
}

TEST(PanelDropTest, FreeButtonsRegisterProgramsOpenFilesOthersTakeNone) {
    const auto record = [](const wchar_t* program, const wchar_t* options = L"") {
        ButtonRecord r;
        r.Program = program;
        r.Options = options;
        return r;
    };
    const struct {
        ButtonRecord record;
        PanelDrop drop;
    } cases[] = {
        {ButtonRecord{}, PanelDrop::Register},
        {record(L"C:\\Tools\\Editor.exe"), PanelDrop::OpenWith},
        {record(L"C:\\Tools\\EDITOR.EXE", L"-n"), PanelDrop::OpenWith},
        {record(L"C:\\Windows\\Explorer.exe"), PanelDrop::OpenWith}, // Explorer itself opens what it is given
        {record(L"C:\\Windows\\explorer.exe", L"/c /root,C:\\Data"), PanelDrop::None}, // a folder
        {record(L"C:\\Docs\\memo.txt"), PanelDrop::None},
        {record(L"C:\\Docs\\tool.exe.lnk"), PanelDrop::None},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DropOn(c.record), c.drop) << std::string(c.record.Program.begin(), c.record.Program.end());
    EXPECT_EQ(OpenWithParameters(L"-n", {L"C:\\a b.txt", L"D:\\c.txt"}), L"-n \"C:\\a b.txt\" \"D:\\c.txt\"");
    EXPECT_EQ(OpenWithParameters(L"", {L"C:\\a.txt", L"D:\\"}), L"\"C:\\a.txt\" \"D:\\\\\"");
}
