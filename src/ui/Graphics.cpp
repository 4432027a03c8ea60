#include "ui/Graphics.h"

#include "ui/DpiRules.h"
#include "ui/Language.h"

namespace ui {

namespace {

// The face of the system's message font (Segoe UI on Windows): English forms use it in place of the
// Japanese one they were designed with.
std::wstring MessageFontFace() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) return L"Segoe UI";
    return metrics.lfMessageFont.lfFaceName;
}

} // namespace

COLORREF ColorToRGB(TColor color) {
    if (IsSystemColor(color)) return GetSysColor(SystemColorIndex(color));
    // clNone and clDefault carry flag bits above the colour; GDI would read them as palette requests.
    return static_cast<COLORREF>(color) & 0x00FFFFFF;
}

base::UniqueHfont CreateFormFont(const FontSpec& font, int dpi) {
    LOGFONTW lf{};
    lf.lfHeight = ScaleToDpi(font.height, dpi);
    lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    const bool english = ProgramLanguage() == Language::English && font.face == FontSpec{}.face;
    lf.lfCharSet = english ? DEFAULT_CHARSET : font.charset;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    lstrcpynW(lf.lfFaceName, english ? MessageFontFace().c_str() : font.face.c_str(), LF_FACESIZE);
    return base::UniqueHfont(CreateFontIndirectW(&lf));
}

} // namespace ui
