#include "components/TrayRules.h"

#include <algorithm>

std::wstring ClipTip(const std::wstring& text, bool shell5) {
    if (shell5) return text.substr(0, 127);
    std::wstring joined;
    joined.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') {
            joined += L' ';
            ++i;
        } else {
            joined += text[i];
        }
    }
    return joined.substr(0, 63);
}

namespace {

bool ParseDecimal(const std::wstring& digits, std::uint32_t& value) {
    if (digits.empty()) return false;
    value = 0;
    for (wchar_t c : digits) {
        if (c < L'0' || c > L'9') return false;
        value = value * 10 + static_cast<std::uint32_t>(c - L'0');
    }
    return true;
}

} // namespace

std::uint32_t ShellVersionFromFileVersion(const std::wstring& fileVersion) {
    std::uint32_t major = 0, minor = 0;
    if (!ParseDecimal(fileVersion.substr(0, 1), major)) return 0;
    if (fileVersion.size() < 3 || !ParseDecimal(fileVersion.substr(2, 2), minor)) return 0;
    return (major << 16) + minor;
}

void GrowToInclude(TrayRect& rect, int x, int y) {
    if (rect == TrayRect{}) {
        rect = {x, y, x, y};
        return;
    }
    rect.left = std::min(rect.left, x);
    rect.right = std::max(rect.right, x);
    rect.top = std::min(rect.top, y);
    rect.bottom = std::max(rect.bottom, y);
}

bool Contains(const TrayRect& rect, int x, int y) {
    return x >= rect.left && x <= rect.right && y >= rect.top && y <= rect.bottom;
}

void TrayMouseTracker::TrayNotification(long wParam, long lParam) {
    switch (lParam) {
    case kTrayMove: {
        int x = 0, y = 0;
        host_.CursorPos(x, y);
        GrowToInclude(cursorRect_, x, y);
        if (!Inside()) MouseEnter();
        break;
    }
    case kTrayLDown:
    case kTrayRDown:
    case kTrayMDown:
        // A press posted for a double click carries -1 and marks nothing.
        if (wParam >= 0) mouseState_ |= static_cast<std::uint8_t>(1u << ((lParam - kTrayLDown) / 3));
        break;
    case kTrayLUp:
    case kTrayRUp:
    case kTrayMUp: ButtonUp(static_cast<int>((lParam - kTrayLUp) / 3)); break;
    case kTrayLDouble:
    case kTrayRDouble:
    case kTrayMDouble: DoubleClick(static_cast<int>((lParam - kTrayLDouble) / 3)); break;
    default: break;
    }
}

void TrayMouseTracker::ClickTimerExpired() {
    host_.StopClickTimer();
    if (clickPending_) ReportClick(PressedButton());
}

void TrayMouseTracker::Poll() {
    if (!Inside()) return;
    int x = 0, y = 0;
    host_.CursorPos(x, y);
    if (!Contains(cursorRect_, x, y)) MouseExit();
}

void TrayMouseTracker::MouseEnter() {
    mouseState_ |= kInside;
    host_.PointerEntered();
    host_.SendTray(0, kTrayMouseEntered);
}

void TrayMouseTracker::MouseExit() {
    mouseState_ &= static_cast<std::uint8_t>(~kInside);
    host_.PointerLeft();
    host_.SendTray(0, kTrayMouseLeft);
}

void TrayMouseTracker::ButtonUp(int button) {
    if (!CheckSingleDoubleClick) {
        ReportClick(button);
        return;
    }
    if (clickPending_) return;
    if (host_.StartClickTimer()) clickPending_ = true;
}

void TrayMouseTracker::DoubleClick(int button) {
    clickPending_ = false;
    mouseState_ &= static_cast<std::uint8_t>(~(1u << button));
    host_.PostTray(-1, kTrayLDown + 3 * button);
}

void TrayMouseTracker::ReportClick(int button) {
    if (mouseState_ & (1u << button)) host_.SendTray(button, kTrayClicked);
    clickPending_ = false;
    mouseState_ &= static_cast<std::uint8_t>(~(1u << button));
}

int TrayMouseTracker::PressedButton() const {
    if (mouseState_ & 1u) return kTrayLeft;
    if (mouseState_ & 2u) return kTrayRight;
    return kTrayMiddle;
}

unsigned AnimationInterval(unsigned requested) {
    return requested >= 1 && requested <= 49 ? 50 : requested;
}

int ClampResourceIconID(int requested, int count) {
    if (requested >= count) return count - 1;
    if (requested < 0) return -1;
    return requested;
}

int NextResourceIconID(int index, int count) {
    return index + 1 < count ? index + 1 : 0;
}
