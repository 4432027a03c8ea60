#pragma once
// Case rules for text that the program compares as names (colour names, key names, file extensions);
// free of Windows. Only the letters a to z have a case here, whatever the user's locale.

#include <string>
#include <string_view>

// Upper case for the letters a to z only.
std::wstring UpperAscii(std::wstring text);
// Equal when the texts differ at most in the case of the letters a to z.
bool SameTextIgnoringAsciiCase(std::wstring_view a, std::wstring_view b);
