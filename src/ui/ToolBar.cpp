#include "ui/ToolBar.h"

#include "ui/Form.h"
#include "ui/GridRules.h"
#include "ui/Hints.h"
#include "ui/ImageList.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

namespace ui {

namespace {
constexpr int kFirstButtonId = 100;
} // namespace

ToolButton::ToolButton(ToolBar& bar, int index, std::wstring name, std::wstring caption, int imageIndex)
    : bar_(bar), index_(index), name_(std::move(name)), caption_(std::move(caption)),
      imageIndex_(imageIndex) {}

int ToolButton::Id() const {
    return kFirstButtonId + index_;
}

void ToolButton::SetHint(const std::wstring& hint) {
    hint_ = hint;
    bar_.parent_.Hints().SetToolText(bar_.Handle(), static_cast<UINT_PTR>(Id()), hint_);
}

bool ToolButton::Down() const {
    return SendMessageW(bar_.Handle(), TB_ISBUTTONPRESSED, Id(), 0) != 0;
}

void ToolButton::SetDown(bool down) {
    SendMessageW(bar_.Handle(), TB_PRESSBUTTON, Id(), MAKELPARAM(down ? TRUE : FALSE, 0));
}

void ToolButton::Click() {
    if (OnClick) OnClick(*this);
}

RECT ToolButton::ItemRect() const {
    RECT r{};
    SendMessageW(bar_.Handle(), TB_GETITEMRECT, index_, reinterpret_cast<LPARAM>(&r));
    return r;
}

ToolBar::ToolBar(Form& parent, const Params& params)
    : parent_(parent), indent_(params.indent), requestedWidth_(params.buttonWidth),
      requestedHeight_(params.buttonHeight) {
    parent.AddControl([this, params] { CreateBar(params); });
}

void ToolBar::CreateBar(const Params& params) {
    CreateControl(TOOLBARCLASSNAMEW,
                  WS_VISIBLE | WS_CLIPSIBLINGS | TBSTYLE_WRAPABLE | CCS_NORESIZE | CCS_NOPARENTALIGN |
                      CCS_NODIVIDER,
                  0, RECT{params.left, params.top, params.left + params.width, params.top + params.height},
                  parent_.Handle(), params.id);
    HWND hwnd = Handle();
    SendMessageW(hwnd, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(parent_.Font()), FALSE);
    SendMessageW(hwnd, TB_SETINDENT, static_cast<WPARAM>(indent_), 0);
    SendMessageW(hwnd, TB_SETMAXTEXTROWS, 0, 0);
    ApplyButtonSize();
    // Painting alone sends the bar dozens of messages: no window-property lookup for each of them.
    RouteMessages();
}

int ToolBar::ButtonAt(POINT point) const {
    const auto index = static_cast<int>(SendMessageW(Handle(), TB_HITTEST, 0, reinterpret_cast<LPARAM>(&point)));
    return index >= 0 && index < ButtonCount() ? index : -1;
}

void ToolBar::MarkButton(int index) {
    if (index == marked_) return;
    marked_ = index;
    Repaint();
}

bool ToolBar::DragMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!OnButtonDragged) return false;
    const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (message) {
    case WM_LBUTTONDOWN:
        // The bar presses the button as usual; only a move past the drag distance makes it a drag.
        pressed_ = ButtonAt(at);
        pressPoint_ = at;
        return false;
    case WM_MOUSEMOVE: {
        if (!dragging_) {
            if (pressed_ < 0 || !(wParam & MK_LBUTTON) || (CanStartDrag && !CanStartDrag()) ||
                !BeyondDragDistance(pressPoint_.x, pressPoint_.y, at.x, at.y, GetSystemMetrics(SM_CXDRAG),
                                    GetSystemMetrics(SM_CYDRAG)))
                return false;
            // The bar lets go of its pressed button when it loses the capture, so the release is no
            // click; the drag takes the capture back to follow the pointer anywhere.
            ReleaseCapture();
            dragging_ = true;
            SetCapture(Handle());
        }
        const int over = ButtonAt(at);
        MarkButton(over == pressed_ ? -1 : over);
        return true;
    }
    case WM_LBUTTONUP: {
        if (!dragging_) {
            pressed_ = -1;
            return false;
        }
        const int from = pressed_, to = ButtonAt(at);
        EndDrag();
        // Back where it began: the drag does nothing, and the press and release are the button's click.
        if (to == from && from >= 0 && from < static_cast<int>(buttons_.size()))
            buttons_[static_cast<std::size_t>(from)]->Click();
        else
            OnButtonDragged(from, to);
        return true;
    }
    case WM_KEYDOWN:
        if (!dragging_ || wParam != VK_ESCAPE) return false;
        EndDrag();
        return true;
    case WM_CAPTURECHANGED:
        // Taken by another window: the drag is given up.
        if (dragging_ && reinterpret_cast<HWND>(lParam) != Handle()) EndDrag();
        return false;
    default: return false;
    }
}

