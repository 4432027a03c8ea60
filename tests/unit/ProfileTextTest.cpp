// A settings file's text in UTF-16LE, and how a code page is asked whether a text fits it.

#include "settings/ProfileText.h"

#include <gtest/gtest.h>

#include <utility>

TEST(ProfileText, AFileNotYetUnicodeBecomesItsTextInUtf16AfterTheMark) {
    const auto decode = [](std::string_view) { return std::wstring(L"k=é\U0001F600"); };
    for (const char* bytes : {"", "\xFF", "\xFE\xFF", "\xEF\xBB\xBFk=?"})
        EXPECT_EQ(UnicodeProfileBytes(bytes, decode),
                  std::string("\xFF\xFEk\0=\0\xE9\0\x3D\xD8\x00\xDE", 12));
    EXPECT_EQ(UnicodeProfileBytes("\xFF\xFEk", decode), std::nullopt);
}

TEST(ProfileText, PagesThatCannotReportTheDefaultCharacterAreAskedByRoundTrip) {
    EXPECT_EQ(FitTestFor(932), FitTest::UsedDefaultChar);
    EXPECT_EQ(FitTestFor(65001), FitTest::RoundTrip);
}

TEST(ProfileText, ASavedFileKeepsItsAttributesWithTheArchiveBitSet) {
    constexpr unsigned long readOnly = 0x1, hidden = 0x2, archive = 0x20, normal = 0x80;
    const std::pair<unsigned long, unsigned long> cases[] = {
        {normal, archive}, {hidden, hidden | archive}, {hidden | archive, hidden | archive},
        {readOnly | hidden, readOnly | hidden | archive}, {0x800 /* compressed */ | hidden, hidden | archive},
    };
    for (const auto& [before, after] : cases)
        EXPECT_EQ(AttributesAfterSave(before), after) << before;
}
