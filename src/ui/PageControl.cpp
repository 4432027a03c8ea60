#include "ui/PageControl.h"

#include <commctrl.h>

namespace ui {

TabSheet::TabSheet(PageControl& owner, const std::wstring& caption) : caption_(caption), font_(owner.Font()) {
    WindowCreateParams params;
    params.className = L"TTabSheet";
    // A control parent, so that Tab and the dialog keys reach the controls on it.
    // Not clipping its children: a group box draws only its frame, and the page fills the inside.
    params.style = WS_CHILD | WS_CLIPSIBLINGS;
    params.exStyle = WS_EX_CONTROLPARENT;
    params.left = params.top = 0;
    params.width = params.height = 0;
    params.parent = owner.Handle();
    CreateHandle(params);
}

TabSheet::~TabSheet() {
    DestroyHandle();
}

int TabSheet::Width() const {
    RECT r{};
    GetClientRect(Handle(), &r);
    return r.right;
}

int TabSheet::Height() const {
    RECT r{};
    GetClientRect(Handle(), &r);
    return r.bottom;
}

LRESULT TabSheet::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    switch (message) {
    case WM_ERASEBKGND: {
        RECT r{};
        GetClientRect(Handle(), &r);
        FillRect(reinterpret_cast<HDC>(wParam), &r, GetSysColorBrush(COLOR_BTNFACE));
        return 1;
    }
    case WM_COMMAND:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_VSCROLL:
    case WM_HSCROLL:
        if (lParam && ReflectToControl(reinterpret_cast<HWND>(lParam), message, wParam, lParam, result))
            return result;
        break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
        if (lParam && ReflectToControl(reinterpret_cast<HWND>(lParam), message, wParam, lParam, result))
            return result;
        // Labels, check boxes and group boxes on the page's own face.
        auto dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item && ReflectToControl(item->hwndItem, message, wParam, lParam, result)) return result;
        break;
    }
    case WM_MEASUREITEM: {
        HWND item = GetDlgItem(Handle(), static_cast<int>(wParam));
        if (item && ReflectToControl(item, message, wParam, lParam, result)) return result;
        break;
    }
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header && ReflectToControl(header->hwndFrom, message, wParam, lParam, result)) return result;
        break;
    }
    default: break;
    }
    return DefaultHandler(message, wParam, lParam);
}

PageControl::PageControl(Container& parent, const Bounds& bounds) : font_(parent.ContainerFont()) {
    Create(parent, WC_TABCONTROLW,
           TCS_MULTILINE | TCS_SCROLLOPPOSITE | WS_TABSTOP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
           WS_EX_CONTROLPARENT, bounds);
}

TabSheet& PageControl::AddPage(const std::wstring& caption) {
    pages_.push_back(std::make_unique<TabSheet>(*this, caption));
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(pages_.back()->Caption().c_str());
    SendMessageW(Handle(), TCM_INSERTITEMW, pages_.size() - 1, reinterpret_cast<LPARAM>(&item));
    LayOutPages();
    if (pages_.size() == 1) SetActivePageIndex(0);
    return *pages_.back();
}

int PageControl::ActivePageIndex() const {
    return static_cast<int>(SendMessageW(Handle(), TCM_GETCURSEL, 0, 0));
}

void PageControl::SetActivePageIndex(int index) {
    SendMessageW(Handle(), TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
    LayOutPages();
}

void PageControl::SetTabWidth(int width) {
    SetWindowLongW(Handle(), GWL_STYLE, GetWindowLongW(Handle(), GWL_STYLE) | TCS_FIXEDWIDTH);
    RECT tab{};
    const int height =
        SendMessageW(Handle(), TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&tab)) ? tab.bottom - tab.top : 0;
    SendMessageW(Handle(), TCM_SETITEMSIZE, 0, MAKELPARAM(width, height));
    LayOutPages();
}

void PageControl::LayOutPages() {
    // The pages fill the display area, which depends on the tabs' rows.
    RECT area{};
    GetClientRect(Handle(), &area);
    SendMessageW(Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    const int active = ActivePageIndex();
    for (int i = 0; i < PageCount(); ++i) {
        HWND page = pages_[static_cast<std::size_t>(i)]->Handle();
        SetWindowPos(page, HWND_TOP, area.left, area.top, area.right - area.left, area.bottom - area.top,
                     SWP_NOACTIVATE | (i == active ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    }
}

bool PageControl::HandleReflected(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
    if (message != WM_NOTIFY) return false;
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->code != TCN_SELCHANGE) return false;
    LayOutPages();
    result = 0;
    return true;
}

} // namespace ui
