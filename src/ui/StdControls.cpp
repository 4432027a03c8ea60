#include "ui/StdControls.h"

#include "ui/Form.h"
#include "ui/SpinRule.h"

#include <commctrl.h>

namespace ui {

namespace {

std::wstring WindowTextOf(HWND hwnd) {
    const int length = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(hwnd, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

} // namespace

// --- StdControl

void StdControl::Create(Form& parent, const wchar_t* className, DWORD style, DWORD exStyle,
                        const Bounds& bounds, int id) {
    CreateHandle(className, style | WS_VISIBLE, exStyle, bounds.Rect(), parent.Handle(), id);
    SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(parent.Font()), FALSE);
}

void StdControl::SetOwnFont(const FontSpec& font) {
    ownFont_ = CreateFormFont(font);
    SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(ownFont_.get()), TRUE);
}

std::wstring StdControl::Text() const {
    return WindowTextOf(Handle());
}

bool StdControl::Enabled() const {
    return IsWindowEnabled(Handle()) != FALSE;
}

void StdControl::SetEnabled(bool enabled) {
    EnableWindow(Handle(), enabled ? TRUE : FALSE);
}

void StdControl::SetFocus() {
    ::SetFocus(Handle());
}

// --- Label

Label::Label(Form& parent, const Bounds& bounds, const std::wstring& caption,
             const std::optional<FontSpec>& font) {
    Create(parent, L"STATIC", SS_LEFT | SS_NOPREFIX, 0, bounds);
    if (font) SetOwnFont(*font);
    SetCaption(caption);
}

void Label::SetCaption(const std::wstring& caption) {
    SetWindowTextW(Handle(), caption.c_str());
}

// --- Button

Button::Button(Form& parent, const Bounds& bounds, const std::wstring& caption, bool isDefault) {
    Create(parent, L"BUTTON", WS_TABSTOP | (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), 0, bounds,
           isDefault ? IDOK : 0);
    SetWindowTextW(Handle(), caption.c_str());
}

void Button::Click() {
    if (OnClick) OnClick();
}

bool Button::HandleReflected(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) return false;
    Click();
    result = 0;
    return true;
}

// --- Edit

Edit::Edit(Form& parent, const Bounds& bounds, bool readOnly, bool tabStop) {
    Create(parent, L"EDIT", ES_AUTOHSCROLL | (readOnly ? ES_READONLY : 0) | (tabStop ? WS_TABSTOP : 0),
           WS_EX_CLIENTEDGE, bounds);
}

void Edit::SetText(const std::wstring& text) {
    if (text == Text()) return;
    settingText_ = true;
    SetWindowTextW(Handle(), text.c_str());
    settingText_ = false;
    if (OnChange) OnChange();
}

void Edit::SetColor(TColor color) {
    backgroundRgb_ = ColorToRGB(color);
    background_.reset(CreateSolidBrush(backgroundRgb_));
    InvalidateRect(Handle(), nullptr, TRUE);
}

bool Edit::HandleReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_COMMAND:
        if (HIWORD(wParam) != EN_CHANGE) return false;
        // A change made through SetText has its own OnChange call; the system may or may not report it.
        if (!settingText_ && OnChange) OnChange();
        result = 0;
        return true;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        if (!background_) return false;
        SetBkColor(reinterpret_cast<HDC>(wParam), backgroundRgb_);
        result = reinterpret_cast<LRESULT>(background_.get());
        return true;
    default: (void)lParam; return false;
    }
}

// --- ComboBox

ComboBox::ComboBox(Form& parent, const Bounds& bounds, int itemHeight) {
    // The height of a drop-down combo box includes its list.
    Bounds withList = bounds;
    withList.height = bounds.height + 8 * itemHeight;
    Create(parent, WC_COMBOBOXW, CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP, 0, withList);
    SendMessageW(Handle(), CB_SETITEMHEIGHT, 0, itemHeight);
}

