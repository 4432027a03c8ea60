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
// minutes). A start belongs to the item it starts, not to the button: the item starts at most once until
// its answer comes, wherever a swap moves it; a button given another item starts that one at once. The
// answer hides the panel only when nothing has asked for the panel since the click: no show of any kind
// and no edit mode. Files dropped on an item while it starts wait for its answer, then open with it.
class PendingLaunches {
public:
    // The start of button number's item, with the panel's count of show requests and modes begun as it
    // stands at the click: its ticket, which its answer brings back; 0, and nothing noted, while that item
    // is still starting.
    unsigned Begin(int number, std::uint64_t occasions);
    // Files dropped on the button while its item starts; false when it is not starting.
    bool Queue(int number, std::vector<std::wstring> files);
    struct Ended {
        bool hide = false; // nothing has asked for the panel since the click
        int number = 0;    // the button the item is on now; 0 when it is gone from the panel
        std::vector<std::vector<std::wstring>> dropped; // the files dropped on it meanwhile
    };
    // The answer of a start, with the count as it stands now.
    Ended End(unsigned ticket, std::uint64_t occasions);
    // The two buttons exchanged their items: each start goes with its item.
    void Swap(int a, int b);
    // The button holds another item now: the start of the one it held goes on without it.
    void Release(int number);
    // Whether the button's item is starting.
    bool Pending(int number) const;
    bool Any() const { return !starts_.empty(); }

private:
    struct Start {
        unsigned ticket;
        int number;
        std::uint64_t occasions;
        std::vector<std::vector<std::wstring>> dropped;
    };
    std::vector<Start> starts_;
    unsigned lastTicket_ = 0;
};
