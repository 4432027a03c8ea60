#pragma once
// Parts of a Windows path, by the rules the program has always used; free of Windows.

#include <string>

// From the last "." that follows the last "\" or ":"; empty when there is none.
std::wstring ExtractFileExt(const std::wstring& path);
// Up to and including the last "\" or ":".
std::wstring ExtractFilePath(const std::wstring& path);
// After the last "\" or ":".
std::wstring ExtractFileName(const std::wstring& path);
// The file name with its extension removed.
std::wstring FileNameWithoutExt(const std::wstring& path);