void ToolBar::EndDrag() {
    dragging_ = false;
    pressed_ = -1;
    MarkButton(-1);
    if (GetCapture() == Handle()) ReleaseCapture();
}

LRESULT ToolBar::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (DragMessage(message, wParam, lParam)) return 0;
    if (HintHost* hints = parent_.ExistingHints()) {
        if (HintHost::IsRelayed(message)) {
            hints->Relay(Handle(), message, wParam, lParam);
        } else if (message == WM_NOTIFY) {
            LRESULT result = 0;
            if (hints->HandleNotify(*reinterpret_cast<const NMHDR*>(lParam), result)) return result;
        } else if (message == WM_NCDESTROY) {
            hints->ForgetWindow(Handle());
        }
    }
    return DefaultHandler(message, wParam, lParam);
}

ToolBar::~ToolBar() = default;

void ToolBar::AddButtons(std::span<const NewButton> items) {
    if (items.empty()) return;
    const std::size_t first = buttons_.size();
    std::vector<TBBUTTON> added;
    added.reserve(items.size());
    for (const NewButton& item : items) {
        buttons_.push_back(
            std::make_unique<ToolButton>(*this, ButtonCount(), item.name, item.caption, item.imageIndex));
        const ToolButton& button = *buttons_.back();
        TBBUTTON tb{};
        tb.iBitmap = item.imageIndex;
        tb.idCommand = button.Id();
        tb.fsState = TBSTATE_ENABLED;
        tb.fsStyle = BTNS_BUTTON;
        tb.iString = reinterpret_cast<INT_PTR>(button.Caption().c_str()); // copied by the bar
        added.push_back(tb);
    }
    // One message for all of them: the bar lays its buttons out again after each one it is sent.
    SendMessageW(Handle(), TB_ADDBUTTONSW, added.size(), reinterpret_cast<LPARAM>(added.data()));
    layoutCurrent_ = false;
    for (std::size_t i = first; i < buttons_.size(); ++i) {
        const ToolButton& button = *buttons_[i];
        parent_.Hints().AddTool(Handle(), static_cast<UINT_PTR>(button.Id()), button.ItemRect(),
                                button.Hint());
    }
}

ToolButton* ToolBar::FindButton(std::wstring_view name) const {
    for (const auto& button : buttons_)
        if (button->Name() == name) return button.get();
    return nullptr;
}

void ToolBar::SetImages(ImageList* images) {
    HIMAGELIST list = images ? images->Handle() : nullptr;
    SendMessageW(Handle(), TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(list));
    SendMessageW(Handle(), TB_SETDISABLEDIMAGELIST, 0, reinterpret_cast<LPARAM>(list));
    ApplyButtonSize();
    Relayout(Width());
}

void ToolBar::SetShowCaptions(bool show) {
    if (show == showCaptions_) return;
    showCaptions_ = show;
    SendMessageW(Handle(), TB_SETMAXTEXTROWS, show ? 1 : 0, 0);
    ApplyButtonSize();
    Relayout(Width());
}

int ToolBar::ButtonWidth() const {
    return LOWORD(SendMessageW(Handle(), TB_GETBUTTONSIZE, 0, 0));
}
int ToolBar::ButtonHeight() const {
    return HIWORD(SendMessageW(Handle(), TB_GETBUTTONSIZE, 0, 0));
}

void ToolBar::SetButtonWidth(int width) {
    requestedWidth_ = width;
    ApplyButtonSize();
    Relayout(Width());
}

void ToolBar::SetButtonHeight(int height) {
    // Asked for on every show of the panel: nothing to do when it is already so.
    if (height == requestedHeight_ && layoutCurrent_) return;
    requestedHeight_ = height;
    ApplyButtonSize();
    Relayout(Width());
}

void ToolBar::ApplyButtonSize() {
    // The bar measures its buttons anew on every layout as image plus padding (plus caption), so the size
    // asked for is made the measured one: padding = size - image, and the width pinned.
    HWND hwnd = Handle();
    int imageWidth = 0, imageHeight = 0;
    if (auto list = reinterpret_cast<HIMAGELIST>(SendMessageW(hwnd, TB_GETIMAGELIST, 0, 0)))
        ImageList_GetIconSize(list, &imageWidth, &imageHeight);
    SendMessageW(
        hwnd, TB_SETPADDING, 0,
        MAKELPARAM(std::max(requestedWidth_ - imageWidth, 0), std::max(requestedHeight_ - imageHeight, 0)));
    SendMessageW(hwnd, TB_SETBUTTONWIDTH, 0, MAKELPARAM(requestedWidth_, requestedWidth_));
    // With captions the bar's own measure (image, caption and padding) decides the height.
    if (!showCaptions_)
        SendMessageW(hwnd, TB_SETBUTTONSIZE, 0, MAKELPARAM(requestedWidth_, requestedHeight_));
}