void ComboBox::AddItem(const std::wstring& item) {
    SendMessageW(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

int ComboBox::ItemCount() const {
    return static_cast<int>(SendMessageW(Handle(), CB_GETCOUNT, 0, 0));
}

std::wstring ComboBox::Item(int index) const {
    const auto length = SendMessageW(Handle(), CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == CB_ERR) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const auto copied = SendMessageW(Handle(), CB_GETLBTEXT, static_cast<WPARAM>(index),
                                     reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == CB_ERR ? 0 : static_cast<std::size_t>(copied));
    return text;
}

void ComboBox::SetText(const std::wstring& text) {
    if (text == Text()) return;
    SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    SetWindowTextW(Handle(), text.c_str());
}

void ComboBox::ChooseItem(int index) {
    SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(GetParent(Handle()), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(Handle()), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(Handle()));
}

bool ComboBox::HandleReflected(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    if (message != WM_COMMAND) return false;
    switch (HIWORD(wParam)) {
    case CBN_SELCHANGE: {
        // The edit part still shows the old text at this point: it takes the chosen item first.
        const auto index = static_cast<int>(SendMessageW(Handle(), CB_GETCURSEL, 0, 0));
        if (index >= 0) SetWindowTextW(Handle(), Item(index).c_str());
        if (OnChange) OnChange();
        break;
    }
    case CBN_EDITCHANGE:
        if (OnChange) OnChange();
        break;
    default: return false;
    }
    result = 0;
    return true;
}

// --- SpinEdit

SpinEdit::SpinEdit(Form& parent, const Bounds& bounds, TColor color) {
    Create(parent, L"EDIT", ES_READONLY | ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, bounds);
    backgroundRgb_ = ColorToRGB(color);
    background_.reset(CreateSolidBrush(backgroundRgb_));
    upDown_ = CreateWindowExW(0, UPDOWN_CLASSW, L"",
                              WS_CHILD | WS_VISIBLE | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_SETBUDDYINT |
                                  UDS_NOTHOUSANDS,
                              0, 0, 0, 0, parent.Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(upDown_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(Handle()), 0);
    SendMessageW(upDown_, UDM_SETRANGE32, 0, 0);
    Show(0);
}

SpinEdit::~SpinEdit() {
    if (upDown_ && IsWindow(upDown_)) DestroyWindow(upDown_);
}

int SpinEdit::Value() const {
    return value_;
}

void SpinEdit::SetValue(int value) {
    value = SpinValue(value, min_, max_);
    if (value == value_ && Text() == std::to_wstring(value)) return;
    Show(value);
    if (OnChange) OnChange();
}

void SpinEdit::Show(int value) {
    value_ = value;
    SendMessageW(upDown_, UDM_SETPOS32, 0, value);
    SetWindowTextW(Handle(), std::to_wstring(value).c_str());
}

void SpinEdit::SetRange(int minimum, int maximum) {
    min_ = minimum;
    max_ = maximum;
    SendMessageW(upDown_, UDM_SETRANGE32, static_cast<WPARAM>(minimum), maximum);
}

void SpinEdit::SetEnabledWithArrows(bool enabled) {
    SetEnabled(enabled);
    EnableWindow(upDown_, enabled ? TRUE : FALSE);
}

bool SpinEdit::HandleReflected(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    switch (message) {
    case WM_COMMAND: {
        if (HIWORD(wParam) != EN_CHANGE) return false;
        // The arrows write the new number into the edit.
        const int value = SpinValue(SpinValueFromText(Text(), min_), min_, max_);
        if (value != value_) {
            value_ = value;
            if (OnChange) OnChange();
        }
        result = 0;
        return true;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        SetBkColor(reinterpret_cast<HDC>(wParam), backgroundRgb_);
        result = reinterpret_cast<LRESULT>(background_.get());
        return true;
    default: return false;
    }
}

// --- Drawn controls

void DrawnControl::Create(Form& parent, const Bounds& bounds) {
    StdControl::Create(parent, L"STATIC", SS_OWNERDRAW | WS_CLIPSIBLINGS, 0, bounds);
}

void DrawnControl::Repaint() {
    InvalidateRect(Handle(), nullptr, TRUE);
}

bool DrawnControl::HandleReflected(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
    if (message != WM_DRAWITEM) return false;
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    Paint(item->hDC, item->rcItem);
    result = TRUE;
    return true;
}

Panel::Panel(Form& parent, const Bounds& bounds, TColor color) : color_(color) {
    Create(parent, bounds);
}

void Panel::Paint(HDC dc, const RECT& client) {
    UniqueHbrush brush(CreateSolidBrush(ColorToRGB(color_)));
    FillRect(dc, &client, brush.get());
    RECT edge = client;
    DrawEdge(dc, &edge, BDR_SUNKENINNER, BF_RECT);
}

Bevel::Bevel(Form& parent, const Bounds& bounds) : GraphicControl(parent) {
    SetBounds(bounds.left, bounds.top, bounds.width, bounds.height);
}

void Bevel::Paint(HDC dc) {
    RECT edge = BoundsRect();
    DrawEdge(dc, &edge, EDGE_ETCHED, BF_RECT);
}

Image::Image(Form& parent, const Bounds& bounds, TColor background) : background_(background) {
    Create(parent, bounds);
    // Above the panel it sits on.
    SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Image::SetIcon(UniqueHicon icon) {
    icon_ = std::move(icon);
    Repaint();
}

void Image::Paint(HDC dc, const RECT& client) {
    UniqueHbrush brush(CreateSolidBrush(ColorToRGB(background_)));
    FillRect(dc, &client, brush.get());
    if (icon_) DrawIconEx(dc, 0, 0, icon_.get(), 0, 0, 0, nullptr, DI_NORMAL);
}

} // namespace ui
