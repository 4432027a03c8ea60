#pragma once
// Sections "eye" (the mascot and the program-wide options) and "btnform" (the panel's bounds).

#include "settings/EyeOptions.h"
#include "settings/Profile.h"

#include <cstdint>
#include <string>

inline const std::wstring kEyeSection = L"eye";
inline const std::wstring kPanelSection = L"btnform";
constexpr std::int32_t kDefaultMascotTop = 0;
constexpr std::int32_t kDefaultMascotLeft = 500;

// From section "eye", read whole by the caller (which reads the mascot's place from it too).
EyeOptions ReadEyeOptions(const SectionValues& eye);
// Startup, LineMax, PamuHide, TPamuHide, HintPos, TWall, BWall, LWall, RWall, ApSc, DApSc, Color; Color as
// the canonical name of the colour.
void WriteEyeOptions(ProfileFile& file, const EyeOptions& options);

struct PanelBounds {
    std::int32_t left = 100;
    std::int32_t top = 100;
    std::int32_t width = 50;
    std::int32_t height = 50;
};
PanelBounds ReadPanelBounds(const ProfileFile& file);
void WritePanelBounds(ProfileFile& file, const PanelBounds& bounds);
