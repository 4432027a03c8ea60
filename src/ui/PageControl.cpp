#include "ui/PageControl.h"

#include "ui/Dpi.h"
#include "ui/Language.h"

#include <commctrl.h>

namespace ui {

TabSheet::TabSheet(PageControl& owner, const std::wstring& caption) : owner_(owner), caption_(caption) {}

HFONT TabSheet::ContainerFont() const {
    return owner_.Font();
}

void TabSheet::Create() {
    WindowCreateParams params;
    params.className = L"TTabSheet";
    // A control parent, so that Tab and the dialog keys reach the controls on it.
    // Not clipping its children: a group box draws only its frame, and the page fills the inside.
    params.style = WS_CHILD | WS_CLIPSIBLINGS;
    params.exStyle = WS_EX_CONTROLPARENT;
    params.left = params.top = 0;
    params.width = params.height = 0;
    params.parent = owner_.Handle();
    CreateHandle(params);
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
    if (ReflectNotification(Handle(), message, wParam, lParam, result)) return result;
    switch (message) {
    case WM_ERASEBKGND: {
        RECT r{};
        GetClientRect(Handle(), &r);
        FillRect(reinterpret_cast<HDC>(wParam), &r, GetSysColorBrush(COLOR_BTNFACE));
        return 1;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
        // Labels, check boxes and group boxes on the page's own face.
        auto dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    default: return DefaultHandler(message, wParam, lParam);
    }
}

PageControl::PageControl(Container& parent, const Bounds& bounds) : parent_(parent) {
    parent.AddControl([this, &parent, bounds] { CreateWindowAndPages(parent, bounds); });
}

void PageControl::CreateWindowAndPages(Container& parent, const Bounds& bounds) {
    Create(parent, WC_TABCONTROLW,
           TCS_MULTILINE | TCS_SCROLLOPPOSITE | WS_TABSTOP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
           WS_EX_CONTROLPARENT, bounds);
    // The pages added so far, then the controls constructed on them.
    for (int i = 0; i < PageCount(); ++i)
        InsertPage(Page(i), i);
    for (const auto& page : pages_)
        page->CreatePageControls();
}

TabSheet& PageControl::AddPage(const std::wstring& caption) {
    pages_.push_back(std::make_unique<TabSheet>(*this, caption));
    if (Handle()) {
        InsertPage(*pages_.back(), PageCount() - 1);
        pages_.back()->CreatePageControls();
    }
    return *pages_.back();
}

void PageControl::InsertPage(TabSheet& page, int index) {
    page.Create();
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    std::wstring shown = Localized(page.Caption());
    item.pszText = shown.data();
    SendMessageW(Handle(), TCM_INSERTITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    LayOutPages();
    if (index == 0) SetActivePageIndex(0);
}

int PageControl::ActivePageIndex() const {
    return static_cast<int>(SendMessageW(Handle(), TCM_GETCURSEL, 0, 0));
}

void PageControl::SetActivePageIndex(int index) {
    SendMessageW(Handle(), TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
    LayOutPages();
}

void PageControl::SetTabWidth(int width) {
    tabWidth_ = width;
    SetWindowLongW(Handle(), GWL_STYLE, GetWindowLongW(Handle(), GWL_STYLE) | TCS_FIXEDWIDTH);
    RECT tab{};
    const int height =
        SendMessageW(Handle(), TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&tab)) ? tab.bottom - tab.top : 0;
    SendMessageW(Handle(), TCM_SETITEMSIZE, 0, MAKELPARAM(width, height));
    LayOutPages();
}

void PageControl::DpiChanged(int oldDpi, int newDpi) {
    if (tabWidth_ > 0) SetTabWidth(ScaleBetweenDpis(tabWidth_, oldDpi, newDpi));
}

void PageControl::LayOutPages() {
    // The pages fill the display area, which depends on the tabs' rows.
    RECT area{};
    GetClientRect(Handle(), &area);
    SendMessageW(Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    const int active = ActivePageIndex();
    for (int i = 0; i < PageCount(); ++i) {
        HWND page = pages_[static_cast<std::size_t>(i)]->Handle();
        if (!page) continue; // not made yet: laid out when it is
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
