#include "mascot/HelpRules.h"

#include <gtest/gtest.h>

TEST(HelpRules, HelpFileGoesToTheEngineElseTheGuideOfTheInterfaceLanguage) {
    for (bool japanese : {true, false}) {
        const HelpChoice engine = ChooseHelp(true, japanese);
        EXPECT_TRUE(engine.helpEngine);
        EXPECT_TRUE(engine.guide.empty());
    }
    const HelpChoice ja = ChooseHelp(false, true);
    EXPECT_FALSE(ja.helpEngine);
    EXPECT_EQ(ja.guide, L"guide\\guide.ja.html");
    const HelpChoice en = ChooseHelp(false, false);
    EXPECT_FALSE(en.helpEngine);
    EXPECT_EQ(en.guide, L"guide\\guide.en.html");
}

TEST(HelpRules, MissingGuideMessageNamesTheFile) {
    const std::wstring message = GuideMissingMessage(L"C:\\pm\\guide\\guide.ja.html");
    EXPECT_NE(message.find(L"ヘルプ"), std::wstring::npos);
    EXPECT_NE(message.find(L"C:\\pm\\guide\\guide.ja.html"), std::wstring::npos);
}
