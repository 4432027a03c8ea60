#pragma once
// Hot-key shortcuts as 16-bit values and as the text the settings file stores ("Alt+A",
// "Shift+Ctrl+F5"); free of Windows. The names of keys outside the fixed table come from the keyboard
// layout, so the caller passes that lookup in.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Bits 0-12: the virtual-key code (only the low byte is named); 13 Shift, 14 Ctrl, 15 Alt. 0 is none.
using TShortCut = std::uint16_t;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
constexpr TShortCut kShortCutKeyMask = 0x1FFF;

// The keyboard layout's name for a key code, or empty when the key has none.
using LayoutKeyName = std::function<std::wstring(unsigned key)>;

// "Esc", "PgUp", "A", "F12", "0" (also for the numeric pad's 0), ...; other keys by the layout.
std::wstring KeyName(unsigned key, const LayoutKeyName& layoutName);
// The prefixes in the order Shift+, Ctrl+, Alt+, then the key's name; empty when the key has no name.
std::wstring ShortCutToText(TShortCut shortCut, const LayoutKeyName& layoutName);
// Any run of Shift+, Ctrl+, ^ and Alt+ (any case), then the first key from 0x08 upwards whose name
// matches (any case); 0 when none does.
TShortCut TextToShortCut(const std::wstring& text, const LayoutKeyName& layoutName);

// The modifier flags RegisterHotKey takes for a shortcut (MOD_ALT, MOD_CONTROL, MOD_SHIFT), and
// MOD_NOREPEAT: a key held down reports one press, not one per repeat.
unsigned HotKeyModifiers(TShortCut shortCut);

// What the user is told about a key another program holds: "Alt+A は他のプログラムが使用中です".
std::wstring HeldKeyNote(const std::wstring& keyText);
// The notes for several such keys, one a line; empty when there are none.
std::wstring HeldKeysMessage(const std::vector<std::wstring>& keyTexts);
