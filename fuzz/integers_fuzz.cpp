// Integers of the settings file: any text parses or not without harm, and a number written back reads as
// itself.

#include "FuzzInput.h"
#include "settings/IniValues.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring text = WideText(data, size);
    if (const auto value = ParseIniInteger(text))
        FUZZ_CHECK(ParseIniInteger(IniIntegerText(*value)) == *value);
    FUZZ_CHECK(IniIntegerOr(text, 7) == ParseIniInteger(text).value_or(7));
    SettingsPathFor(text);
    return 0;
}
