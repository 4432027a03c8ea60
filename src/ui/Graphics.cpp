#include "ui/Graphics.h"

#include "ui/DpiRules.h"

namespace ui {

COLORREF ColorToRGB(TColor color) {
    if (IsSystemColor(color)) return GetSysColor(SystemColorIndex(color));
    // clNone and clDefault carry flag bits above the colour; GDI would read them as palette requests.
    return static_cast<COLORREF>(color) & 0x00FFFFFF;
}

base::UniqueHfont CreateFormFont(const FontSpec& font, int dpi) {
    LOGFONTW lf{};
    lf.lfHeight = ScaleToDpi(font.height, dpi);
    lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = font.charset;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    lstrcpynW(lf.lfFaceName, font.face.c_str(), LF_FACESIZE);
    return base::UniqueHfont(CreateFontIndirectW(&lf));
}

} // namespace ui
