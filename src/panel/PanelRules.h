#pragma once
// Grid and sizing rules of the launcher panel, kept free of Windows so they can be tested directly.

#include <cstddef>
#include <cstdint>
#include "settings/ButtonRecord.h"

#include <string>
#include <vector>

// "1".."9" for buttons 1..9, then "A".."U" for 10..30.
std::wstring ButtonCaption(int number);

// The button a typed character selects: "1".."9" give 1..9, "A".."U" and "a".."u" give 10..30; 0 for any
// other character.
int ButtonForKey(wchar_t key);
// The button a key selects by its virtual-key code, when held Ctrl makes no character of it: the codes of
// "1".."9" and "A".."U" only (lower-case letters' codes are other keys: F1, the numeric pad's signs).
int ButtonForKeyCode(unsigned keyCode);

// Rows shown at once: the tool bar's rows, at most lineMax, and at least one.
int VisibleRows(int toolBarRows, int lineMax);
// Outer height the show handler asks for.
int PanelShowHeight(int visibleRows, int buttonHeight, int frameHeight);
// Minimum and maximum tracking height: two pixels more than the show height.
int PanelTrackHeight(int visibleRows, int buttonHeight, int frameHeight);

// Non-client hit codes: top and bottom edges do nothing, corners size the width only.
int MapPanelHitTest(int code);

// What files dropped on a button do: a free button registers the first of them, as a drop on the mascot
// does; a button that starts a program opens them with it; a document or a folder (shown in Explorer)
// takes no drop.
enum class PanelDrop { Register, OpenWith, None };
PanelDrop DropOn(const ButtonRecord& record);
// A program's options followed by each file in double quotes, as a program opened with files expects.
std::wstring OpenWithParameters(const std::wstring& options, const std::vector<std::wstring>& files);

// Launches that have been asked for and not yet answered (the program may lie on a share that takes
// minutes). A button starts at most once until its answer comes, and the answer hides the panel only when
// nothing has asked for the panel since the click: no show of any kind and no edit mode.
class PendingLaunches {
public:
    // The panel's count of show requests and modes begun, as it stands at the click.
    // False, and nothing is noted, while the button's launch is still pending.
    bool Begin(int number, std::uint64_t occasions);
    // The button's answer came, with the count as it stands now: true when the panel is to hide.
    bool End(int number, std::uint64_t occasions);
    bool Any() const { return count_ > 0; }

private:
    static constexpr int kSlots = 31; // buttons 1..30
    std::uint64_t occasionAt_[kSlots] = {};
    bool pending_[kSlots] = {};
    int count_ = 0;
};
