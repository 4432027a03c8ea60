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
// The drive or share a path lies on, the unit in which a network share answers or does not: "C:" for
// "c:\x", "\\SERVER\SHARE" for "\\server\share\x", the same behind "\\?\" and "\\?\UNC\"; letters a to z
// in upper case. Empty for a path that names neither (a relative path, a bare name).
std::wstring PlaceOfPath(const std::wstring& path);
