#include "settings/ColorNames.h"

#include "base/TextRules.h"
#include "settings/IniValues.h"

#include <array>

namespace {

struct NamedColor {
    std::wstring_view name;
    TColor value;
};

constexpr std::array kNamedColors = {
    NamedColor{L"clBlack", clBlack},
    NamedColor{L"clMaroon", clMaroon},
    NamedColor{L"clGreen", clGreen},
    NamedColor{L"clOlive", clOlive},
    NamedColor{L"clNavy", clNavy},
    NamedColor{L"clPurple", clPurple},
    NamedColor{L"clTeal", clTeal},
    NamedColor{L"clGray", clGray},
    NamedColor{L"clSilver", clSilver},
    NamedColor{L"clRed", clRed},
    NamedColor{L"clLime", clLime},
    NamedColor{L"clYellow", clYellow},
    NamedColor{L"clBlue", clBlue},
    NamedColor{L"clFuchsia", clFuchsia},
    NamedColor{L"clAqua", clAqua},
    NamedColor{L"clWhite", clWhite},
    NamedColor{L"clMoneyGreen", clMoneyGreen},
    NamedColor{L"clSkyBlue", clSkyBlue},
    NamedColor{L"clCream", clCream},
    NamedColor{L"clMedGray", clMedGray},
    NamedColor{L"clScrollBar", SystemColor(0)},
    NamedColor{L"clBackground", SystemColor(1)},
    NamedColor{L"clActiveCaption", SystemColor(2)},
    NamedColor{L"clInactiveCaption", SystemColor(3)},
    NamedColor{L"clMenu", SystemColor(4)},
    NamedColor{L"clWindow", SystemColor(5)},
    NamedColor{L"clWindowFrame", SystemColor(6)},
    NamedColor{L"clMenuText", SystemColor(7)},
    NamedColor{L"clWindowText", SystemColor(8)},
    NamedColor{L"clCaptionText", SystemColor(9)},
    NamedColor{L"clActiveBorder", SystemColor(10)},
    NamedColor{L"clInactiveBorder", SystemColor(11)},
    NamedColor{L"clAppWorkSpace", SystemColor(12)},
    NamedColor{L"clHighlight", SystemColor(13)},
    NamedColor{L"clHighlightText", SystemColor(14)},
    NamedColor{L"clBtnFace", SystemColor(15)},
    NamedColor{L"clBtnShadow", SystemColor(16)},
    NamedColor{L"clGrayText", SystemColor(17)},
    NamedColor{L"clBtnText", SystemColor(18)},
    NamedColor{L"clInactiveCaptionText", SystemColor(19)},
    NamedColor{L"clBtnHighlight", SystemColor(20)},
    NamedColor{L"cl3DDkShadow", SystemColor(21)},
    NamedColor{L"cl3DLight", SystemColor(22)},
    NamedColor{L"clInfoText", SystemColor(23)},
    NamedColor{L"clInfoBk", SystemColor(24)},
    NamedColor{L"clHotLight", SystemColor(26)},
    NamedColor{L"clGradientActiveCaption", SystemColor(27)},
    NamedColor{L"clGradientInactiveCaption", SystemColor(28)},
    NamedColor{L"clMenuHighlight", SystemColor(29)},
    NamedColor{L"clMenuBar", SystemColor(30)},
    NamedColor{L"clNone", clNone},
    NamedColor{L"clDefault", clDefault},
};

} // namespace

std::optional<TColor> ColorFromName(std::wstring_view text) {
    for (const auto& named : kNamedColors)
        if (SameTextIgnoringAsciiCase(named.name, text)) return named.value;
    return ParseIniInteger(text);
}

TColor ColorFromNameOr(std::wstring_view text, TColor fallback) {
    return ColorFromName(text).value_or(fallback);
}

std::wstring ColorToName(TColor color) {
    for (const auto& named : kNamedColors)
        if (named.value == color) return std::wstring(named.name);
    static constexpr wchar_t kDigits[] = L"0123456789ABCDEF";
    std::wstring text = L"$";
    auto bits = static_cast<std::uint32_t>(color);
    for (int shift = 28; shift >= 0; shift -= 4)
        text += kDigits[(bits >> shift) & 0xF];
    return text;
}
