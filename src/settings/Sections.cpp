#include "settings/Sections.h"

#include "settings/ColorNames.h"

EyeOptions ReadEyeOptions(const SectionValues& eye) {
    const EyeOptions defaults;
    const auto edge = [&](const wchar_t* key, EdgeAction fallback) {
        return static_cast<EdgeAction>(eye.Integer(key, static_cast<std::int32_t>(fallback)));
    };
    EyeOptions o;
    o.LineMax = eye.Integer(L"LineMax", defaults.LineMax);
    o.Startup = YesNo::FromText(eye.Text(L"Startup", defaults.Startup.Text()));
    o.PamuHide = YesNo::FromText(eye.Text(L"PamuHide", defaults.PamuHide.Text()));
    o.TPamuHide = YesNo::FromText(eye.Text(L"TPamuHide", defaults.TPamuHide.Text()));
    o.HintPos = HintPlace::FromText(eye.Text(L"HintPos", defaults.HintPos.Text()));
    o.TWall = edge(L"TWall", defaults.TWall);
    o.BWall = edge(L"BWall", defaults.BWall);
    o.LWall = edge(L"LWall", defaults.LWall);
    o.RWall = edge(L"RWall", defaults.RWall);
    o.ApSc = eye.Text(L"ApSc", defaults.ApSc);
    o.DApSc = eye.Text(L"DApSc", defaults.DApSc);
    o.Color = ColorFromNameOr(eye.Text(L"Color"), defaults.Color);
    return o;
}

void WriteEyeOptions(ProfileFile& file, const EyeOptions& o) {
    const std::wstring& s = kEyeSection;
    file.WriteString(s, L"Startup", o.Startup.Text());
    file.WriteInteger(s, L"LineMax", o.LineMax);
    file.WriteString(s, L"PamuHide", o.PamuHide.Text());
    file.WriteString(s, L"TPamuHide", o.TPamuHide.Text());
    file.WriteString(s, L"HintPos", o.HintPos.Text());
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
    const SectionValues panel(file, kPanelSection);
    PanelBounds b;
    b.left = panel.Integer(L"left", defaults.left);
    b.top = panel.Integer(L"top", defaults.top);
    b.width = panel.Integer(L"width", defaults.width);
    b.height = panel.Integer(L"height", defaults.height);
    return b;
}

void WritePanelBounds(ProfileFile& file, const PanelBounds& b) {
    file.WriteInteger(kPanelSection, L"left", b.left);
    file.WriteInteger(kPanelSection, L"top", b.top);
    file.WriteInteger(kPanelSection, L"width", b.width);
    file.WriteInteger(kPanelSection, L"height", b.height);
}
