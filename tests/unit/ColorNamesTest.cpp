// Colour names as stored in the settings file.

#include "base/Exception.h"
#include "settings/ColorNames.h"

#include <gtest/gtest.h>

namespace {
struct Named {
    const wchar_t* name;
    std::uint32_t value;
};
} // namespace

TEST(ColorNames, FixedColoursBothWays) {
    const Named table[] = {
        {L"clBlack", 0x000000},     {L"clMaroon", 0x000080},     {L"clGreen", 0x008000},
        {L"clOlive", 0x008080},     {L"clNavy", 0x800000},       {L"clPurple", 0x800080},
        {L"clTeal", 0x808000},      {L"clGray", 0x808080},       {L"clSilver", 0xC0C0C0},
        {L"clRed", 0x0000FF},       {L"clLime", 0x00FF00},       {L"clYellow", 0x00FFFF},
        {L"clBlue", 0xFF0000},      {L"clFuchsia", 0xFF00FF},    {L"clAqua", 0xFFFF00},
        {L"clWhite", 0xFFFFFF},     {L"clMoneyGreen", 0xC0DCC0}, {L"clSkyBlue", 0xF0CAA6},
        {L"clCream", 0xF0FBFF},     {L"clMedGray", 0xA4A0A0},    {L"clNone", 0x1FFFFFFF},
        {L"clDefault", 0x20000000},
    };
    for (const auto& c : table) {
        EXPECT_EQ(ColorFromName(c.name), static_cast<TColor>(c.value)) << ToUtf8(c.name);
        EXPECT_EQ(ColorToName(static_cast<TColor>(c.value)), c.name);
    }
}

TEST(ColorNames, SystemColoursAreTheHighBitAndTheIndex) {
    const wchar_t* names[] = {
        L"clScrollBar",    L"clBackground",  L"clActiveCaption", L"clInactiveCaption",
        L"clMenu",         L"clWindow",      L"clWindowFrame",   L"clMenuText",
        L"clWindowText",   L"clCaptionText", L"clActiveBorder",  L"clInactiveBorder",
        L"clAppWorkSpace", L"clHighlight",   L"clHighlightText", L"clBtnFace",
        L"clBtnShadow",    L"clGrayText",    L"clBtnText",       L"clInactiveCaptionText",
        L"clBtnHighlight", L"cl3DDkShadow",  L"cl3DLight",       L"clInfoText",
        L"clInfoBk"};
    for (int i = 0; i <= 24; ++i) {
        EXPECT_EQ(ColorFromName(names[i]), SystemColor(i)) << ToUtf8(names[i]);
        EXPECT_EQ(ColorToName(SystemColor(i)), names[i]);
    }
    const wchar_t* later[] = {L"clHotLight", L"clGradientActiveCaption", L"clGradientInactiveCaption",
                              L"clMenuHighlight", L"clMenuBar"};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(ColorToName(SystemColor(26 + i)), later[i]);
    // Index 25 has no name of its own.
    EXPECT_EQ(ColorToName(SystemColor(25)), L"$80000019");
    EXPECT_EQ(clInfoBk, static_cast<TColor>(0x80000018u));
}

TEST(ColorNames, ReadingIgnoresCaseAndTakesNumbers) {
    EXPECT_EQ(ColorFromName(L"CLYELLOW"), clYellow);
    EXPECT_EQ(ColorFromName(L"clyellow"), clYellow);
    EXPECT_EQ(ColorFromName(L"$0000FFFF"), clYellow);
    EXPECT_EQ(ColorFromName(L"65535"), clYellow);
    EXPECT_EQ(ColorFromName(L"$00123456"), 0x123456);
}

TEST(ColorNames, UnnamedColoursAreEightUpperCaseHexDigits) {
    EXPECT_EQ(ColorToName(0x123456), L"$00123456");
    EXPECT_EQ(ColorToName(0x00ABCDEF), L"$00ABCDEF");
    EXPECT_EQ(ColorToName(-1), L"$FFFFFFFF");
    EXPECT_EQ(ColorFromName(ColorToName(0x0A0B0C)), 0x0A0B0C);
}

TEST(ColorNames, TextThatNamesNoColourFallsBack) {
    EXPECT_FALSE(ColorFromName(L"yellow").has_value());
    EXPECT_FALSE(ColorFromName(L"").has_value());
    EXPECT_FALSE(ColorFromName(L"clYellowish").has_value());
    EXPECT_EQ(ColorFromNameOr(L"banana", clYellow), clYellow);
    EXPECT_EQ(ColorFromNameOr(L"clRed", clYellow), clRed);
}
