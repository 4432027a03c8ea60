// Recovering an icon's colours and opacity from its drawings over black and over white.

#include "ui/AlphaRecovery.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>

namespace {

int Channel(std::uint32_t pixel, int shift) {
    return static_cast<int>((pixel >> shift) & 0xFF);
}

// A colour of the given opacity drawn over a background, rounded as GDI's blending rounds.
std::uint32_t Blend(std::uint32_t colour, int alpha, std::uint32_t background) {
    std::uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const int value =
            (Channel(colour, shift) * alpha + Channel(background, shift) * (255 - alpha) + 127) / 255;
        out |= static_cast<std::uint32_t>(value) << shift;
    }
    return out;
}

} // namespace

TEST(AlphaRecovery, EveryOpacityDrawsAgainAsTheOriginalDid) {
    const std::uint32_t colours[] = {0x000000, 0xFFFFFF, 0x123456, 0xFF8000, 0x00FF7F, 0x808080};
    const std::uint32_t backgrounds[] = {0x808080, 0xFF00FF, 0x000000, 0xFFFFFF};
    for (std::uint32_t colour : colours)
        for (int alpha = 1; alpha <= 255; ++alpha) {
            const std::uint32_t onBlack = Blend(colour, alpha, 0x000000);
            const std::uint32_t onWhite = Blend(colour, alpha, 0xFFFFFF);
            std::uint32_t recovered = 0;
            bool transparent = true;
            RecoverAlpha(&onBlack, &onWhite, 1, &recovered, &transparent);
            ASSERT_FALSE(transparent) << std::hex << colour << " " << std::dec << alpha;
            const int recoveredAlpha = static_cast<int>(recovered >> 24);
            EXPECT_LE(std::abs(recoveredAlpha - alpha), 1) << std::hex << colour << " " << std::dec << alpha;
            for (std::uint32_t background : backgrounds) {
                const std::uint32_t want = Blend(colour, alpha, background);
                const std::uint32_t got = Blend(recovered & 0xFFFFFF, recoveredAlpha, background);
                for (int shift = 0; shift < 24; shift += 8)
                    ASSERT_LE(std::abs(Channel(got, shift) - Channel(want, shift)), 2)
                        << std::hex << colour << " over " << background << std::dec << " alpha " << alpha;
            }
        }
}

TEST(AlphaRecovery, OpaqueIsExactAndUntouchedIsTransparent) {
    const std::uint32_t onBlack[] = {0x123456, 0x000000, 0xFFFFFF, 0x000000};
    const std::uint32_t onWhite[] = {0x123456, 0xFFFFFF, 0xFFFFFF, 0x000000};
    std::uint32_t out[4] = {1, 1, 1, 1};
    bool transparent[4] = {true, false, true, true};
    RecoverAlpha(onBlack, onWhite, 4, out, transparent);
    EXPECT_EQ(out[0], 0xFF123456u);
    EXPECT_FALSE(transparent[0]);
    EXPECT_EQ(out[1], 0u); // the background showed through both drawings
    EXPECT_TRUE(transparent[1]);
    EXPECT_EQ(out[2], 0xFFFFFFFFu);
    EXPECT_FALSE(transparent[2]);
    EXPECT_EQ(out[3], 0xFF000000u);
    EXPECT_FALSE(transparent[3]);
}
