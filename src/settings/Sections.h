#pragma once
// Sections "eye" (the mascot and the program-wide options) and "btnform" (the panel's bounds).

#include "settings/Profile.h"

#include <cstdint>
#include <string>

inline const std::wstring kEyeSection = L"eye";
inline const std::wstring kPanelSection = L"btnform";
constexpr std::int32_t kDefaultMascotTop = 0;
constexpr std::int32_t kDefaultMascotLeft = 500;

// The options of section "eye" besides the mascot's position, named after their keys.
struct EyeOptions {
    std::int32_t LineMax = 6;
    std::wstring Startup;
    std::wstring PamuHide;
    std::wstring TPamuHide;
    std::wstring HintPos;
    std::int32_t TWall = 0;
    std::int32_t BWall = 0;
    std::int32_t LWall = 0;
    std::int32_t RWall = 0;
    std::wstring ApSc = L"Alt+A";
    std::wstring DApSc = L"Alt+Z";
    std::wstring Color = L"clYellow";
};

// A Color that names no colour reads as "clYellow".
EyeOptions ReadEyeOptions(const ProfileFile& file);
// Startup, LineMax, PamuHide, TPamuHide, HintPos, TWall, BWall, LWall, RWall, ApSc, DApSc, Color; Color as
// the canonical name of the colour it names.
void WriteEyeOptions(ProfileFile& file, const EyeOptions& options);

struct PanelBounds {
    std::int32_t left = 100;
    std::int32_t top = 100;
    std::int32_t width = 50;
    std::int32_t height = 50;
};
PanelBounds ReadPanelBounds(const ProfileFile& file);
void WritePanelBounds(ProfileFile& file, const PanelBounds& bounds);
