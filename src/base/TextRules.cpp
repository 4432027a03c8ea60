#include "base/TextRules.h"

namespace {

wchar_t UpperAsciiChar(wchar_t c) {
    return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

} // namespace

std::wstring UpperAscii(std::wstring text) {
    for (wchar_t& c : text)
        c = UpperAsciiChar(c);
    return text;
}

bool SameTextIgnoringAsciiCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (UpperAsciiChar(a[i]) != UpperAsciiChar(b[i])) return false;
    return true;
}
