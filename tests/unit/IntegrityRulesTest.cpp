// Whether the program runs above the shell: by the two levels when both are known, else by its own token.

#include "base/IntegrityRules.h"

#include <gtest/gtest.h>

TEST(IntegrityRules, TheLevelsDecideAndWithoutTheShellsTheProgramsOwnToken) {
    constexpr unsigned long medium = 0x2000, high = 0x3000, system = 0x4000;
    struct Case {
        unsigned long ours, theShells;
        bool elevated, above;
    };
    const Case cases[] = {{medium, medium, false, false}, {high, medium, true, true}, {high, high, true, false},
                          {system, high, false, true},    {medium, 0, false, false}, {medium, 0, true, true},
                          {high, 0, false, true},         {0, 0, true, true},        {0, medium, false, false},
                          {0, 0, false, false}};
    for (const Case& c : cases)
        EXPECT_EQ(AboveTheShell(c.ours, c.theShells, c.elevated), c.above) << c.ours << " " << c.theShells;
}
