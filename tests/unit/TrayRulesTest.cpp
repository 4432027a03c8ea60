// The notification-area rules: tip clipping, the shell version string, the rectangle of positions seen,
// the mouse tracker's enter, exit and click discrimination (with the timer and the window replaced), and
// the animation settings.

#include "components/TrayRules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(TrayTip, Shell5KeepsLineBreaksAndCutsAt127) {
    EXPECT_EQ(ClipTip(L"ぼく、ミニぱむ太", true), L"ぼく、ミニぱむ太");
    EXPECT_EQ(ClipTip(L"one\r\ntwo", true), L"one\r\ntwo");
    EXPECT_EQ(ClipTip(std::wstring(200, L'x'), true), std::wstring(127, L'x'));
    EXPECT_EQ(ClipTip(std::wstring(127, L'x'), true).size(), 127u);
    EXPECT_EQ(ClipTip(L"", true), L"");
}

TEST(TrayTip, OlderShellsJoinLinesAndCutAt63) {
    EXPECT_EQ(ClipTip(L"one\r\ntwo", false), L"one two");
    EXPECT_EQ(ClipTip(L"a\r\n\r\nb", false), L"a  b");
    // Only the pair counts; lone CR or LF stay.
    EXPECT_EQ(ClipTip(L"a\rb\nc\n\rd", false), L"a\rb\nc\n\rd");
    EXPECT_EQ(ClipTip(L"end\r", false), L"end\r");
    EXPECT_EQ(ClipTip(std::wstring(100, L'y'), false), std::wstring(63, L'y'));
    // Joined first, then cut: 62 letters, a line break and more end in a blank.
    EXPECT_EQ(ClipTip(std::wstring(62, L'z') + L"\r\nmore", false), std::wstring(62, L'z') + L" ");
}

TEST(TrayShellVersion, FirstCharacterAndPositionsThreeAndFour) {
    EXPECT_EQ(ShellVersionFromFileVersion(L"6.00.2900.5512"), 0x60000u);
    EXPECT_EQ(ShellVersionFromFileVersion(L"5.50.4134.100"), (5u << 16) + 50u);
    EXPECT_EQ(ShellVersionFromFileVersion(L"4.72.3110.1"), (4u << 16) + 72u);
    // Numbers that do not convert leave 0.
    EXPECT_EQ(ShellVersionFromFileVersion(L"5.0.3700"), 0u); // "0." is no number
    EXPECT_EQ(ShellVersionFromFileVersion(L"x.00"), 0u);
    EXPECT_EQ(ShellVersionFromFileVersion(L""), 0u);
    EXPECT_EQ(ShellVersionFromFileVersion(L"6"), 0u);
    EXPECT_EQ(ShellVersionFromFileVersion(L"6.1"), (6u << 16) + 1u);
}

TEST(TrayCursorRect, GrowsFromTheFirstPointAndCountsEdgesInside) {
    TrayRect r;
    GrowToInclude(r, 1000, 740);
    EXPECT_EQ(r, (TrayRect{1000, 740, 1000, 740}));
    GrowToInclude(r, 1010, 735);
    EXPECT_EQ(r, (TrayRect{1000, 735, 1010, 740}));
    GrowToInclude(r, 995, 750);
    EXPECT_EQ(r, (TrayRect{995, 735, 1010, 750}));
    GrowToInclude(r, 1000, 740); // inside: no change
    EXPECT_EQ(r, (TrayRect{995, 735, 1010, 750}));
    EXPECT_TRUE(Contains(r, 995, 735));
    EXPECT_TRUE(Contains(r, 1010, 750));
    EXPECT_FALSE(Contains(r, 994, 740));
    EXPECT_FALSE(Contains(r, 1000, 751));
    // A first point at (0, 0) leaves the rectangle all zero, so the next point starts it afresh.
    TrayRect corner;
    GrowToInclude(corner, 0, 0);
    GrowToInclude(corner, 5, 6);
    EXPECT_EQ(corner, (TrayRect{5, 6, 5, 6}));
}

