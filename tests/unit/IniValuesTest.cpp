// The settings file's text rules: integers, the file's path, section names.

#include "base/Exception.h"
#include "settings/IniValues.h"

#include <gtest/gtest.h>

TEST(IniInteger, DecimalWithOptionalSign) {
    EXPECT_EQ(ParseIniInteger(L"500"), 500);
    EXPECT_EQ(ParseIniInteger(L"-10"), -10);
    EXPECT_EQ(ParseIniInteger(L"+7"), 7);
    EXPECT_EQ(ParseIniInteger(L"0"), 0);
    EXPECT_EQ(ParseIniInteger(L"007"), 7);
    EXPECT_EQ(ParseIniInteger(L"2147483647"), 2147483647);
    EXPECT_EQ(ParseIniInteger(L"-2147483648"), INT32_MIN);
}

TEST(IniInteger, HexadecimalWithDollarOrZeroX) {
    EXPECT_EQ(ParseIniInteger(L"$1F4"), 500);
    EXPECT_EQ(ParseIniInteger(L"$1f4"), 500);
    EXPECT_EQ(ParseIniInteger(L"0x1F4"), 500);
    EXPECT_EQ(ParseIniInteger(L"0X1f4"), 500);
    EXPECT_EQ(ParseIniInteger(L"$FFFFFFFF"), -1);
    EXPECT_EQ(ParseIniInteger(L"$80000018"), static_cast<std::int32_t>(0x80000018u));
    EXPECT_EQ(ParseIniInteger(L"-$10"), -16);
}

TEST(IniInteger, AnythingElseIsNoInteger) {
    for (const wchar_t* text :
         {L"", L"  ", L"abc", L"12a", L"1 2", L"$", L"0x", L"0X", L"$G1", L"0xZZ", L"-", L"+", L"1.5",
          L"2147483648", L"-2147483649", L"$100000000", L"0x123456789", L"１２", L"x1F"})
        EXPECT_FALSE(ParseIniInteger(text).has_value()) << ToUtf8(text);
}

TEST(IniInteger, BlanksAroundTheNumberAreIgnored) {
    EXPECT_EQ(ParseIniInteger(L"  42\t"), 42);
}

TEST(IniInteger, FallbackForNoInteger) {
    EXPECT_EQ(IniIntegerOr(L"letters", 6), 6);
    EXPECT_EQ(IniIntegerOr(L"", 500), 500);
    EXPECT_EQ(IniIntegerOr(L"0x1F4", 0), 500);
    EXPECT_EQ(IniIntegerText(-12), L"-12");
    EXPECT_EQ(IniIntegerText(500), L"500");
}

TEST(SettingsPath, ExtensionOfTheFileNameIsReplaced) {
    EXPECT_EQ(SettingsPathFor(L"C:\\Tools\\pmrun.exe"), L"C:\\Tools\\pmrun.Ini");
    EXPECT_EQ(SettingsPathFor(L"C:\\Tools\\pmrun.tar.EXE"), L"C:\\Tools\\pmrun.tar.Ini");
    EXPECT_EQ(SettingsPathFor(L"C:\\Tools\\pmrun"), L"C:\\Tools\\pmrun.Ini");
}

TEST(SettingsPath, DotsInFoldersAreNotExtensions) {
    EXPECT_EQ(SettingsPathFor(L"C:\\my.tools\\pmrun"), L"C:\\my.tools\\pmrun.Ini");
    EXPECT_EQ(SettingsPathFor(L"D:pmrun"), L"D:pmrun.Ini");
    EXPECT_EQ(SettingsPathFor(L"C:\\a.b\\c.d\\pmrun.exe"), L"C:\\a.b\\c.d\\pmrun.Ini");
}

TEST(SettingsPath, LongAndNonAsciiPathsKeepEveryCharacter) {
    std::wstring folder = L"C:\\" + std::wstring(300, L'あ') + L"\\";
    EXPECT_EQ(SettingsPathFor(folder + L"ぱむ.exe"), folder + L"ぱむ.Ini");
}

TEST(SectionNames, ButtonSectionsHaveNoLeadingZeros) {
    EXPECT_EQ(ButtonSectionName(1), L"btn1");
    EXPECT_EQ(ButtonSectionName(9), L"btn9");
    EXPECT_EQ(ButtonSectionName(30), L"btn30");
}

TEST(Messages, PathTakesThePlaceOfTheMarker) {
    EXPECT_EQ(FormatMessageText(L"%s に書き込めません", L"C:\\pm\\pmrun.Ini"),
              L"C:\\pm\\pmrun.Ini に書き込めません");
    EXPECT_EQ(FormatMessageText(L"no marker", L"x"), L"no marker");
    EXPECT_EQ(ToUtf8(L"ぱむ"), "\xE3\x81\xB1\xE3\x82\x80");
}

namespace {

// A block as the profile functions return a section: every line ended by a zero, one more at the end.
std::wstring Block(std::initializer_list<std::wstring> lines) {
    std::wstring block;
    for (const auto& line : lines)
        block += line + L'\0';
    return block + L'\0';
}

} // namespace

TEST(IniSection, LinesSplitAtTheFirstEqualsSignWithBlanksDropped) {
    const auto entries = ParseSectionBlock(Block(
        {L"pg=C:\\a.exe", L" op = -x=1 \t", L"no equals sign", L"; pg=comment", L"=empty key", L"lb="}));
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].key, L"pg");
    EXPECT_EQ(entries[0].value, L"C:\\a.exe");
    EXPECT_EQ(entries[1].key, L"op");
    EXPECT_EQ(entries[1].value, L"-x=1");
    EXPECT_EQ(entries[2].key, L"");
    EXPECT_EQ(entries[3].key, L"lb");
    EXPECT_EQ(entries[3].value, L"");
    EXPECT_TRUE(ParseSectionBlock(Block({})).empty());
    // A block cut off without its final zeros still ends.
    EXPECT_EQ(ParseSectionBlock(std::wstring_view(L"pg=x")).size(), 1u);
}

TEST(IniSection, LookupTakesTheFirstKeyInAnyCaseAndStripsOnePairOfQuotes) {
    const auto entries = ParseSectionBlock(Block({L"PG=first", L"pg=second", L"op=\"two words\"", L"dr='x'",
                                                  L"lb=\"unbalanced", L"ic=\"\"", L"q=\"", L"mixed=\"x'"}));
    EXPECT_EQ(FindIniValue(entries, L"pg"), L"first");
    EXPECT_EQ(FindIniValue(entries, L"op"), L"two words");
    EXPECT_EQ(FindIniValue(entries, L"dr"), L"x");
    EXPECT_EQ(FindIniValue(entries, L"lb"), L"\"unbalanced");
    EXPECT_EQ(FindIniValue(entries, L"ic"), L"");
    EXPECT_EQ(FindIniValue(entries, L"q"), L"\"");
    EXPECT_EQ(FindIniValue(entries, L"mixed"), L"\"x'");
    EXPECT_EQ(FindIniValue(entries, L"missing"), std::nullopt);
}

TEST(IniSection, LongValuesAreCutLikeSingleReads) {
    const auto entries = ParseSectionBlock(Block({L"lb=" + std::wstring(3000, L'x')}));
    EXPECT_EQ(FindIniValue(entries, L"lb"), std::wstring(kIniTextMax, L'x'));
}
