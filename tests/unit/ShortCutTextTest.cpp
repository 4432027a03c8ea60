// Hot-key shortcuts and their text form, both ways, with a keyboard layout of our own making.

#include "components/ShortCutText.h"

#include <gtest/gtest.h>

namespace {

// Names a handful of keys as a layout would; every other key has no name.
std::wstring TestLayout(unsigned key) {
    switch (key) {
    case 0x14: return L"Caps Lock";
    case 0x6A: return L"Num *";
    case 0xBB: return L";";
    case 0xDE: return L"^";         // a Japanese layout's caret key
    case 0xF0: return L"Caps Lock"; // a second key of the same name: the lower code wins
    default: return {};
    }
}

TShortCut Read(const std::wstring& text) {
    return TextToShortCut(text, TestLayout);
}

std::wstring Write(TShortCut value) {
    return ShortCutToText(value, TestLayout);
}

} // namespace

TEST(ShortCutText, FixedNamesAndTheLayoutsForTheRest) {
    EXPECT_EQ(Write(0x08), L"BkSp");
    EXPECT_EQ(Write(0x09), L"Tab");
    EXPECT_EQ(Write(0x0D), L"Enter");
    EXPECT_EQ(Write(0x1B), L"Esc");
    EXPECT_EQ(Write(0x20), L"Space");
    EXPECT_EQ(Write(0x21), L"PgUp");
    EXPECT_EQ(Write(0x28), L"Down");
    EXPECT_EQ(Write(0x2D), L"Ins");
    EXPECT_EQ(Write(0x2E), L"Del");
    EXPECT_EQ(Write(0x30), L"0");
    EXPECT_EQ(Write(0x39), L"9");
    EXPECT_EQ(Write(0x60), L"0"); // numeric pad
    EXPECT_EQ(Write(0x69), L"9");
    EXPECT_EQ(Write(0x41), L"A");
    EXPECT_EQ(Write(0x5A), L"Z");
    EXPECT_EQ(Write(0x70), L"F1");
    EXPECT_EQ(Write(0x87), L"F24");
    EXPECT_EQ(Write(0x6A), L"Num *");
    EXPECT_EQ(Write(0x14), L"Caps Lock");
    // Only the low byte names the key.
    EXPECT_EQ(Write(0x0141), L"A");
}

TEST(ShortCutText, PrefixesComeShiftCtrlAltAndANamelessKeyGivesNothing) {
    EXPECT_EQ(Write(scAlt | 0x41), L"Alt+A");
    EXPECT_EQ(Write(scShift | scCtrl | 0x74), L"Shift+Ctrl+F5");
    EXPECT_EQ(Write(scShift | scCtrl | scAlt | 0x1B), L"Shift+Ctrl+Alt+Esc");
    EXPECT_EQ(Write(0), L"");
    EXPECT_EQ(Write(scAlt), L"");         // modifiers without a key
    EXPECT_EQ(Write(scCtrl | 0x07), L""); // a key the layout does not name
}

TEST(ShortCutText, ReadingStripsPrefixesInAnyOrderAndCase) {
    EXPECT_EQ(Read(L"Alt+ESC"), scAlt | 0x1B);
    EXPECT_EQ(Read(L"alt+esc"), scAlt | 0x1B);
    EXPECT_EQ(Read(L"Alt+A"), scAlt | 0x41);
    EXPECT_EQ(Read(L"Alt+Z"), scAlt | 0x5A);
    EXPECT_EQ(Read(L"Alt+Q"), scAlt | 0x51);
    EXPECT_EQ(Read(L"Ctrl+Shift+F5"), scShift | scCtrl | 0x74);
    EXPECT_EQ(Write(Read(L"Ctrl+Shift+F5")), L"Shift+Ctrl+F5");
    EXPECT_EQ(Read(L"^A"), scCtrl | 0x41);
    EXPECT_EQ(Read(L"^alt+shift+a"), scShift | scCtrl | scAlt | 0x41);
    EXPECT_EQ(Read(L"F24"), 0x87);
    EXPECT_EQ(Read(L"Space"), 0x20);
    EXPECT_EQ(Read(L"Alt+num *"), scAlt | 0x6A);
    EXPECT_EQ(Read(L"Alt+;"), scAlt | 0xBB);
}

TEST(ShortCutText, DigitsReadAsTheMainRowAndTheFirstMatchWins) {
    // "0".."9" name both rows; reading finds the main row first.
    EXPECT_EQ(Read(L"Alt+0"), scAlt | 0x30);
    EXPECT_EQ(Read(L"Shift+9"), scShift | 0x39);
    EXPECT_EQ(Read(Write(scCtrl | 0x65)), scCtrl | 0x35);
    EXPECT_EQ(Read(L"Caps Lock"), 0x14);
}

TEST(ShortCutText, EmptyUnknownAndBarePrefixesReadAsNone) {
    EXPECT_EQ(Read(L""), 0);
    EXPECT_EQ(Read(L"Alt+"), 0);
    EXPECT_EQ(Read(L"Shift+Ctrl+"), 0);
    EXPECT_EQ(Read(L"nonsense"), 0);
    EXPECT_EQ(Read(L"Alt+F25"), 0);
    EXPECT_EQ(Read(L"Win+A"), 0);
    EXPECT_EQ(Read(L" Alt+A"), 0);
    EXPECT_EQ(Read(L"Alt+A "), 0);
    // Every caret is a prefix, so a layout's caret key cannot be read back at all.
    EXPECT_EQ(Read(L"^"), 0);
    EXPECT_EQ(Read(L"^^"), 0);
}

TEST(ShortCutText, EveryNamedValueReadsBackAsItself) {
    for (unsigned key = 0x08; key <= 0xFF; ++key) {
        if (key >= 0x60 && key <= 0x69) continue; // the numeric pad reads as the main row
        if (key == 0xF0) continue;                // named like 0x14
        if (key == 0xDE) continue;                // "^" is read as a prefix
        for (TShortCut mods : {TShortCut(0), scShift, scCtrl, scAlt, TShortCut(scShift | scCtrl | scAlt)}) {
            const auto value = static_cast<TShortCut>(key | mods);
            const std::wstring text = Write(value);
            if (text.empty()) continue;
            EXPECT_EQ(Read(text), value) << "text " << std::string(text.begin(), text.end());
        }
    }
}

TEST(ShortCutText, HeldKeysAreToldOneLineEach) {
    EXPECT_EQ(HeldKeyNote(L"Alt+A"), L"Alt+A は他のプログラムが使用中です");
    EXPECT_EQ(HeldKeysMessage({L"Alt+A"}), L"Alt+A は他のプログラムが使用中です");
    EXPECT_EQ(HeldKeysMessage({L"Alt+A", L"Alt+Q"}),
              L"Alt+A は他のプログラムが使用中です\nAlt+Q は他のプログラムが使用中です");
    EXPECT_EQ(HeldKeysMessage({}), L"");
}

TEST(ShortCutText, HotKeyModifiersNeverRepeat) {
    const struct {
        TShortCut shortCut;
        unsigned flags;
    } cases[] = {{'A', 0x4000},
                 {scAlt | 'A', 0x4001},
                 {scCtrl | 0x77, 0x4002},
                 {scShift | scCtrl | scAlt | 'Q', 0x4007}};
    for (const auto& c : cases)
        EXPECT_EQ(HotKeyModifiers(c.shortCut), c.flags) << c.shortCut;
}
