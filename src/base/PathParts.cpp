#include "base/PathParts.h"

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