namespace {

class FakeHost : public TrayTrackerHost {
public:
    int x = 100, y = 200;
    bool timerStarts = true;
    bool timerRunning = false;
    int timerStarted = 0;
    std::vector<std::string> events;

    void CursorPos(int& cx, int& cy) override {
        cx = x;
        cy = y;
    }
    bool StartClickTimer() override {
        ++timerStarted;
        if (timerStarts) timerRunning = true;
        return timerStarts;
    }
    void StopClickTimer() override { timerRunning = false; }
    void SendTray(long wParam, long lParam) override {
        events.push_back("send " + std::to_string(wParam) + " " + std::to_string(lParam));
    }
    void PostTray(long wParam, long lParam) override {
        events.push_back("post " + std::to_string(wParam) + " " + std::to_string(lParam));
    }
    void PointerEntered() override { events.push_back("entered"); }
    void PointerLeft() override { events.push_back("left"); }
};

using Events = std::vector<std::string>;

class TrayTracker : public ::testing::Test {
protected:
    FakeHost host;
    TrayMouseTracker tracker{host};
    void Shell(long lParam) { tracker.TrayNotification(1, lParam); }
    // The timer runs out, as Windows would report it.
    void TimerRunsOut() {
        if (host.timerRunning) tracker.ClickTimerExpired();
    }
};

} // namespace

TEST_F(TrayTracker, ASingleClickIsReportedOnlyWhenTheTimerRunsOut) {
    Shell(kTrayLDown);
    EXPECT_EQ(tracker.MouseState(), 1u);
    Shell(kTrayLUp);
    EXPECT_TRUE(tracker.ClickPending());
    EXPECT_TRUE(host.events.empty()); // nothing yet
    TimerRunsOut();
    EXPECT_EQ(host.events, Events{"send 0 1236"});
    EXPECT_EQ(tracker.MouseState(), 0u);
    EXPECT_FALSE(tracker.ClickPending());
    EXPECT_FALSE(host.timerRunning);
}

TEST_F(TrayTracker, ADoubleClickReportsNoClickAndPostsAPressMarkedMinusOne) {
    Shell(kTrayLDown);
    Shell(kTrayLUp); // the timer starts
    Shell(kTrayLDouble);
    EXPECT_FALSE(tracker.ClickPending());
    EXPECT_EQ(tracker.MouseState(), 0u);
    EXPECT_EQ(host.events, Events{"post -1 513"});
    // The posted press comes back through the tracker and marks nothing.
    tracker.TrayNotification(-1, kTrayLDown);
    EXPECT_EQ(tracker.MouseState(), 0u);
    Shell(kTrayLUp); // the timer starts again
    EXPECT_EQ(host.timerStarted, 2);
    TimerRunsOut();
    EXPECT_EQ(host.events, Events{"post -1 513"});
}

TEST_F(TrayTracker, RightAndMiddleClicksCarryTheirButton) {
    Shell(kTrayMDown);
    Shell(kTrayMUp);
    TimerRunsOut();
    Shell(kTrayRDown);
    Shell(kTrayRUp);
    TimerRunsOut();
    EXPECT_EQ(host.events, (Events{"send 2 1236", "send 1 1236"}));
    // A right double click posts a right press.
    Shell(kTrayRDown);
    Shell(kTrayRUp);
    Shell(kTrayRDouble);
    Shell(kTrayMDouble);
    EXPECT_EQ(host.events.back(), "post -1 519");
    EXPECT_EQ(host.events[host.events.size() - 2], "post -1 516");
}

