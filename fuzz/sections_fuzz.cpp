// Sections of the settings file read in one go: any block splits into entries without harm, every
// entry's key is found again, and no value found is longer than a single read would give.

#include "FuzzInput.h"
#include "settings/IniValues.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring block = WideText(data, size);
    const std::vector<IniEntry> entries = ParseSectionBlock(block);
    for (const IniEntry& entry : entries) {
        FUZZ_CHECK(entry.key.find(L'=') == std::wstring::npos);
        const auto value = FindIniValue(entries, entry.key);
        FUZZ_CHECK(value.has_value());
        FUZZ_CHECK(value->size() <= kIniTextMax);
    }
    for (const wchar_t* key : {L"pg", L"ic", L"icidx", L"op", L"dr", L"lb"})
        if (const auto value = FindIniValue(entries, key)) FUZZ_CHECK(value->size() <= kIniTextMax);
    return 0;
}
