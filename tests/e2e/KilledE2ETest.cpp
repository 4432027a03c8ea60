// The real pmrun.exe killed while it saves as it quits: the settings file is then the one it had or the one
// the quit writes, never one cut short.

#include "PmrunProcess.h"
#include "Programs.h"

#include <gtest/gtest.h>

using namespace e2e;

namespace {

std::wstring ThirtyButtons() {
    std::wstring sections;
    for (int n = 1; n <= 30; ++n)
        sections += ButtonSection(n, L"pg=C:\\programs\\tool" + std::to_wstring(n) + L".exe\r\nlb=ツール" +
                                         std::to_wstring(n) + L"\r\n");
    return sections;
}

class KilledE2E : public E2ETest {};

} // namespace

TEST_F(KilledE2E, AKillWhileQuittingLeavesTheOldFileOrTheNewOne) {
    // What a quit that runs to its end writes.
    std::string saved;
    {
        PmrunProcess pmrun;
        pmrun.WriteIni(StandardIni(kNoEdges, ThirtyButtons()));
        ASSERT_TRUE(pmrun.Start());
        ASSERT_TRUE(pmrun.Quit());
        saved = pmrun.IniBytes();
    }
    // Quitting writes every key again into a copy beside the file, which then takes the file's place. The
    // kill comes the moment the copy is seen; a save that runs between two looks is not caught, and the
    // next round tries again.
    int caught = 0;
    for (int round = 0; round < 8; ++round) {
        PmrunProcess pmrun;
        pmrun.WriteIni(StandardIni(kNoEdges, ThirtyButtons()));
        ASSERT_TRUE(pmrun.Start());
        const std::string before = pmrun.IniBytes();
        ASSERT_NE(before, saved); // the quit adds the keys the prepared file lacks
        PostMessageW(pmrun.Mascot(), WM_CLOSE, 0, 0);
        if (pmrun.KillWhileSaving()) ++caught;
        pmrun.Kill();
        const std::string after = pmrun.IniBytes();
        EXPECT_TRUE(after == before || after == saved) << "round " << round << ":\n" << after;
    }
    EXPECT_GE(caught, 1);
}
