#include "panel/PanelRules.h"

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

namespace {

std::uint32_t Little(const std::uint8_t* bytes, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = (value << 8) | bytes[i];
    return value;
}

bool IsIconFile(const std::uint8_t* head, std::size_t available) {
    return available >= 6 && head[0] == 0 && head[1] == 0 && (head[2] == 1 || head[2] == 2) && head[3] == 0;
}

} // namespace

std::size_t IconDirectoryBytesNeeded(const std::uint8_t* head, std::size_t available) {
    if (!IsIconFile(head, available)) return 6;
    return 6 + 16 * static_cast<std::size_t>(Little(head + 4, 2));
}

bool IconDirectorySound(const std::uint8_t* head, std::size_t available, std::uint64_t fileSize) {
    if (!IsIconFile(head, available)) return true;
    const std::size_t count = Little(head + 4, 2);
    const std::uint64_t directoryEnd = 6 + 16 * static_cast<std::uint64_t>(count);
    if (count == 0 || directoryEnd > fileSize || directoryEnd > available) return false;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* entry = head + 6 + 16 * i;
        const std::uint64_t size = Little(entry + 8, 4);
        const std::uint64_t offset = Little(entry + 12, 4);
        if (size == 0 || offset < directoryEnd || offset + size > fileSize) return false;
    }
    return true;
}
