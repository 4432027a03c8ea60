#pragma once
// Recovering an image's own colours and opacity from two drawings of it, one over black and one over
// white; no Windows here. Pixels are 0xAARRGGBB words as a 32-bit DIB holds them (alpha ignored on input).

#include <cstddef>
#include <cstdint>

// out receives each pixel's colour, not premultiplied, with its opacity in the top byte; transparent[i]
// is set where the pixel is fully transparent (its colour is then 0).
void RecoverAlpha(const std::uint32_t* onBlack, const std::uint32_t* onWhite, std::size_t count,
                  std::uint32_t* out, bool* transparent);
