#include "components/ShortCutText.h"

#include "base/TextRules.h"

#include <array>
#include <string_view>

namespace {

constexpr std::array<std::wstring_view, 9> kSpaceToDown{L"Space", L"PgUp", L"PgDn",  L"End", L"Home",
                                                        L"Left",  L"Up",   L"Right", L"Down"};

bool StartsWithIgnoringCase(const std::wstring& text, std::size_t at, std::wstring_view prefix) {
    if (text.size() - at < prefix.size()) return false;
    return SameTextIgnoringAsciiCase(std::wstring_view(text).substr(at, prefix.size()), prefix);
}

} // namespace

std::wstring KeyName(unsigned key, const LayoutKeyName& layoutName) {
    switch (key) {
    case 0x08: return L"BkSp";
    case 0x09: return L"Tab";
    case 0x0D: return L"Enter";
    case 0x1B: return L"Esc";
    case 0x2D: return L"Ins";
    case 0x2E: return L"Del";
    default: break;
    }
    if (key >= 0x20 && key <= 0x28) return std::wstring(kSpaceToDown[key - 0x20]);
    if (key >= 0x30 && key <= 0x39) return std::wstring(1, static_cast<wchar_t>(L'0' + (key - 0x30)));
    if (key >= 0x60 && key <= 0x69) return std::wstring(1, static_cast<wchar_t>(L'0' + (key - 0x60)));
    if (key >= 0x41 && key <= 0x5A) return std::wstring(1, static_cast<wchar_t>(key));
    if (key >= 0x70 && key <= 0x87) return L"F" + std::to_wstring(key - 0x6F);
    return layoutName ? layoutName(key) : std::wstring();
}

std::wstring ShortCutToText(TShortCut shortCut, const LayoutKeyName& layoutName) {
    std::wstring name = KeyName(shortCut & 0xFFu, layoutName);
    if (name.empty()) return {};
    std::wstring text;
    if (shortCut & scShift) text += L"Shift+";
    if (shortCut & scCtrl) text += L"Ctrl+";
    if (shortCut & scAlt) text += L"Alt+";
    return text + name;
}

TShortCut TextToShortCut(const std::wstring& text, const LayoutKeyName& layoutName) {
    TShortCut modifiers = 0;
    std::size_t at = 0;
    for (;;) {
        if (StartsWithIgnoringCase(text, at, L"Shift+")) {
            modifiers |= scShift;
            at += 6;
        } else if (StartsWithIgnoringCase(text, at, L"Ctrl+")) {
            modifiers |= scCtrl;
            at += 5;
        } else if (StartsWithIgnoringCase(text, at, L"^")) {
            modifiers |= scCtrl;
            at += 1;
        } else if (StartsWithIgnoringCase(text, at, L"Alt+")) {
            modifiers |= scAlt;
            at += 4;
        } else {
            break;
        }
    }
    const std::wstring_view wanted = std::wstring_view(text).substr(at);
    // A bare "Alt+" names no key, even if some key of the layout has no name.
    if (wanted.empty()) return 0;
    for (unsigned key = 0x08; key <= 0xFF; ++key) {
        const std::wstring name = KeyName(key, layoutName);
        if (!name.empty() && SameTextIgnoringAsciiCase(name, wanted))
            return static_cast<TShortCut>(key | modifiers);
    }
    return 0;
}

std::wstring HeldKeyNote(const std::wstring& keyText) {
    return keyText + L" は他のプログラムが使用中です";
}

std::wstring HeldKeysMessage(const std::vector<std::wstring>& keyTexts) {
    std::wstring message;
    for (const std::wstring& text : keyTexts) {
        if (!message.empty()) message += L'\n';
        message += HeldKeyNote(text);
    }
    return message;
}

unsigned HotKeyModifiers(TShortCut shortCut) {
    // The values of winuser.h, which this file does without.
    constexpr unsigned kModAlt = 0x0001, kModControl = 0x0002, kModShift = 0x0004, kModNoRepeat = 0x4000;
    unsigned flags = kModNoRepeat;
    if (shortCut & scAlt) flags |= kModAlt;
    if (shortCut & scCtrl) flags |= kModControl;
    if (shortCut & scShift) flags |= kModShift;
    return flags;
}
