// Pupil placement, screen-edge actions and hover mode of the mascot's tick.

#include "mascot/TrackingRules.h"

#include <gtest/gtest.h>

namespace {

const EyeGeometry kEyes; // the face as created: eyes 14 x 28, pupils 4 x 8, right eye at 16, C = 15
constexpr int kW = 1024, kH = 768;

// Edge options as the file stores them: left, top, right, bottom.
EdgeOptions Edges(int left, int top, int right, int bottom) {
    return {static_cast<EdgeAction>(left), static_cast<EdgeAction>(top), static_cast<EdgeAction>(right),
            static_cast<EdgeAction>(bottom)};
}

PupilLefts Columns(int pointerX, int eyeX) {
    auto lefts = PupilColumns(pointerX, eyeX, kW, kEyes);
    EXPECT_TRUE(lefts.has_value());
    return lefts.value_or(PupilLefts{-99, -99});
}

PupilTops Rows(int pointerY, int eyeY, int screenHeight = kH) {
    auto tops = PupilRows(pointerY, eyeY, screenHeight, kEyes);
    EXPECT_TRUE(tops.has_value());
    return tops.value_or(PupilTops{-99, -99});
}

} // namespace

TEST(PupilRatio, RoundedToThirtyTwoBitsBeforeTheProduct) {
    // 0.7 in 32 bits is just below 0.7: ten times it truncates to 6, not 7.
    EXPECT_EQ(ScaleTruncated(10, *PupilRatio(7, 10)), 6);
    // 5/6 in 32 bits is just below it too: 6 x r gives 4.
    EXPECT_EQ(ScaleTruncated(6, *PupilRatio(5, 6)), 4);
    EXPECT_EQ(ScaleTruncated(10, *PupilRatio(1, 2)), 5);
    EXPECT_EQ(ScaleTruncated(13.5, *PupilRatio(1, 1)), 13);
    // Toward zero, also for negative ratios (a monitor left of the primary one).
    EXPECT_EQ(ScaleTruncated(10, *PupilRatio(-7, 10)), -6);
    EXPECT_FALSE(PupilRatio(3, 0).has_value());
}

TEST(PupilColumns, PointerLeftOfOrLevelWithTheEyePoint) {
    // In the eye point's column: the left pupil at the inner edge of its eye, the right one at 16.
    PupilLefts level = Columns(500, 500);
    EXPECT_EQ(level.left, 11);
    EXPECT_EQ(level.right, 16);
    // At the screen's left edge.
    PupilLefts edge = Columns(0, 500);
    EXPECT_EQ(edge.left, 1);
    EXPECT_EQ(edge.right, 16);
    // r = 0.7: 1 + trunc(10 x 0.7f) = 7.
    EXPECT_EQ(Columns(350, 500).left, 7);
}

TEST(PupilColumns, PointerRightOfTheEyePoint) {
    // Left pupil rests at Shape2.left - Shape3.width = 12; right pupil travels 16 + trunc(10 r).
    PupilLefts justRight = Columns(501, 500);
    EXPECT_EQ(justRight.left, 12);
    EXPECT_EQ(justRight.right, 16);
    PupilLefts rightEdge = Columns(kW - 1, 24);
    EXPECT_EQ(rightEdge.left, 12);
    EXPECT_EQ(rightEdge.right, 25); // r = 999/1000, just below 1
    // r = (724 - 24) / (1024 - 24) = 0.7
    EXPECT_EQ(Columns(724, 24).right, 22);
}

TEST(PupilColumns, ZeroDivisorLeavesThePupilsAlone) {
    // The mascot dragged 16 pixels past the left edge puts the eye point at x = 0.
    EXPECT_FALSE(PupilColumns(0, 0, kW, kEyes).has_value());
    EXPECT_FALSE(PupilColumns(-5, 0, kW, kEyes).has_value());
    // Eye point exactly on the right border, pointer beyond it on another monitor.
    EXPECT_FALSE(PupilColumns(kW + 5, kW, kW, kEyes).has_value());
    // A pointer on a monitor to the left gives a negative ratio: the pupil leaves the eye, uncut.
    EXPECT_EQ(Columns(-500, 500).left, 1 - 10);
}

