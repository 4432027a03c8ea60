// Hot-key texts: any text reads as a shortcut value or 0, and a value's text reads back as that value
// (the numeric pad's digits read as the main row's).

#include "FuzzInput.h"
#include "components/ShortCutText.h"

namespace {
std::wstring Layout(unsigned key) {
    switch (key) {
    case 0x14: return L"Caps Lock";
    case 0x6A: return L"Num *";
    case 0xBA: return L";";
    default: return {};
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring text = WideText(data, size);
    const TShortCut value = TextToShortCut(text, Layout);
    if (value != 0) {
        const std::wstring written = ShortCutToText(value, Layout);
        FUZZ_CHECK(!written.empty());
        FUZZ_CHECK(TextToShortCut(written, Layout) == value);
    }
    if (size >= 2) {
        const auto raw = static_cast<TShortCut>(data[0] | (data[1] << 8));
        const std::wstring written = ShortCutToText(raw, Layout);
        if (!written.empty()) FUZZ_CHECK((TextToShortCut(written, Layout) & 0xE000) == (raw & 0xE000));
    }
    return 0;
}
