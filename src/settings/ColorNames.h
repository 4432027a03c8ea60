#pragma once
// Colour names as stored in the settings file: an identifier such as "clYellow", else "$" and
// eight upper-case hexadecimal digits.

#include "base/Color.h"

#include <optional>
#include <string>
#include <string_view>

// An identifier (any case) or a number (decimal, "$" or "0x" hexadecimal); nullopt for anything else.
std::optional<TColor> ColorFromName(std::wstring_view text);
TColor ColorFromNameOr(std::wstring_view text, TColor fallback);
std::wstring ColorToName(TColor color);
