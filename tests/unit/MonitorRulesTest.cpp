// The desktop as several monitors: where the edges are walls, where the pupils look, and where windows
// go that were left on a monitor that is gone. Made-up layouts; no test machine has two monitors.

#include "mascot/TrackingRules.h"
#include "ui/MonitorRules.h"

#include <gtest/gtest.h>

namespace {

MonitorArea Monitor(int left, int top, int right, int bottom, int taskBar = 0) {
    return {{left, top, right, bottom}, {left, top, right, bottom - taskBar}};
}

const MonitorArea kPrimary = Monitor(0, 0, 1024, 768, 40);

// Which of left, top, right, bottom act for the pointer, with every edge set to show the panel.
std::array<bool, 4> Walls(IntPoint p, const MonitorLayout& monitors) {
    const EdgeAction show = EdgeAction::ShowPanel;
    const auto steps = EdgeSteps(p, monitors, {show, show, show, show});
    std::array<bool, 4> walls{};
    for (std::size_t i = 0; i < 4; ++i)
        walls[i] = steps[i].action == EdgeStep::Action::ShowPanel;
    return walls;
}

} // namespace

TEST(MonitorEdges, ABorderWithAMonitorBeyondIsNoWall) {
    // A taller monitor to the left, a narrower one above, and one to the right after a gap.
    const MonitorLayout layout{kPrimary, Monitor(-1280, 0, 0, 1024), Monitor(0, -600, 800, 0),
                               Monitor(1100, 0, 2000, 768)};
    EXPECT_EQ(Walls({0, 300}, layout), (std::array<bool, 4>{false, false, false, false}));
    EXPECT_EQ(Walls({400, 0}, layout), (std::array<bool, 4>{false, false, false, false}));
    EXPECT_EQ(Walls({900, 0}, layout), (std::array<bool, 4>{false, true, false, false}));    // nothing above
    EXPECT_EQ(Walls({1023, 300}, layout), (std::array<bool, 4>{false, false, true, false})); // the gap
    EXPECT_EQ(Walls({-1280, 1023}, layout), (std::array<bool, 4>{true, false, false, true}));
    EXPECT_EQ(Walls({0, -600}, layout), (std::array<bool, 4>{true, true, false, false}));

    // The pointer goes back inside the monitor it is on, by the push given.
    const EdgeAction show = EdgeAction::ShowPanel;
    const auto steps = EdgeSteps({-1280, 1023}, layout, {show, show, show, show}, 20);
    EXPECT_EQ(steps[0].cursor.x, -1260);
    EXPECT_EQ(steps[3].cursor.y, 1004);
    EXPECT_EQ(EdgeSteps({1999, 10}, layout, {show, show, show, show})[2].cursor.x, 1990);
}

TEST(MonitorEdges, OneMonitorKeepsTheSingleScreenRule) {
    const EdgeAction show = EdgeAction::ShowPanel;
    const EdgeOptions all{show, show, show, show};
    for (IntPoint p : {IntPoint{0, 0}, IntPoint{1023, 767}, IntPoint{0, 500}, IntPoint{512, 767}}) {
        const auto many = EdgeSteps(p, MonitorLayout{kPrimary}, all);
        const auto one = EdgeSteps(p, 1024, 768, all);
        for (std::size_t i = 0; i < 4; ++i) {
            EXPECT_EQ(many[i].action, one[i].action);
            EXPECT_EQ(many[i].cursor.x, one[i].cursor.x);
            EXPECT_EQ(many[i].cursor.y, one[i].cursor.y);
        }
    }
}

TEST(MonitorPupils, StayInTheEyesAcrossTheWholeDesktop) {
    const MonitorLayout layout{kPrimary, Monitor(-1280, -200, 0, 824)};
    const ScreenRect desktop = VirtualScreen(layout);
    EXPECT_EQ(desktop, (ScreenRect{-1280, -200, 1024, 824}));
    const EyeGeometry eyes;
    for (int x = desktop.left; x < desktop.right; x += 97) {
        const auto columns = PupilColumns(x, 516, desktop, eyes);
        ASSERT_TRUE(columns);
        EXPECT_GE(columns->left, 1) << x;
        EXPECT_LE(columns->right + eyes.rightPupilWidth, eyes.rightEyeLeft + eyes.rightEyeWidth) << x;
    }
    for (int y = desktop.top; y < desktop.bottom; y += 53) {
        const auto rows = PupilRows(y, 315, desktop, eyes);
        ASSERT_TRUE(rows);
        EXPECT_GE(rows->left, 0) << y;
        EXPECT_LE(rows->left + eyes.leftPupilHeight, eyes.leftEyeHeight) << y;
    }
    // With one monitor at 0, 0 the desktop rule is the screen rule.
    EXPECT_EQ(PupilColumns(100, 516, ScreenRect{0, 0, 1024, 768}, eyes)->left,
              PupilColumns(100, 516, 1024, eyes)->left);
}

TEST(MonitorPlaces, AWindowOnNoMonitorComesBackWholeOntoTheNearest) {
    const MonitorLayout layout{kPrimary, Monitor(1024, 0, 2304, 1024, 30)};
    // On a monitor, even in part: it stays.
    EXPECT_FALSE(PlaceOnMonitors({1000, 100, 1031, 131}, layout));
    EXPECT_FALSE(PlaceOnMonitors({-20, -20, 11, 11}, layout));
    // Right of the second monitor, below its work area's end: back inside that work area.
    EXPECT_EQ(PlaceOnMonitors({2600, 1100, 2631, 1131}, layout), (ScreenRect{2273, 963, 2304, 994}));
    // Far left: the primary one, just inside its left edge.
    EXPECT_EQ(PlaceOnMonitors({-900, 300, -662, 520}, layout), (ScreenRect{0, 300, 238, 520}));
    // Larger than the work area: its top-left corner shows.
    EXPECT_EQ(PlaceOnMonitors({-3000, -3000, -1000, -1000}, layout), (ScreenRect{0, 0, 2000, 2000}));
    EXPECT_FALSE(PlaceOnMonitors({5, 5, 10, 10}, MonitorLayout{}));
}

TEST(MonitorPlaces, DialogsBesideTheAnchorWithinTheMascotsMonitor) {
    const MonitorArea right = Monitor(1024, -100, 2304, 924, 30);
    // Room below and to the right: under the panel, left-aligned.
    EXPECT_EQ(BesideAnchor({1100, 0, 1338, 220}, 302, 194, right), (ScreenRect{1100, 220, 1402, 414}));
    // Near that monitor's bottom-right corner: above, right-aligned.
    EXPECT_EQ(BesideAnchor({2100, 700, 2300, 880}, 302, 194, right), (ScreenRect{1998, 506, 2300, 700}));
    // Above the monitor's top is not allowed.
    EXPECT_EQ(BesideAnchor({1100, -90, 1338, 880}, 302, 194, right).top, -100);
    EXPECT_EQ(CentredIn({0, 0, 407, 377}, right.bounds), (ScreenRect{1460, 223, 1867, 600}));
}
