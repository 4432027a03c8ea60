#pragma once
// One launcher button as the settings file keeps it; an empty Program marks an unassigned button.

#include <cstdint>
#include <string>

struct ButtonRecord {
    std::wstring Program;       // "pg"
    std::wstring IconFile;      // "ic"
    std::int32_t IconIndex = 0; // "icidx", zero-based
    std::wstring Options;       // "op"
    std::wstring WorkFolder;    // "dr"
    std::wstring Hint;          // "lb"

    bool Assigned() const { return !Program.empty(); }
    bool operator==(const ButtonRecord&) const = default;
};

constexpr int kButtonCount = 30;
