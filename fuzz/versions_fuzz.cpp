// Version texts and the shell's version string: any text gives bounded parts without harm.

#include "FuzzInput.h"
#include "components/TrayRules.h"
#include "components/VersionParts.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring text = WideText(data, size);
    for (int index = -1; index <= kVersionPartCount; ++index)
        FUZZ_CHECK(VersionPart(text, index).size() <= kVersionPartMax);
    FUZZ_CHECK(VersionText(text).size() <= 5 + 3 * kVersionPartMax); // "Ver " and the dot
    const std::wstring trimmed = TrimBlanksAndControls(text);
    FUZZ_CHECK(trimmed.empty() || (trimmed.front() > L' ' && trimmed.back() > L' '));
    ShellVersionFromFileVersion(text);
    FUZZ_CHECK(ClipTip(text, true).size() <= 127);
    FUZZ_CHECK(ClipTip(text, false).size() <= 63);
    return 0;
}