int ToolBar::Width() const {
    RECT r{};
    GetWindowRect(Handle(), &r);
    return r.right - r.left;
}

int ToolBar::Height() const {
    RECT r{};
    GetWindowRect(Handle(), &r);
    return r.bottom - r.top;
}

void ToolBar::SetWidth(int width) {
    if (layoutCurrent_ && ::ButtonsPerRow(width, indent_, ButtonWidth()) == perRow_ &&
        Width() == ToolBarWidthFor(perRow_, indent_, ButtonWidth()))
        return;
    Relayout(width);
}

int ToolBar::RowCount() const {
    return static_cast<int>(SendMessageW(Handle(), TB_GETROWS, 0, 0));
}

void ToolBar::Repaint() {
    InvalidateRect(Handle(), nullptr, TRUE);
}

void ToolBar::Relayout(int width) {
    HWND hwnd = Handle();
    const int oldWidth = Width(), oldHeight = Height();
    const int buttonWidth = ButtonWidth();
    perRow_ = ::ButtonsPerRow(width, indent_, buttonWidth);
    const int newWidth = ToolBarWidthFor(perRow_, indent_, buttonWidth);

    for (int i = 0; i < ButtonCount(); ++i) {
        int id = buttons_[static_cast<std::size_t>(i)]->Id();
        auto state = static_cast<UINT>(SendMessageW(hwnd, TB_GETSTATE, id, 0));
        bool endsRow = (i + 1) % perRow_ == 0 && i + 1 < ButtonCount();
        UINT wanted = endsRow ? (state | TBSTATE_WRAP) : (state & ~TBSTATE_WRAP);
        if (wanted != state) SendMessageW(hwnd, TB_SETSTATE, id, MAKELPARAM(wanted, 0));
    }
    // A changed wrap state alone does not lay the buttons out again; setting the indent does.
    SendMessageW(hwnd, TB_SETINDENT, static_cast<WPARAM>(indent_), 0);
    SetWindowPos(hwnd, nullptr, 0, 0, newWidth, std::max(oldHeight, 1),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(hwnd, TB_AUTOSIZE, 0, 0);

    int newHeight = oldHeight;
    if (ButtonCount() > 0) newHeight = buttons_.back()->ItemRect().bottom;
    SetWindowPos(hwnd, nullptr, 0, 0, newWidth, newHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    UpdateHintTools();
    layoutCurrent_ = true;
    if ((newWidth != oldWidth || newHeight != oldHeight) && OnResize) OnResize();
}

void ToolBar::UpdateHintTools() {
    HintHost& hints = parent_.Hints();
    for (const auto& button : buttons_) {
        auto id = static_cast<UINT_PTR>(button->Id());
        if (hints.HasTool(Handle(), id))
            hints.SetToolRect(Handle(), id, button->ItemRect());
        else
            hints.AddTool(Handle(), id, button->ItemRect(), button->Hint());
    }
}

LRESULT ToolBar::CustomDraw(const NMTBCUSTOMDRAW& draw) {
    switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT: return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: return TBCDRF_NOEDGES | TBCDRF_NOBACKGROUND | CDRF_NOTIFYPOSTPAINT;
    case CDDS_ITEMPOSTPAINT: {
        // Every button keeps a raised frame, so the grid shows even where a button has no picture; a
        // pressed one (the mouse on it, or the swap source) is sunken.
        RECT r = draw.nmcd.rc;
        bool down = (draw.nmcd.uItemState & (CDIS_SELECTED | CDIS_CHECKED)) != 0 ||
                    SendMessageW(Handle(), TB_ISBUTTONPRESSED, draw.nmcd.dwItemSpec, 0) != 0;
        DrawEdge(draw.nmcd.hdc, &r, down ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
        // Where a drag would land: a frame in the selection colour inside the edge.
        if (static_cast<int>(draw.nmcd.dwItemSpec) - kFirstButtonId == marked_ && marked_ >= 0) {
            InflateRect(&r, -2, -2);
            for (int i = 0; i < 2; ++i, InflateRect(&r, -1, -1))
                FrameRect(draw.nmcd.hdc, &r, GetSysColorBrush(COLOR_HIGHLIGHT));
        }
        return CDRF_DODEFAULT;
    }
    default: return CDRF_DODEFAULT;
    }
}

bool ToolBar::HandleReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->code != NM_CUSTOMDRAW) return false;
        result = CustomDraw(*reinterpret_cast<const NMTBCUSTOMDRAW*>(lParam));
        return true;
    }
    if (message != WM_COMMAND) return false;
    int id = LOWORD(wParam);
    for (const auto& button : buttons_)
        if (button->Id() == id) {
            button->Click();
            result = 0;
            return true;
        }
    return false;
}

} // namespace ui
