#include "base/PathParts.h"

#include "base/TextRules.h"

namespace {
std::size_t NameStart(const std::wstring& path) {
    const std::size_t separator = path.find_last_of(L"\\:");
    return separator == std::wstring::npos ? 0 : separator + 1;
}
} // namespace

std::wstring ExtractFileExt(const std::wstring& path) {
    const std::size_t dot = path.rfind(L'.');
    if (dot == std::wstring::npos || dot < NameStart(path)) return {};
    return path.substr(dot);
}

std::wstring ExtractFilePath(const std::wstring& path) {
    return path.substr(0, NameStart(path));
}

std::wstring ExtractFileName(const std::wstring& path) {
    return path.substr(NameStart(path));
}

std::wstring FileNameWithoutExt(const std::wstring& path) {
    const std::wstring name = ExtractFileName(path);
    return name.substr(0, name.size() - ExtractFileExt(name).size());
}

std::wstring PlaceOfPath(const std::wstring& path) {
    std::wstring rest = path;
    if (rest.starts_with(L"\\\\?\\UNC\\"))
        rest = L"\\\\" + rest.substr(8);
    else if (rest.starts_with(L"\\\\?\\") || rest.starts_with(L"\\\\.\\"))
        rest = rest.substr(4);
    const bool drive = rest.size() >= 2 && rest[1] == L':' &&
                       ((rest[0] >= L'A' && rest[0] <= L'Z') || (rest[0] >= L'a' && rest[0] <= L'z'));
    if (drive) return UpperAscii(rest.substr(0, 2));
    if (!rest.starts_with(L"\\\\")) return {};
    // Server and share: the first two names after the two backslashes; a path without a share has none.
    const std::size_t server = rest.find(L'\\', 2);
    if (server == std::wstring::npos || server == 2 || server + 1 >= rest.size()) return {};
    const std::size_t share = rest.find(L'\\', server + 1);
    const std::wstring place = rest.substr(0, share);
    if (place.size() == server + 1) return {};
    return UpperAscii(place);
}
