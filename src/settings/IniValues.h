#pragma once
// Text rules of the settings file: integers, the file's path, section names. No Windows here.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Longest text a read returns; a longer stored value is cut there.
constexpr std::size_t kIniTextMax = 2047;

// Decimal with an optional sign, "$" hexadecimal, or "0x"/"0X" hexadecimal longer than the prefix.
// Hexadecimal takes the full 32 bits ("$FFFFFFFF" is -1); anything else is no integer.
std::optional<std::int32_t> ParseIniInteger(std::wstring_view text);
std::int32_t IniIntegerOr(std::wstring_view text, std::int32_t fallback);
std::wstring IniIntegerText(std::int32_t value);

// The executable's path with the extension of its file name replaced by ".Ini" (appended when it has none).
std::wstring SettingsPathFor(std::wstring_view exePath);

// "btn1" .. "btn30".
std::wstring ButtonSectionName(int number);
