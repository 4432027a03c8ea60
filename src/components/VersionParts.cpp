#include "components/VersionParts.h"

namespace {

bool IsBlankOrControl(wchar_t c) {
    return c <= L' ';
}

} // namespace

std::wstring TrimBlanksAndControls(std::wstring_view text) {
    while (!text.empty() && IsBlankOrControl(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlankOrControl(text.back()))
        text.remove_suffix(1);
    return std::wstring(text);
}

std::wstring VersionPart(const std::wstring& version, int index) {
    if (index < 0 || index >= kVersionPartCount) return {};
    int current = 0;
    std::wstring part;
    for (wchar_t c : version) {
        if (c == L'.') {
            if (++current > index) break;
            continue;
        }
        if (current == index && part.size() < kVersionPartMax) part += c;
    }
    return TrimBlanksAndControls(part);
}

std::wstring VersionText(const std::wstring& fileVersion) {
    return L"Ver " + VersionPart(fileVersion, 0) + L"." + VersionPart(fileVersion, 1) +
           VersionPart(fileVersion, 2);
}