TEST_F(TrayTracker, WithoutDiscriminationEveryReleaseOfAPressedButtonIsAClickAtOnce) {
    tracker.CheckSingleDoubleClick = false;
    Shell(kTrayLDown);
    Shell(kTrayLUp);
    EXPECT_EQ(host.events, Events{"send 0 1236"});
    EXPECT_EQ(host.timerStarted, 0);
    Shell(kTrayLUp); // released without a press seen: nothing
    EXPECT_EQ(host.events.size(), 1u);
    Shell(kTrayLDown);
    Shell(kTrayLUp);
    Shell(kTrayLDouble);
    tracker.TrayNotification(-1, kTrayLDown);
    Shell(kTrayLUp); // the second release of a double click reports nothing
    EXPECT_EQ(host.events, (Events{"send 0 1236", "send 0 1236", "post -1 513"}));
}

TEST_F(TrayTracker, AClickWhileOneIsPendingDoesNotRestartTheTimer) {
    Shell(kTrayLDown);
    Shell(kTrayLUp);
    Shell(kTrayRDown);
    Shell(kTrayRUp);
    EXPECT_EQ(host.timerStarted, 1);
    TimerRunsOut(); // the left button goes first
    EXPECT_EQ(host.events, Events{"send 0 1236"});
    EXPECT_EQ(tracker.MouseState(), 2u); // the right press stays marked for the next release
}

TEST_F(TrayTracker, ATimerThatCannotStartLeavesNoClickPending) {
    host.timerStarts = false;
    Shell(kTrayLDown);
    Shell(kTrayLUp);
    EXPECT_FALSE(tracker.ClickPending());
    tracker.ClickTimerExpired(); // a stray timer message reports nothing
    EXPECT_TRUE(host.events.empty());
}

TEST_F(TrayTracker, EnterOnceExitWhenThePointerLeavesThePositionsSeen) {
    host.x = 1000;
    host.y = 740;
    Shell(kTrayMove);
    host.x = 1012;
    Shell(kTrayMove);
    EXPECT_EQ(host.events, (Events{"entered", "send 0 1234"}));
    EXPECT_TRUE(tracker.Inside());
    EXPECT_EQ(tracker.CursorRect(), (TrayRect{1000, 740, 1012, 740}));

    host.x = 1006; // still within the positions seen
    tracker.Poll();
    EXPECT_EQ(host.events.size(), 2u);
    host.y = 741;
    tracker.Poll();
    EXPECT_EQ(host.events, (Events{"entered", "send 0 1234", "left", "send 0 1235"}));
    EXPECT_FALSE(tracker.Inside());
    tracker.Poll(); // outside and already out: nothing more
    EXPECT_EQ(host.events.size(), 4u);

    host.y = 740;
    Shell(kTrayMove);
    EXPECT_EQ(host.events.back(), "send 0 1234");
    // Polls do not grow the rectangle; only the shell's moves do.
    EXPECT_EQ(tracker.CursorRect(), (TrayRect{1000, 740, 1012, 740}));
}

TEST(TrayAnimation, IntervalAndResourceIndexRules) {
    EXPECT_EQ(AnimationInterval(0), 0u);
    EXPECT_EQ(AnimationInterval(1), 50u);
    EXPECT_EQ(AnimationInterval(10), 50u);
    EXPECT_EQ(AnimationInterval(49), 50u);
    EXPECT_EQ(AnimationInterval(50), 50u);
    EXPECT_EQ(AnimationInterval(500), 500u);

    EXPECT_EQ(ClampResourceIconID(99, 3), 2);
    EXPECT_EQ(ClampResourceIconID(3, 3), 2);
    EXPECT_EQ(ClampResourceIconID(-5, 3), -1);
    EXPECT_EQ(ClampResourceIconID(1, 3), 1);
    EXPECT_EQ(ClampResourceIconID(0, 0), -1);
    EXPECT_EQ(ClampResourceIconID(-1, 0), -1);

    EXPECT_EQ(NextResourceIconID(0, 3), 1);
    EXPECT_EQ(NextResourceIconID(2, 3), 0);
    EXPECT_EQ(NextResourceIconID(-1, 3), 0);
    EXPECT_EQ(NextResourceIconID(5, 3), 0);
}