TEST(PupilRows, AboveAndBelowTheEyePoint) {
    EXPECT_EQ(Rows(0, 100).left, 0);
    EXPECT_EQ(Rows(99, 100).left, 13); // trunc(14 x 0.99)
    PupilTops level = Rows(100, 100);
    EXPECT_EQ(level.left, 15);
    EXPECT_EQ(level.right, 15);
    // r = 0.7 below: 15 + trunc(6 x 0.7f) = 19.
    EXPECT_EQ(Rows(100 + 7, 100, 110).left, 19);
}

TEST(PupilRows, BottomEdgeDependsOnTheThirtyTwoBitRatio) {
    // Eye point 7 pixels above the bottom: r = 6/7, 6 r = 5.14, top 20.
    PupilTops seven = Rows(kH - 1, kH - 7);
    EXPECT_EQ(seven.left, 20);
    EXPECT_EQ(seven.right, 20);
    // Far above the bottom: still 20.
    EXPECT_EQ(Rows(kH - 1, 15).left, 20);
    // Exactly 6 pixels above: r = 5/6 rounds below 5/6, 6 r truncates to 4, top 19.
    PupilTops six = Rows(kH - 1, kH - 6);
    EXPECT_EQ(six.left, 19);
    EXPECT_EQ(six.right, 19);
}

TEST(PupilRows, ZeroDivisorLeavesThePupilsAlone) {
    EXPECT_FALSE(PupilRows(-3, 0, kH, kEyes).has_value());
    EXPECT_FALSE(PupilRows(kH + 3, kH, kH, kEyes).has_value());
    EXPECT_TRUE(PupilRows(0, 0, kH, kEyes).has_value()); // level with it: the "below" branch, r = 0
}

TEST(PupilGeometry, FormulasFollowTheShapesSizes) {
    EyeGeometry bigger;
    bigger.leftEyeWidth = 20;
    bigger.leftEyeHeight = 27; // odd: the half is 13.5
    bigger.rightEyeLeft = 22;
    bigger.leftPupilWidth = 6;
    auto lefts = PupilColumns(500, 500, kW, bigger);
    ASSERT_TRUE(lefts);
    EXPECT_EQ(lefts->left, 1 + 14);
    EXPECT_EQ(lefts->right, 22);
    auto right = PupilColumns(600, 500, kW, bigger);
    ASSERT_TRUE(right);
    EXPECT_EQ(right->left, 22 - 6);
    auto tops = PupilRows(99, 100, kH, bigger);
    ASSERT_TRUE(tops);
    EXPECT_EQ(tops->left, 13); // trunc(13.5 x 0.99)
    EXPECT_EQ(tops->right, 13);
}

TEST(EdgeSteps, TopLeftCornerActsTwiceOnOneReading) {
    const EdgeOptions edges = Edges(1, 1, 0, 0);
    auto steps = EdgeSteps({0, 0}, kW, kH, edges);
    ASSERT_EQ(steps[0].action, EdgeStep::Action::ShowPanel);
    EXPECT_EQ(steps[0].cursor.x, 10);
    EXPECT_EQ(steps[0].cursor.y, 0);
    ASSERT_EQ(steps[1].action, EdgeStep::Action::ShowPanel);
    EXPECT_EQ(steps[1].cursor.x, 0); // P is not read again after the first move
    EXPECT_EQ(steps[1].cursor.y, 10);
    EXPECT_EQ(steps[2].action, EdgeStep::Action::None);
    EXPECT_EQ(steps[3].action, EdgeStep::Action::None);
    // The next tick finds the pointer at (0, 10): only the left edge acts.
    auto next = EdgeSteps({0, 10}, kW, kH, edges);
    EXPECT_EQ(next[0].action, EdgeStep::Action::ShowPanel);
    EXPECT_EQ(next[0].cursor.x, 10);
    EXPECT_EQ(next[0].cursor.y, 10);
    EXPECT_EQ(next[1].action, EdgeStep::Action::None);
}

