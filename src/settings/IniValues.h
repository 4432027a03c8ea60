#pragma once
// Text rules of the settings file: integers, the file's path, section names. No Windows here.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// One "key=value" line of a section, as the profile functions list a whole section.
struct IniEntry {
    std::wstring key;
    std::wstring value;
};

// The entries of a section block (lines each ended by a zero, the block by one more, as the profile
// functions return a section): comment lines and lines without "=" are left out, and spaces and tabs
// around keys and values dropped.
std::vector<IniEntry> ParseSectionBlock(std::wstring_view block);

// A key's value as the profile functions read a single key: the first entry of that key in any letter
// case, one pair of enclosing quotes (both ' or both ") removed, at most kIniTextMax characters.
// Nothing when the section has no such key.
std::optional<std::wstring> FindIniValue(const std::vector<IniEntry>& entries, std::wstring_view key);
