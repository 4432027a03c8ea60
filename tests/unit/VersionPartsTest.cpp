// The parts of a file-version text and the line the version box makes of them.

#include "base/Exception.h"
#include "components/VersionParts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::wstring> AllParts(const std::wstring& version) {
    return {VersionPart(version, 0), VersionPart(version, 1), VersionPart(version, 2),
            VersionPart(version, 3)};
}

using Parts = std::vector<std::wstring>;

} // namespace

TEST(VersionParts, FourPartsCutAtTheDots) {
    EXPECT_EQ(AllParts(L"2.0.4.0"), (Parts{L"2", L"0", L"4", L"0"}));
    EXPECT_EQ(AllParts(L"1.10.3.7"), (Parts{L"1", L"10", L"3", L"7"}));
    EXPECT_EQ(AllParts(L"10.200.3000.40000"), (Parts{L"10", L"200", L"3000", L"40000"}));
}

TEST(VersionParts, MissingPartsAreEmpty) {
    EXPECT_EQ(AllParts(L"3.1"), (Parts{L"3", L"1", L"", L""}));
    EXPECT_EQ(AllParts(L"7"), (Parts{L"7", L"", L"", L""}));
    EXPECT_EQ(AllParts(L""), (Parts{L"", L"", L"", L""}));
    EXPECT_EQ(AllParts(L"1..3"), (Parts{L"1", L"", L"3", L""}));
    EXPECT_EQ(AllParts(L".2"), (Parts{L"", L"2", L"", L""}));
    EXPECT_EQ(AllParts(L"1.2."), (Parts{L"1", L"2", L"", L""}));
}

TEST(VersionParts, IndexOutsideTheFourPartsIsEmpty) {
    EXPECT_EQ(VersionPart(L"1.2.3.4.5", -1), L"");
    EXPECT_EQ(VersionPart(L"1.2.3.4.5", 4), L"");
}

TEST(VersionParts, TextAfterAFourthDotIsIgnored) {
    EXPECT_EQ(AllParts(L"1.2.3.4.5"), (Parts{L"1", L"2", L"3", L"4"}));
    EXPECT_EQ(AllParts(L"1.2.3.4.5.6.7"), (Parts{L"1", L"2", L"3", L"4"}));
    EXPECT_EQ(VersionPart(L"1.2.3..9", 3), L"");
}

TEST(VersionParts, APartKeepsItsFirstTenCharacters) {
    EXPECT_EQ(VersionPart(L"1234567890", 0), L"1234567890");
    EXPECT_EQ(VersionPart(L"12345678901", 0), L"1234567890");
    EXPECT_EQ(AllParts(L"1.abcdefghijklmnop.3.4"), (Parts{L"1", L"abcdefghij", L"3", L"4"}));
    // The dropped characters do not spill into the next part.
    EXPECT_EQ(VersionPart(L"1.2.ABCDEFGHIJKLMN.4", 3), L"4");
    EXPECT_EQ(VersionPart(L"1.2.3.ABCDEFGHIJKLMN", 3), L"ABCDEFGHIJ");
}

TEST(VersionParts, BlanksAndControlsAroundAPartAreRemoved) {
    EXPECT_EQ(AllParts(L" 2 .\t0\t. 4\r\n. 0 "), (Parts{L"2", L"0", L"4", L"0"}));
    EXPECT_EQ(AllParts(L"  .  .\t."), (Parts{L"", L"", L"", L""}));
    // Blanks inside a part stay.
    EXPECT_EQ(VersionPart(L"1.2 beta.3", 1), L"2 beta");
}

TEST(VersionParts, BlanksCountTowardsTheTenCharactersBeforeTheyAreRemoved) {
    EXPECT_EQ(VersionPart(L"     123456789", 0), L"12345");
    EXPECT_EQ(VersionPart(L"1.\t\t\t\t\t\t\t\t\t\t2", 1), L"");
}

TEST(VersionParts, TrimRemovesEverythingUpToSpaceAtBothEnds) {
    EXPECT_EQ(TrimBlanksAndControls(L"\x01\x1F x y \x7F\x20"), L"x y \x7F");
    EXPECT_EQ(TrimBlanksAndControls(std::wstring(L"\0a\0", 3)), L"a");
    EXPECT_EQ(TrimBlanksAndControls(L"\u3000全角\u3000"), L"\u3000全角\u3000");
    EXPECT_EQ(TrimBlanksAndControls(L" \t\r\n"), L"");
}

TEST(VersionParts, TextIsMajorDotMinorThenRelease) {
    EXPECT_EQ(VersionText(L"2.0.4.0"), L"Ver 2.04");
    EXPECT_EQ(VersionText(L"1.10.3.7"), L"Ver 1.103");
    EXPECT_EQ(VersionText(L"3.1"), L"Ver 3.1");
    EXPECT_EQ(VersionText(L"5"), L"Ver 5.");
    EXPECT_EQ(VersionText(L""), L"Ver .");
}

TEST(VersionParts, TextShowsTenCharactersOfALongPartAndNoBlanks) {
    EXPECT_EQ(VersionText(L"12345678901.0.4.0"), L"Ver 1234567890.04");
    EXPECT_EQ(VersionText(L" 2 . 0 . 4 . 0 "), L"Ver 2.04");
    EXPECT_EQ(VersionText(L"2.0.4.0.9"), L"Ver 2.04");
}
