#pragma once
// The program-wide options of section "eye", named after their keys, with the types they mean. Free of
// Windows: the rules that read them are tested directly.

#include "base/Color.h"

#include <cstdint>
#include <string>
#include <utility>

// An option stored as a word: the word that turns it on ("Yes", "pamu") and the one written to turn it off
// ("No", "Hyokota"). The words are compared exactly; any other text the file holds (empty, "yes") counts as
// off and is written back as it was until the option is set.
template <const wchar_t* OnWord, const wchar_t* OffWord> class WordOption {
public:
    WordOption() = default;
    static WordOption FromText(std::wstring text) {
        WordOption option;
        option.text_ = std::move(text);
        return option;
    }
    static WordOption Of(bool on) { return FromText(on ? OnWord : OffWord); }
    bool On() const { return text_ == OnWord; }
    const std::wstring& Text() const { return text_; }
    bool operator==(const WordOption&) const = default;

private:
    std::wstring text_;
};

inline constexpr wchar_t kYesWord[] = L"Yes", kNoWord[] = L"No";
inline constexpr wchar_t kAtMascotWord[] = L"pamu", kAtPanelWord[] = L"Hyokota";
using YesNo = WordOption<kYesWord, kNoWord>;
// Where hints show: "pamu" beside the mascot; "Hyokota" (or anything else) where the system puts them.
using HintPlace = WordOption<kAtMascotWord, kAtPanelWord>;

// What touching a screen edge does. The file may hold any number; those without a name do nothing, and
// are written back as they were read.
enum class EdgeAction : std::int32_t { HidePanel = 0, ShowPanel = 1, Nothing = 2 };

struct EyeOptions {
    std::int32_t LineMax = 6;
    YesNo Startup;
    YesNo PamuHide;
    YesNo TPamuHide;
    HintPlace HintPos;
    EdgeAction TWall = EdgeAction::HidePanel;
    EdgeAction BWall = EdgeAction::HidePanel;
    EdgeAction LWall = EdgeAction::HidePanel;
    EdgeAction RWall = EdgeAction::HidePanel;
    std::wstring ApSc = L"Alt+A";
    std::wstring DApSc = L"Alt+Z";
    // A stored name that names no colour reads as yellow.
    TColor Color = clYellow;
    bool operator==(const EyeOptions&) const = default;
};
