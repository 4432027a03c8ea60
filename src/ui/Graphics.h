#pragma once
// Colours and fonts as the forms use them.

#include "base/Color.h"
#include "base/Handles.h"

#include <string>

namespace ui {

// A system colour through GetSysColor; otherwise the low three bytes as they stand.
COLORREF ColorToRGB(TColor color);

struct FontSpec {
    std::wstring face = L"ＭＳ Ｐゴシック";
    int height = -12;
    BYTE charset = SHIFTJIS_CHARSET;
    bool bold = false;
};
// The height is in 96-DPI units and is scaled to dpi.
base::UniqueHfont CreateFormFont(const FontSpec& font, int dpi = 96);

} // namespace ui
