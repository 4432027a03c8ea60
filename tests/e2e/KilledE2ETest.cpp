// The real pmrun.exe killed at random moments while it saves: the settings file stays a readable profile
// file that still holds every key it held before.

#include "PmrunProcess.h"
#include "Programs.h"

#include <gtest/gtest.h>

#include <random>

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

TEST_F(KilledE2E, AKillWhileQuittingLeavesEveryKeyReadable) {
    // What a quit that runs to its end writes: a kill may come after it, on a busy machine.
    std::vector<IniKey> saved;
    {
        PmrunProcess pmrun;
        pmrun.WriteIni(StandardIni(kNoEdges, ThirtyButtons()));
        ASSERT_TRUE(pmrun.Start());
        ASSERT_TRUE(pmrun.Quit());
        saved = ParseIni(pmrun.IniBytes());
    }
    std::mt19937 random(766);
    std::uniform_int_distribution<int> delay(0, 60);
    for (int round = 0; round < 8; ++round) {
        PmrunProcess pmrun;
        pmrun.WriteIni(StandardIni(kNoEdges, ThirtyButtons()));
        ASSERT_TRUE(pmrun.Start());
        const auto before = ParseIni(pmrun.IniBytes());
        // Quitting writes every key again; the kill comes somewhere in the middle of it.
        PostMessageW(pmrun.Mascot(), WM_CLOSE, 0, 0);
        const int wait = delay(random);
        Sleep(static_cast<DWORD>(wait));
        pmrun.Kill();
        const auto after = ParseIni(pmrun.IniBytes());
        for (const auto& key : before) {
            const std::string value = ValueOf(after, key.section, key.key);
            EXPECT_TRUE(value == key.value || value == ValueOf(saved, key.section, key.key))
                << "round " << round << " killed after " << wait << " ms: [" << key.section << "] " << key.key
                << " = " << value << ", was " << key.value;
        }
    }
}
