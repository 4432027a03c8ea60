#pragma once
// The version resource of a file: its translation and its string values.
// https://learn.microsoft.com/windows/win32/api/winver/nf-winver-verqueryvaluew

#include "base/Exception.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// With the system's error code when a read of the file failed; 0 when the resource lacks the value asked
// for (VerQueryValue tells no reason).
class EVerInfo : public Exception {
public:
    explicit EVerInfo(std::uint32_t systemError = 0);
};

class TVerInfo {
public:
    // Reads the whole version resource of the file and its first translation; EVerInfo when the file
    // is missing, has no version resource or no translation.
    explicit TVerInfo(const std::wstring& fileName);
    // ValuePtr points into Block: a copy would point into the other object's memory.
    TVerInfo(const TVerInfo&) = delete;
    TVerInfo& operator=(const TVerInfo&) = delete;
    TVerInfo(TVerInfo&&) = default;
    TVerInfo& operator=(TVerInfo&&) = default;

    // The text under a key such as L"\\StringFileInfo\\041103A4\\FileVersion", trimmed; EVerInfo when
    // the key does not exist.
    std::wstring QueryString(const std::wstring& key);
    std::wstring GetFileVersion();
    std::wstring MajorVersion();
    std::wstring MinorVersion();
    std::wstring ReleaseVersion();

    // The last value found by a query, inside Block, and its length (characters for a string).
    const void* ValuePtr = nullptr;
    UINT ValueLen = 0;
    std::int32_t BlockSize = 0;
    std::vector<BYTE> Block;
    // Four upper-case hexadecimal digits each, as the string table's block name spells them.
    std::wstring Language;
    std::wstring CodePage;
};
