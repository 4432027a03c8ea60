#pragma once
// The parts of a file-version text such as "2.0.4.0", as the version box shows them. No Windows here.

#include <string>
#include <string_view>

// A part keeps this many characters; the rest of that part is dropped.
constexpr std::size_t kVersionPartMax = 10;
// Parts after the fourth are ignored.
constexpr int kVersionPartCount = 4;

// Removes blanks and control characters (U+0000 .. U+0020) from both ends.
std::wstring TrimBlanksAndControls(std::wstring_view text);

// Part index of a version cut at its dots: 0 major, 1 minor, 2 release, 3 build. A part is cut to
// kVersionPartMax characters first and then trimmed; a missing part (or an index outside 0..3) is empty.
std::wstring VersionPart(const std::wstring& version, int index);

// "Ver " + major + "." + minor + release: "2.0.4.0" gives "Ver 2.04".
std::wstring VersionText(const std::wstring& fileVersion);
