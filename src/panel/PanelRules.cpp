#include "panel/PanelRules.h"

#include "base/PathParts.h"
#include "base/TextRules.h"

#include <algorithm>

namespace {
// The Windows hit-test codes, repeated here so that this file needs no Windows header.
constexpr int kHtNowhere = 0, kHtLeft = 10, kHtRight = 11, kHtTop = 12, kHtTopLeft = 13, kHtTopRight = 14,
              kHtBottom = 15, kHtBottomLeft = 16, kHtBottomRight = 17;
} // namespace

std::wstring ButtonCaption(int number) {
    if (number >= 1 && number <= 9) return std::wstring(1, static_cast<wchar_t>(L'0' + number));
    if (number >= 10 && number <= 30) return std::wstring(1, static_cast<wchar_t>(L'A' + number - 10));
    return {};
}

int ButtonForKey(wchar_t key) {
    if (key >= L'1' && key <= L'9') return key - L'0';
    if (key >= L'A' && key <= L'U') return 10 + (key - L'A');
    if (key >= L'a' && key <= L'u') return 10 + (key - L'a');
    return 0;
}

int ButtonForKeyCode(unsigned keyCode) {
    const bool digit = keyCode >= '1' && keyCode <= '9', letter = keyCode >= 'A' && keyCode <= 'U';
    return digit || letter ? ButtonForKey(static_cast<wchar_t>(keyCode)) : 0;
}

int VisibleRows(int toolBarRows, int lineMax) {
    return std::max(1, std::min(toolBarRows, lineMax));
}

int PanelShowHeight(int visibleRows, int buttonHeight, int frameHeight) {
    return visibleRows * buttonHeight + frameHeight;
}

int PanelTrackHeight(int visibleRows, int buttonHeight, int frameHeight) {
    return PanelShowHeight(visibleRows, buttonHeight, frameHeight) + 2;
}

int MapPanelHitTest(int code) {
    switch (code) {
    case kHtTop:
    case kHtBottom: return kHtNowhere;
    case kHtTopLeft:
    case kHtBottomLeft: return kHtLeft;
    case kHtTopRight:
    case kHtBottomRight: return kHtRight;
    default: return code;
    }
}

unsigned PendingLaunches::Begin(int number, std::uint64_t occasions) {
    if (number < 1 || number > kButtonCount || Pending(number)) return 0;
    // Never 0, which says that nothing started.
    if (++lastTicket_ == 0) ++lastTicket_;
    starts_.push_back({lastTicket_, number, occasions, {}});
    return lastTicket_;
}

bool PendingLaunches::Queue(int number, std::vector<std::wstring> files) {
    for (Start& start : starts_)
        if (number != 0 && start.number == number) {
            start.dropped.push_back(std::move(files));
            return true;
        }
    return false;
}

PendingLaunches::Ended PendingLaunches::End(unsigned ticket, std::uint64_t occasions) {
    const auto start = std::find_if(starts_.begin(), starts_.end(), [&](const Start& s) { return s.ticket == ticket; });
    if (start == starts_.end()) return {};
    Ended ended{occasions == start->occasions, start->number, std::move(start->dropped)};
    starts_.erase(start);
    return ended;
}

void PendingLaunches::Swap(int a, int b) {
    for (Start& start : starts_) {
        if (start.number == a)
            start.number = b;
        else if (start.number == b)
            start.number = a;
    }
}

void PendingLaunches::Release(int number) {
    for (Start& start : starts_)
        if (number != 0 && start.number == number) start.number = 0;
}

bool PendingLaunches::Pending(int number) const {
    return number != 0 &&
           std::any_of(starts_.begin(), starts_.end(), [&](const Start& s) { return s.number == number; });
}

PanelDrop DropOn(const ButtonRecord& record) {
    if (!record.Assigned()) return PanelDrop::Register;
    if (!SameTextIgnoringAsciiCase(ExtractFileExt(record.Program), L".EXE")) return PanelDrop::None;
    // A folder is registered as Explorer rooted at it (its options name the folder).
    const bool folder = SameTextIgnoringAsciiCase(ExtractFileName(record.Program), L"Explorer.exe") &&
                        !record.Options.empty();
    return folder ? PanelDrop::None : PanelDrop::OpenWith;
}

std::wstring OpenWithParameters(const std::wstring& options, const std::vector<std::wstring>& files) {
    std::wstring parameters = options;
    for (const std::wstring& file : files) {
        if (!parameters.empty()) parameters += L' ';
        // Backslashes before the closing quote are doubled, or the program reads a dropped drive "C:\"
        // as a quote in its argument (CommandLineToArgvW's rule).
        const std::size_t kept = file.find_last_not_of(L'\\');
        const std::size_t slashes = file.size() - (kept == std::wstring::npos ? 0 : kept + 1);
        parameters += L'"' + file + std::wstring(slashes, L'\\') + L'"';
    }
    return parameters;
}
