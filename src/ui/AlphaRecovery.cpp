#include "ui/AlphaRecovery.h"

#include <algorithm>

void RecoverAlpha(const std::uint32_t* onBlack, const std::uint32_t* onWhite, std::size_t count,
                  std::uint32_t* out, bool* transparent) {
    for (std::size_t i = 0; i < count; ++i) {
        // Over black a channel is c*a; over white c*a + (1 - a). Their difference is 1 - a in each channel.
        int differences = 0;
        for (int shift = 0; shift < 24; shift += 8)
            differences += static_cast<int>((onWhite[i] >> shift) & 0xFF) -
                           static_cast<int>((onBlack[i] >> shift) & 0xFF);
        const int alpha = std::clamp(255 - (differences + 1) / 3, 0, 255);
        transparent[i] = alpha == 0;
        if (alpha == 0) {
            out[i] = 0;
            continue;
        }
        std::uint32_t pixel = static_cast<std::uint32_t>(alpha) << 24;
        for (int shift = 0; shift < 24; shift += 8) {
            const int blended = static_cast<int>((onBlack[i] >> shift) & 0xFF);
            const int colour = std::min((blended * 255 + alpha / 2) / alpha, 255);
            pixel |= static_cast<std::uint32_t>(colour) << shift;
        }
        out[i] = pixel;
    }
}
