// A settings file's text in UTF-16LE, and how a code page is asked whether a text fits it.

#include "settings/ProfileText.h"

#include <gtest/gtest.h>

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
