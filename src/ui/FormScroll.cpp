#include "ui/Form.h"

#include "ui/GridRules.h"

#include <windowsx.h>

#include <algorithm>

// The form's vertical scroll bar: shown while the range exceeds the client height.

namespace ui {

void Form::SetVertScrollRange(int range) {
    range = std::max(range, 0);
    if (range == scrollRange_) return;
    scrollRange_ = range;
    UpdateVertScrollBar();
}

void Form::SetVertScrollPosition(int position) {
    position = ClampScrollPosition(position, scrollRange_, ClientHeight());
    if (position == scrollPosition_) return;
    int delta = scrollPosition_ - position;
    scrollPosition_ = position;
    ScrollWindowEx(Handle(), 0, delta, nullptr, nullptr, nullptr, nullptr,
                   SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_POS;
    si.nPos = scrollPosition_;
    SetScrollInfo(Handle(), SB_VERT, &si, TRUE);
}

bool Form::VertScrollBarVisible() const {
    return (GetWindowLongW(Handle(), GWL_STYLE) & WS_VSCROLL) != 0;
}

void Form::UpdateVertScrollBar() {
    if (updatingScrollBar_) return;
    updatingScrollBar_ = true;
    // The bar shows itself while the page is smaller than the range; that may resize the client area.
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = 0;
    si.nMax = std::max(scrollRange_ - 1, 0);
    si.nPage = static_cast<UINT>(std::max(ClientHeight(), 0));
    si.nPos = scrollPosition_;
    SetScrollInfo(Handle(), SB_VERT, &si, TRUE);
    updatingScrollBar_ = false;
    SetVertScrollPosition(scrollPosition_);
}

void Form::OnVertScroll(WORD code) {
    int position = scrollPosition_;
    switch (code) {
    case SB_LINEUP: position -= scrollIncrement_; break;
    case SB_LINEDOWN: position += scrollIncrement_; break;
    case SB_PAGEUP: position -= ClientHeight(); break;
    case SB_PAGEDOWN: position += ClientHeight(); break;
    case SB_TOP: position = 0; break;
    case SB_BOTTOM: position = scrollRange_; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        SCROLLINFO si{};
        si.cbSize = sizeof(si);
        si.fMask = SIF_TRACKPOS;
        GetScrollInfo(Handle(), SB_VERT, &si);
        position = si.nTrackPos;
        break;
    }
    default: return;
    }
    SetVertScrollPosition(position);
}

} // namespace ui
