#pragma once
// The program-wide options of section "eye", named after their keys, with the types they mean. Free of
// Windows: the rules that read them are tested directly.

#include "base/Color.h"

#include <cstdint>
#include <string>

// What touching a screen edge does. The file may hold any number; those without a name do nothing, and
// are written back as they were read.
enum class EdgeAction : std::int32_t { HidePanel = 0, ShowPanel = 1, Nothing = 2 };

struct EyeOptions {
    std::int32_t LineMax = 6;
    std::wstring Startup;
    std::wstring PamuHide;
    std::wstring TPamuHide;
    std::wstring HintPos;
    EdgeAction TWall = EdgeAction::HidePanel;
    EdgeAction BWall = EdgeAction::HidePanel;
    EdgeAction LWall = EdgeAction::HidePanel;
    EdgeAction RWall = EdgeAction::HidePanel;
    std::wstring ApSc = L"Alt+A";
    std::wstring DApSc = L"Alt+Z";
    // A stored name that names no colour reads as yellow.
    TColor Color = clYellow;
};
