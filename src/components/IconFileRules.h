#pragma once
// What an icon file's first bytes say about it, judged without Windows so that it is tested and fuzzed
// directly.

#include <cstddef>
#include <cstdint>

// An icon or cursor file (.ico, .cur) starts with a directory of its images. Whether that directory, as
// far as the first bytes show it, stays inside a file of fileSize bytes: the count of entries, and each
// entry's image. Other files (programs, libraries) are not judged here and count as sound.
// Bytes needed to judge a file: the directory of its first six bytes' count (at most 6 + 16 * 65535).
std::size_t IconDirectoryBytesNeeded(const std::uint8_t* head, std::size_t available);
bool IconDirectorySound(const std::uint8_t* head, std::size_t available, std::uint64_t fileSize);
