#include "ui/DpiRules.h"

#include <gtest/gtest.h>

#include <climits>

using ui::ScaleBetweenDpis;
using ui::ScaleToDpi;

TEST(DpiRules, NinetySixDpiKeepsEverySize) {
    for (int v : {-38, -12, 0, 1, 10, 15, 31, 38, 238, 815})
        EXPECT_EQ(ScaleToDpi(v, 96), v) << v;
}

TEST(DpiRules, ScalesAndRoundsHalfAwayFromZero) {
    EXPECT_EQ(ScaleToDpi(31, 192), 62);
    EXPECT_EQ(ScaleToDpi(38, 192), 76);
    EXPECT_EQ(ScaleToDpi(-12, 192), -24);
    EXPECT_EQ(ScaleToDpi(31, 144), 47); // 46.5
    EXPECT_EQ(ScaleToDpi(-31, 144), -47);
    EXPECT_EQ(ScaleToDpi(13, 120), 16); // 16.25
    EXPECT_EQ(ScaleToDpi(15, 120), 19); // 18.75
}

TEST(DpiRules, MovesBetweenMonitorsAndBack) {
    EXPECT_EQ(ScaleBetweenDpis(62, 192, 96), 31);
    EXPECT_EQ(ScaleBetweenDpis(76, 192, 144), 57);
    for (int v = 0; v < 200; ++v)
        EXPECT_EQ(ScaleBetweenDpis(ScaleToDpi(v, 192), 192, 96), v) << v;
}

TEST(DpiRules, AFailedReadCountsAsNinetySixAndNothingOverflows) {
    EXPECT_EQ(ScaleToDpi(31, 0), 31);
    EXPECT_EQ(ScaleBetweenDpis(31, -1, 192), 62);
    EXPECT_EQ(ScaleToDpi(INT_MAX, 192), INT_MAX);
    EXPECT_EQ(ScaleToDpi(INT_MIN, 192), INT_MIN);
}