TEST(EdgeSteps, RightAndBottomEdges) {
    auto right = EdgeSteps({1023, 300}, kW, kH, Edges(2, 2, 1, 2));
    ASSERT_EQ(right[2].action, EdgeStep::Action::ShowPanel);
    EXPECT_EQ(right[2].cursor.x, 1014);
    EXPECT_EQ(right[2].cursor.y, 300);
    EXPECT_EQ(EdgeSteps({1023, 300}, kW, kH, Edges(2, 2, 0, 2))[2].action, EdgeStep::Action::HidePanel);
    auto bottom = EdgeSteps({40, 767}, kW, kH, Edges(2, 2, 2, 1));
    ASSERT_EQ(bottom[3].action, EdgeStep::Action::ShowPanel);
    EXPECT_EQ(bottom[3].cursor.x, 40);
    EXPECT_EQ(bottom[3].cursor.y, 758);
    // One pixel short of an edge is not the edge.
    for (const EdgeStep& step : EdgeSteps({1, 1}, kW, kH, Edges(1, 1, 1, 1)))
        EXPECT_EQ(step.action, EdgeStep::Action::None);
    for (const EdgeStep& step : EdgeSteps({1022, 766}, kW, kH, Edges(0, 0, 0, 0)))
        EXPECT_EQ(step.action, EdgeStep::Action::None);
}

TEST(EdgeSteps, OnlyZeroAndOneAct) {
    for (int option : {2, -1, 3, 100}) {
        auto steps = EdgeSteps({0, 0}, kW, kH, Edges(option, option, option, option));
        EXPECT_EQ(steps[0].action, EdgeStep::Action::None) << option;
        EXPECT_EQ(steps[1].action, EdgeStep::Action::None) << option;
    }
    auto hide = EdgeSteps({0, 0}, kW, kH, Edges(0, 0, 0, 0));
    EXPECT_EQ(hide[0].action, EdgeStep::Action::HidePanel);
    EXPECT_EQ(hide[1].action, EdgeStep::Action::HidePanel);
}

TEST(HoverMode, NeedsEveryEdgeOffNoHotKeysAndPamuHideNo) {
    const EdgeOptions off = Edges(2, 2, 2, 2);
    EXPECT_TRUE(HoverMode(off, L"", L"", L"No"));
    EXPECT_FALSE(HoverMode(off, L"", L"", L""));   // never saved by the options dialog
    EXPECT_FALSE(HoverMode(off, L"", L"", L"no")); // compared exactly
    EXPECT_FALSE(HoverMode(off, L"", L"", L"Yes"));
    EXPECT_FALSE(HoverMode(off, L"Alt+A", L"", L"No"));
    EXPECT_FALSE(HoverMode(off, L"", L"Alt+Z", L"No"));
    EXPECT_FALSE(HoverMode(Edges(1, 2, 2, 2), L"", L"", L"No"));
    EXPECT_FALSE(HoverMode(Edges(2, 0, 2, 2), L"", L"", L"No"));
    EXPECT_FALSE(HoverMode(Edges(2, 2, -1, 2), L"", L"", L"No"));
    EXPECT_FALSE(HoverMode(Edges(2, 2, 2, 3), L"", L"", L"No"));
}

TEST(HoverMode, PanelAreaIsStrictlyInside) {
    EXPECT_TRUE(PointerOverPanel({101, 51}, 100, 50, 200, 100));
    EXPECT_TRUE(PointerOverPanel({299, 149}, 100, 50, 200, 100));
    EXPECT_FALSE(PointerOverPanel({100, 80}, 100, 50, 200, 100));
    EXPECT_FALSE(PointerOverPanel({300, 80}, 100, 50, 200, 100));
    EXPECT_FALSE(PointerOverPanel({150, 50}, 100, 50, 200, 100));
    EXPECT_FALSE(PointerOverPanel({150, 150}, 100, 50, 200, 100));
}
