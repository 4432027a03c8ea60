#include "settings/IniValues.h"

#include <algorithm>

namespace {

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

std::wstring_view TrimBlanks(std::wstring_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

int HexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

std::optional<std::uint32_t> ParseHex(std::wstring_view digits) {
    if (digits.empty()) return std::nullopt;
    std::uint64_t value = 0;
    for (wchar_t c : digits) {
        int d = HexDigit(c);
        if (d < 0) return std::nullopt;
        value = value * 16 + static_cast<unsigned>(d);
        if (value > 0xFFFFFFFFull) return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

} // namespace

std::optional<std::int32_t> ParseIniInteger(std::wstring_view text) {
    text = TrimBlanks(text);

    bool negative = false;
    if (!text.empty() && (text.front() == L'-' || text.front() == L'+')) {
        negative = text.front() == L'-';
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;

    std::optional<std::uint32_t> hex;
    if (text.front() == L'$') {
        hex = ParseHex(text.substr(1));
        if (!hex) return std::nullopt;
    } else if (text.size() > 2 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X')) {
        hex = ParseHex(text.substr(2));
        if (!hex) return std::nullopt;
    }
    if (hex) {
        // Unsigned arithmetic: hexadecimal wraps into the signed range.
        std::uint32_t bits = negative ? 0u - *hex : *hex;
        return static_cast<std::int32_t>(bits);
    }

    std::int64_t value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') return std::nullopt;
        value = value * 10 + (c - L'0');
        if (value > 2147483648LL) return std::nullopt;
    }
    if (negative) value = -value;
    if (value > 2147483647LL) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::int32_t IniIntegerOr(std::wstring_view text, std::int32_t fallback) {
    return ParseIniInteger(text).value_or(fallback);
}

std::wstring IniIntegerText(std::int32_t value) {
    return std::to_wstring(value);
}

std::wstring SettingsPathFor(std::wstring_view exePath) {
    std::size_t nameStart = exePath.find_last_of(L"\\/:");
    nameStart = nameStart == std::wstring_view::npos ? 0 : nameStart + 1;
    std::size_t dot = exePath.rfind(L'.');
    std::wstring path(exePath);
    if (dot != std::wstring_view::npos && dot >= nameStart) path.erase(dot);
    return path + L".Ini";
}

std::wstring ButtonSectionName(int number) {
    return L"btn" + std::to_wstring(number);
}

namespace {

wchar_t FoldAscii(wchar_t c) {
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

bool SameKey(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
    return true;
}

} // namespace

std::vector<IniEntry> ParseSectionBlock(std::wstring_view block) {
    std::vector<IniEntry> entries;
    while (!block.empty() && block.front() != L'\0') {
        const std::size_t end = std::min(block.find(L'\0'), block.size());
        const std::wstring_view line = block.substr(0, end);
        block.remove_prefix(std::min(end + 1, block.size()));
        const std::size_t equals = line.find(L'=');
        if (equals == std::wstring_view::npos) continue;
        const std::wstring_view key = TrimBlanks(line.substr(0, equals));
        if (!key.empty() && key.front() == L';') continue;
        entries.push_back({std::wstring(key), std::wstring(TrimBlanks(line.substr(equals + 1)))});
    }
    return entries;
}

std::optional<std::wstring> FindIniValue(const std::vector<IniEntry>& entries, std::wstring_view key) {
    for (const IniEntry& entry : entries) {
        if (!SameKey(entry.key, key)) continue;
        std::wstring_view value = entry.value;
        if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') &&
            value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        return std::wstring(value.substr(0, kIniTextMax));
    }
    return std::nullopt;
}
