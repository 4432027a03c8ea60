#include "components/CtrlsEx.h"

#include "base/Handles.h"
#include "ui/Application.h"
#include "ui/Dpi.h"
#include "ui/Form.h"
#include "ui/Graphics.h"
#include "ui/Language.h"
#include "ui/Subclass.h"

#include <commctrl.h>

#include <array>

namespace {

constexpr std::array<const wchar_t*, 8> kModalCaptions{L"OK",       L"ｷｬﾝｾﾙ",    L"中止(&A)",   L"再試行(&R)",
                                                       L"無視(&I)", L"はい(&Y)", L"いいえ(&N)", L"すべて"};

} // namespace

TButtonEx::TButtonEx(ui::Container& parent, const ui::Bounds& bounds, const std::wstring& caption,
                     int modalResult, bool tabStop)
    : parent_(parent), bounds_(bounds), caption_(caption), tabStop_(tabStop), modalResult_(modalResult) {
    parent.AddControl([this] { CreateWindowNow(); });
}

TButtonEx::~TButtonEx() {
    ui::Unwatch(Handle(), *this);
}

void TButtonEx::CreateWindowNow() {
    DWORD style = BS_PUSHBUTTON | (tabStop_ ? WS_TABSTOP : 0);
    if (style_ != TButtonExStyle::bsStandard) style |= BS_OWNERDRAW;
    Create(parent_, L"BUTTON", style, 0, bounds_);
    SetWindowTextW(Handle(), ui::Localized(caption_).c_str());
    ui::Watch(Handle(), *this);
}

void TButtonEx::SetSytle(TButtonExStyle style) {
    if (style == style_) return;
    style_ = style;
    if (!Handle()) return; // made with it
    // The owner-draw style is taken only when the window is made.
    // Back to 96-DPI units: the window is made again at its parent's DPI.
    const RECT r = BoundsInParent();
    const int dpi = ui::WindowDpi(GetParent(Handle()));
    const auto unscaled = [dpi](int v) { return ui::ScaleBetweenDpis(v, dpi, ui::kDefaultDpi); };
    bounds_ = {unscaled(r.left), unscaled(r.top), unscaled(r.right - r.left), unscaled(r.bottom - r.top)};
    const bool enabled = Enabled();
    ui::Unwatch(Handle(), *this);
    DestroyControlHandle();
    default_ = false;
    CreateWindowNow();
    SetEnabled(enabled);
}

void TButtonEx::SetModalResult(int value) {
    modalResult_ = value;
    if (value >= 1 && value <= 8) SetCaption(kModalCaptions[static_cast<std::size_t>(value - 1)]);
}

void TButtonEx::SetFontColor(TColor color) {
    fontColor_ = color;
    if (Handle()) InvalidateRect(Handle(), nullptr, TRUE);
}

void TButtonEx::SetCaption(const std::wstring& caption) {
    caption_ = caption;
    SetWindowTextW(Handle(), ui::Localized(caption_).c_str());
}

bool TButtonEx::HandleReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_COMMAND:
        if (HIWORD(wParam) != BN_CLICKED) return false;
        // Like any push button, it hands its modal result to its form.
        if (modalResult_ != 0)
            if (auto* form = dynamic_cast<ui::Form*>(ui::Window::FromHandle(GetAncestor(Handle(), GA_ROOT))))
                form->ModalResult = modalResult_;
        if (OnClick) OnClick();
        result = 0;
        return true;
    case WM_MEASUREITEM: {
        auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        item->itemWidth = static_cast<UINT>(bounds_.width);
        item->itemHeight = static_cast<UINT>(bounds_.height);
        result = TRUE;
        return true;
    }
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        {
            // The DC is the system's: font, brush, colours and mode go back as they were.
            base::SavedDcState saved(item->hDC);
            SelectObject(item->hDC, reinterpret_cast<HGDIOBJ>(SendMessageW(Handle(), WM_GETFONT, 0, 0)));
            SetTextColor(item->hDC, ui::ColorToRGB(fontColor_));
            SetBkColor(item->hDC, GetSysColor(COLOR_BTNFACE));
            SetBkMode(item->hDC, OPAQUE);
            SelectObject(item->hDC, GetSysColorBrush(COLOR_BTNFACE));
            DrawButton(item->hDC, item->rcItem, item->itemState);
        }
        result = TRUE;
        return true;
    }
    default: return false;
    }
}

void TButtonEx::DrawButton(HDC dc, RECT rect, UINT state) {
    if (style_ == TButtonExStyle::bsOwnerDrawWithFrame) {
        RECT face = rect;
        if (default_) {
            // The default look: a dark line around the face.
            FrameRect(dc, &face, GetSysColorBrush(COLOR_WINDOWFRAME));
            InflateRect(&face, -1, -1);
        }
        DrawFrameControl(dc, &face, DFC_BUTTON, DFCS_BUTTONPUSH | ((state & ODS_SELECTED) ? DFCS_PUSHED : 0));
        InflateRect(&rect, -4, -4);
        if (state & ODS_FOCUS) DrawFocusRect(dc, &rect);
        if (state & ODS_SELECTED) {
            ++rect.left;
            ++rect.top;
        }
    } else {
        FillRect(dc, &rect, GetSysColorBrush(COLOR_BTNFACE));
    }
    if (OnDrawButton) {
        OnDrawButton(*this, rect, state);
        return;
    }
    // Centred as a block, word-wrapped: measured first, then the rectangle shrunk equally around it.
    RECT measured = rect;
    measured.right -= 2;
    measured.bottom -= 2;
    const std::wstring shown = ui::Localized(caption_);
    DrawTextW(dc, shown.c_str(), -1, &measured, DT_CALCRECT | DT_EXPANDTABS | DT_WORDBREAK);
    InflateRect(&rect, (measured.right - rect.right) / 2, (measured.bottom - rect.bottom) / 2);
    DrawTextW(dc, shown.c_str(), -1, &rect, DT_EXPANDTABS | DT_WORDBREAK);
}

LRESULT TButtonEx::WatchedMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        // The default look follows the focus; the window's style is never touched for it.
        default_ = message == WM_SETFOCUS;
        InvalidateRect(hwnd, nullptr, FALSE);
        break;
    case BM_SETSTYLE:
        // The dialog manager would make it a default push button, losing the owner drawing.
        if (style_ != TButtonExStyle::bsStandard) return 0;
        break;
    default: break;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}
