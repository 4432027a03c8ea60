// Colour names: any text gives a colour or none, and a colour's name reads back as that colour.

#include "FuzzInput.h"
#include "settings/ColorNames.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring text = WideText(data, size);
    if (const auto colour = ColorFromName(text)) FUZZ_CHECK(ColorFromName(ColorToName(*colour)) == *colour);
    if (size >= 4) {
        const auto raw = static_cast<TColor>(data[0] | (data[1] << 8) | (data[2] << 16) |
                                             (static_cast<std::uint32_t>(data[3]) << 24));
        FUZZ_CHECK(ColorFromName(ColorToName(raw)) == raw);
    }
    return 0;
}
