#include "settings/Sections.h"

#include "settings/ColorNames.h"

EyeOptions ReadEyeOptions(const ProfileFile& file) {
    const EyeOptions defaults;
    const std::wstring& s = kEyeSection;
    EyeOptions o;
    o.LineMax = file.ReadInteger(s, L"LineMax", defaults.LineMax);
    o.Startup = file.ReadString(s, L"Startup", defaults.Startup);
    o.PamuHide = file.ReadString(s, L"PamuHide", defaults.PamuHide);
    o.TPamuHide = file.ReadString(s, L"TPamuHide", defaults.TPamuHide);
    o.HintPos = file.ReadString(s, L"HintPos", defaults.HintPos);
    o.TWall =
        static_cast<EdgeAction>(file.ReadInteger(s, L"TWall", static_cast<std::int32_t>(defaults.TWall)));
    o.BWall =
        static_cast<EdgeAction>(file.ReadInteger(s, L"BWall", static_cast<std::int32_t>(defaults.BWall)));
    o.LWall =
        static_cast<EdgeAction>(file.ReadInteger(s, L"LWall", static_cast<std::int32_t>(defaults.LWall)));
    o.RWall =
        static_cast<EdgeAction>(file.ReadInteger(s, L"RWall", static_cast<std::int32_t>(defaults.RWall)));
    o.ApSc = file.ReadString(s, L"ApSc", defaults.ApSc);
    o.DApSc = file.ReadString(s, L"DApSc", defaults.DApSc);
    o.Color = ColorFromNameOr(file.ReadString(s, L"Color", L""), defaults.Color);
    return o;
}

void WriteEyeOptions(ProfileFile& file, const EyeOptions& o) {
    const std::wstring& s = kEyeSection;
    file.WriteString(s, L"Startup", o.Startup);
    file.WriteInteger(s, L"LineMax", o.LineMax);
    file.WriteString(s, L"PamuHide", o.PamuHide);
    file.WriteString(s, L"TPamuHide", o.TPamuHide);
    file.WriteString(s, L"HintPos", o.HintPos);
    file.WriteInteger(s, L"TWall", static_cast<std::int32_t>(o.TWall));
    file.WriteInteger(s, L"BWall", static_cast<std::int32_t>(o.BWall));
    file.WriteInteger(s, L"LWall", static_cast<std::int32_t>(o.LWall));
    file.WriteInteger(s, L"RWall", static_cast<std::int32_t>(o.RWall));
    file.WriteString(s, L"ApSc", o.ApSc);
    file.WriteString(s, L"DApSc", o.DApSc);
    file.WriteString(s, L"Color", ColorToName(o.Color));
}

PanelBounds ReadPanelBounds(const ProfileFile& file) {
    const PanelBounds defaults;
    PanelBounds b;
    b.left = file.ReadInteger(kPanelSection, L"left", defaults.left);
    b.top = file.ReadInteger(kPanelSection, L"top", defaults.top);
    b.width = file.ReadInteger(kPanelSection, L"width", defaults.width);
    b.height = file.ReadInteger(kPanelSection, L"height", defaults.height);
    return b;
}

void WritePanelBounds(ProfileFile& file, const PanelBounds& b) {
    file.WriteInteger(kPanelSection, L"left", b.left);
    file.WriteInteger(kPanelSection, L"top", b.top);
    file.WriteInteger(kPanelSection, L"width", b.width);
    file.WriteInteger(kPanelSection, L"height", b.height);
}
