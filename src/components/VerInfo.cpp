#include "components/VerInfo.h"

#include "components/VersionParts.h"

#include <string_view>

namespace {

std::wstring Hex4(WORD value) {
    static constexpr wchar_t kDigits[] = L"0123456789ABCDEF";
    std::wstring text(4, L'0');
    for (int i = 3; i >= 0; --i, value >>= 4)
        text[i] = kDigits[value & 0xF];
    return text;
}

} // namespace

EVerInfo::EVerInfo(std::uint32_t systemError) : Exception(L"バージョン情報が取得できません.", systemError) {}

TVerInfo::TVerInfo(const std::wstring& fileName) {
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeW(fileName.c_str(), &ignored);
    if (size == 0) throw EVerInfo(GetLastError());
    BlockSize = static_cast<std::int32_t>(size);
    Block.resize(size);
    if (!GetFileVersionInfoW(fileName.c_str(), 0, size, Block.data())) throw EVerInfo(GetLastError());

    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(Block.data(), L"\\VarFileInfo\\Translation", &value, &length) || length < 4)
        throw EVerInfo();
    ValuePtr = value;
    ValueLen = length;
    // Each entry is a language word followed by a code-page word; the first entry names the string table.
    const auto* words = static_cast<const WORD*>(value);
    Language = Hex4(words[0]);
    CodePage = Hex4(words[1]);
}

std::wstring TVerInfo::QueryString(const std::wstring& key) {
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(Block.data(), key.c_str(), &value, &length)) throw EVerInfo();
    ValuePtr = value;
    ValueLen = length;
    if (length == 0 || value == nullptr) return {};
    // The reported length may or may not count the terminating zero; take neither it nor what follows.
    const auto* chars = static_cast<const wchar_t*>(value);
    std::size_t count = 0;
    while (count < length && chars[count] != L'\0')
        ++count;
    return TrimBlanksAndControls(std::wstring_view(chars, count));
}

std::wstring TVerInfo::GetFileVersion() {
    return QueryString(L"\\StringFileInfo\\" + Language + CodePage + L"\\FileVersion");
}

std::wstring TVerInfo::MajorVersion() {
    return VersionPart(GetFileVersion(), 0);
}

std::wstring TVerInfo::MinorVersion() {
    return VersionPart(GetFileVersion(), 1);
}

std::wstring TVerInfo::ReleaseVersion() {
    return VersionPart(GetFileVersion(), 2);
}
