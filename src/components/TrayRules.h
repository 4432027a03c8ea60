#pragma once
// The rules of the notification-area icon that need no Windows: the tip text, the shell version from a
// file-version string, the rectangle of pointer positions seen over the icon, the mouse tracker that turns
// the shell's notifications into enter, exit and deferred single clicks, and the animation settings.

#include <cstdint>
#include <string>

// The callback message of every tray icon, and the tracker's own codes sent with it.
constexpr unsigned kTrayMessage = 1224; // WM_USER + 200
constexpr long kTrayMouseEntered = 1234;
constexpr long kTrayMouseLeft = 1235;
constexpr long kTrayClicked = 1236;
// The mouse messages the shell passes in lParam.
constexpr long kTrayMove = 512, kTrayLDown = 513, kTrayLUp = 514, kTrayLDouble = 515, kTrayRDown = 516,
               kTrayRUp = 517, kTrayRDouble = 518, kTrayMDown = 519, kTrayMUp = 520, kTrayMDouble = 521;

// Buttons as the tray numbers them: 0 left, 1 right, 2 middle.
constexpr int kTrayLeft = 0, kTrayRight = 1, kTrayMiddle = 2;

// Up to 127 characters with shell 5.0 or later; before, 63 and each CR LF made one blank.
std::wstring ClipTip(const std::wstring& text, bool shell5);

// Major in the high 16 bits, minor in the low: the first character, and the two at positions 3 and 4
// (counting from 1). 0 when either does not convert.
std::uint32_t ShellVersionFromFileVersion(const std::wstring& fileVersion);

struct TrayRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const TrayRect&) const = default;
};
// Grows the rectangle to take in the point; an all-zero rectangle becomes the point itself.
void GrowToInclude(TrayRect& rect, int x, int y);
// Edges count as inside.
bool Contains(const TrayRect& rect, int x, int y);

// What the tracker asks of its window.
class TrayTrackerHost {
public:
    virtual ~TrayTrackerHost() = default;
    virtual void CursorPos(int& x, int& y) = 0;
    // The click timer (the double-click time); false if it could not be started.
    virtual bool StartClickTimer() = 0;
    virtual void StopClickTimer() = 0;
    // The tray message to the icon's own window, handled before the call returns / queued.
    virtual void SendTray(long wParam, long lParam) = 0;
    virtual void PostTray(long wParam, long lParam) = 0;
    // The pointer came onto the icon (colours, the exit poll) / left it (colours).
    virtual void PointerEntered() = 0;
    virtual void PointerLeft() = 0;
};

// Sees every tray notification before the component does. Pointer enter and exit come from the moves
// the shell reports and from a poll of the pointer while it is inside; a single click is reported only
// once the click timer has run out without a double click.
class TrayMouseTracker {
public:
    explicit TrayMouseTracker(TrayTrackerHost& host) : host_(host) {}

    static constexpr std::uint8_t kInside = 1u << 3;
    bool CheckSingleDoubleClick = true;

    void TrayNotification(long wParam, long lParam);
    void ClickTimerExpired();
    // The exit poll: leaving the rectangle of positions seen so far counts as leaving the icon.
    void Poll();

    std::uint8_t MouseState() const { return mouseState_; }
    bool Inside() const { return (mouseState_ & kInside) != 0; }
    bool ClickPending() const { return clickPending_; }
    const TrayRect& CursorRect() const { return cursorRect_; }

private:
    void MouseEnter();
    void MouseExit();
    void ButtonUp(int button);
    void DoubleClick(int button);
    void ReportClick(int button);
    int PressedButton() const;

    TrayTrackerHost& host_;
    TrayRect cursorRect_;
    std::uint8_t mouseState_ = 0;
    bool clickPending_ = false;
};

// 1 to 49 ms become 50; 0 means no animation.
unsigned AnimationInterval(unsigned requested);
// A resource index set from outside: beyond the list the last entry (-1 for none), below 0 -1.
int ClampResourceIconID(int requested, int count);
// The entry after index, or the first after the last.
int NextResourceIconID(int index, int count);
