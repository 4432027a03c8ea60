#include "settings/ProfileText.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace {

void AppendUnit(std::string& bytes, std::uint32_t unit) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>((unit >> 8) & 0xFF));
}

} // namespace

bool IsUnicodeProfile(std::string_view bytes) {
    return bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE';
}

std::optional<std::string> UnicodeProfileBytes(std::string_view bytes,
                                               const std::function<std::wstring(std::string_view)>& decode) {
    if (IsUnicodeProfile(bytes)) return std::nullopt;
    const std::wstring text = decode(bytes);
    std::string unicode = "\xFF\xFE";
    unicode.reserve(2 + 2 * text.size());
    for (const wchar_t c : text) {
        const auto point = static_cast<std::uint32_t>(c);
        // Where wchar_t holds whole code points, those beyond the first plane become surrogate pairs.
        if (point > 0xFFFF) {
            AppendUnit(unicode, 0xD800 + ((point - 0x10000) >> 10));
            AppendUnit(unicode, 0xDC00 + ((point - 0x10000) & 0x3FF));
        } else {
            AppendUnit(unicode, point);
        }
    }
    return unicode;
}

FitTest FitTestFor(unsigned codePage) {
    constexpr unsigned kWithoutReport[] = {42, 50220, 50221, 50222, 50225, 50227, 50229, 54936, 65000, 65001};
    const bool iscii = codePage >= 57002 && codePage <= 57011;
    if (iscii ||
        std::find(std::begin(kWithoutReport), std::end(kWithoutReport), codePage) != std::end(kWithoutReport))
        return FitTest::RoundTrip;
    return FitTest::UsedDefaultChar;
}

unsigned long AttributesAfterSave(unsigned long before) {
    // Only what SetFileAttributesW sets: read-only, hidden, system, archive, temporary, offline, not
    // indexed. The others (compressed, encrypted, ...) are the file system's to keep.
    constexpr unsigned long kSettable = 0x1 | 0x2 | 0x4 | 0x20 | 0x100 | 0x1000 | 0x2000, kArchive = 0x20;
    return (before & kSettable) | kArchive;
}
