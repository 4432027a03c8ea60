#include "ui/SpinRule.h"

#include <algorithm>
#include <cwctype>
#include <limits>

int SpinValue(int value, int minimum, int maximum) {
    if (minimum == maximum) return value;
    return std::clamp(value, std::min(minimum, maximum), std::max(minimum, maximum));
}

int SpinValueFromText(const std::wstring& text, int minimum) {
    std::size_t at = 0;
    while (at < text.size() && text[at] == L' ')
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == L'-' || text[at] == L'+')) negative = text[at++] == L'-';
    if (at >= text.size()) return minimum;
    long long value = 0;
    for (; at < text.size(); ++at) {
        if (text[at] < L'0' || text[at] > L'9') return minimum;
        value = value * 10 + (text[at] - L'0');
        if (value > std::numeric_limits<int>::max()) return minimum;
    }
    return static_cast<int>(negative ? -value : value);
}
