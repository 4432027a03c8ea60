#include "ui/StdControls.h"

#include "base/WinUtil.h"
#include "ui/Application.h"
#include "ui/Dpi.h"
#include "ui/Form.h"
#include "ui/Language.h"
#include "ui/SpinRule.h"
#include "ui/Subclass.h"

#include <commctrl.h>

#include <algorithm>

namespace ui {

// --- StdControl

void StdControl::Create(Container& parent, const wchar_t* className, DWORD style, DWORD exStyle,
                        const Bounds& bounds, int id) {
    CreateControl(className, style | WS_VISIBLE, exStyle, bounds.Rect(), parent.ContainerHandle(), id);
    SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(parent.ContainerFont()), FALSE);
}

void StdControl::SetOwnFont(const FontSpec& font) {
    ownFontSpec_ = font;
    ownFont_ = CreateFormFont(font, WindowDpi(Handle()));
    SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(ownFont_.get()), TRUE);
}

bool StdControl::OwnFontToDpi(int dpi) {
    if (!ownFont_) return false;
    ownFont_ = CreateFormFont(ownFontSpec_, dpi);
    SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(ownFont_.get()), TRUE);
    return true;
}

std::wstring StdControl::Text() const {
    return base::WindowText(Handle());
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

Label::Label(Container& parent, const Bounds& bounds, const std::wstring& caption,
             const std::optional<FontSpec>& font) {
    parent.AddControl([this, &parent, bounds, caption, font] {
        Create(parent, L"STATIC", SS_LEFT | SS_NOPREFIX, 0, bounds);
        if (font) SetOwnFont(*font);
        SetCaption(caption);
    });
}

void Label::SetCaption(const std::wstring& caption) {
    SetWindowTextW(Handle(), Localized(caption).c_str());
}

// --- Button

Button::Button(Container& parent, const Bounds& bounds, const std::wstring& caption, bool isDefault) {
    parent.AddControl([this, &parent, bounds, caption, isDefault] {
        Create(parent, L"BUTTON", WS_TABSTOP | (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), 0, bounds,
               isDefault ? IDOK : 0);
        SetWindowTextW(Handle(), Localized(caption).c_str());
    });
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

// --- CheckBox

CheckBox::CheckBox(Container& parent, const Bounds& bounds, const std::wstring& caption) {
    parent.AddControl([this, &parent, bounds, caption] {
        Create(parent, L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0, bounds);
        SetWindowTextW(Handle(), Localized(caption).c_str());
    });
}

bool CheckBox::Checked() const {
    return SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void CheckBox::SetChecked(bool checked) {
    if (checked == Checked()) return;
    SendMessageW(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    if (OnClick) OnClick();
}

bool CheckBox::HandleReflected(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) return false;
    if (OnClick) OnClick();
    result = 0;
    return true;
}

// --- GroupBox

GroupBox::GroupBox(Container& parent, const Bounds& bounds, const std::wstring& caption) {
    parent.AddControl([this, &parent, bounds, caption] {
        // Clipped by the controls above it: under Wine it fills its inside as it paints.
        Create(parent, L"BUTTON", BS_GROUPBOX | WS_CLIPSIBLINGS, 0, bounds);
        SetWindowTextW(Handle(), Localized(caption).c_str());
    });
}

// --- HotKeyEdit

namespace {
constexpr std::uint16_t kShift = 0x2000, kCtrl = 0x4000, kAlt = 0x8000;
} // namespace

HotKeyEdit::HotKeyEdit(Container& parent, const Bounds& bounds) {
    parent.AddControl([this, &parent, bounds] {
        Create(parent, HOTKEY_CLASSW, WS_TABSTOP, WS_EX_CLIENTEDGE, bounds);
        // Refused: no modifier, and Shift alone; nothing put in their place.
        SendMessageW(Handle(), HKM_SETRULES, HKCOMB_NONE | HKCOMB_S, MAKELPARAM(0, 0));
        Watch(Handle(), *this);
    });
}

HotKeyEdit::~HotKeyEdit() {
    Unwatch(Handle(), *this);
}

std::uint16_t HotKeyEdit::Value() const {
    const auto value = static_cast<WORD>(SendMessageW(Handle(), HKM_GETHOTKEY, 0, 0));
    const BYTE flags = HIBYTE(value);
    std::uint16_t shortCut = LOBYTE(value);
    if (shortCut == 0) return 0;
    if (flags & HOTKEYF_SHIFT) shortCut |= kShift;
    if (flags & HOTKEYF_CONTROL) shortCut |= kCtrl;
    if (flags & HOTKEYF_ALT) shortCut |= kAlt;
    return shortCut;
}

void HotKeyEdit::SetValue(std::uint16_t shortCut) {
    BYTE flags = 0;
    if (shortCut & kShift) flags |= HOTKEYF_SHIFT;
    if (shortCut & kCtrl) flags |= HOTKEYF_CONTROL;
    if (shortCut & kAlt) flags |= HOTKEYF_ALT;
    const BYTE key = static_cast<BYTE>(shortCut & 0xFF);
    SendMessageW(Handle(), HKM_SETHOTKEY, key ? MAKEWORD(key, flags) : 0, 0);
}

bool HotKeyEdit::HandleReflected(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    if (message != WM_COMMAND || HIWORD(wParam) != EN_CHANGE) return false;
    // The control's own rules put no modifier in place of a refused one, which would leave the bare key;
    // a refused combination is cleared instead.
    const std::uint16_t value = Value();
    const std::uint16_t modifiers = value & (kShift | kCtrl | kAlt);
    if ((value & 0xFF) != 0 && (modifiers == 0 || modifiers == kShift)) SetValue(0);
    result = 0;
    return true;
}

LRESULT HotKeyEdit::WatchedMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_KILLFOCUS) return DefSubclassProc(hwnd, message, wParam, lParam);
    const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
    // Only a move within the window counts as leaving the field, not a switch to another program.
    HWND to = reinterpret_cast<HWND>(wParam);
    if (to && GetAncestor(to, GA_ROOT) == GetAncestor(hwnd, GA_ROOT) && OnExit) {
        try {
            OnExit();
        } catch (...) {
            Application::HandleCurrentException();
        }
    }
    return result;
}

// --- Edit

Edit::Edit(Container& parent, const Bounds& bounds, bool readOnly, bool tabStop) {
    parent.AddControl([this, &parent, bounds, readOnly, tabStop] {
        Create(parent, L"EDIT", ES_AUTOHSCROLL | (readOnly ? ES_READONLY : 0) | (tabStop ? WS_TABSTOP : 0),
               WS_EX_CLIENTEDGE, bounds);
    });
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
    if (Handle()) InvalidateRect(Handle(), nullptr, TRUE);
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

ComboBox::ComboBox(Container& parent, const Bounds& bounds, int itemHeight, bool listOnly)
    : itemHeight_(itemHeight) {
    parent.AddControl([this, &parent, bounds, itemHeight, listOnly] {
        // The height of a drop-down combo box includes its list.
        Bounds withList = bounds;
        withList.height = bounds.height + 8 * itemHeight;
        Create(parent, WC_COMBOBOXW,
               (listOnly ? CBS_DROPDOWNLIST : CBS_DROPDOWN | CBS_AUTOHSCROLL) | WS_VSCROLL | WS_TABSTOP, 0,
               withList);
        SendMessageW(Handle(), CB_SETITEMHEIGHT, 0, ScaleToDpi(itemHeight, WindowDpi(Handle())));
    });
}

void ComboBox::DpiChanged(int, int newDpi) {
    SendMessageW(Handle(), CB_SETITEMHEIGHT, 0, ScaleToDpi(itemHeight_, newDpi));
}

int ComboBox::ItemIndex() const {
    return static_cast<int>(SendMessageW(Handle(), CB_GETCURSEL, 0, 0));
}

void ComboBox::SetItemIndex(int index) {
    if (index < 0 || index >= ItemCount()) index = -1;
    SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void ComboBox::AddItem(const std::wstring& item) {
    SendMessageW(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Localized(item).c_str()));
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

SpinEdit::SpinEdit(Container& parent, const Bounds& bounds, TColor color, SpinTyping typing) {
    backgroundRgb_ = ColorToRGB(color);
    background_.reset(CreateSolidBrush(backgroundRgb_));
    parent.AddControl([this, &parent, bounds, typing] {
        Create(parent, L"EDIT",
               (typing == SpinTyping::Disabled ? ES_READONLY : 0) | ES_AUTOHSCROLL | WS_TABSTOP,
               WS_EX_CLIENTEDGE, bounds);
        upDown_.reset(CreateWindowExW(
            0, UPDOWN_CLASSW, L"",
            WS_CHILD | WS_VISIBLE | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_SETBUDDYINT | UDS_NOTHOUSANDS, 0, 0,
            0, 0, parent.ContainerHandle(), nullptr, GetModuleHandleW(nullptr), nullptr));
        SendMessageW(upDown_.get(), UDM_SETBUDDY, reinterpret_cast<WPARAM>(Handle()), 0);
        SendMessageW(upDown_.get(), UDM_SETRANGE32, 0, 0);
        Show(0);
    });
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
    SendMessageW(upDown_.get(), UDM_SETPOS32, 0, value);
    SetWindowTextW(Handle(), std::to_wstring(value).c_str());
}

void SpinEdit::SetRange(int minimum, int maximum) {
    min_ = minimum;
    max_ = maximum;
    SendMessageW(upDown_.get(), UDM_SETRANGE32, static_cast<WPARAM>(minimum), maximum);
}

void SpinEdit::SetEnabledWithArrows(bool enabled) {
    SetEnabled(enabled);
    EnableWindow(upDown_.get(), enabled ? TRUE : FALSE);
}

bool SpinEdit::HandleReflected(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    switch (message) {
    case WM_COMMAND: {
        if (HIWORD(wParam) == EN_KILLFOCUS) {
            if (Text() != std::to_wstring(value_)) Show(value_);
            result = 0;
            return true;
        }
        if (HIWORD(wParam) != EN_CHANGE) return false;
        // The arrows and typing write into the edit.
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

void DrawnControl::Create(Container& parent, const Bounds& bounds) {
    StdControl::Create(parent, L"STATIC", SS_OWNERDRAW | WS_CLIPSIBLINGS, 0, bounds);
}

void DrawnControl::Repaint() {
    if (Handle()) InvalidateRect(Handle(), nullptr, TRUE);
}

bool DrawnControl::HandleReflected(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
    if (message != WM_DRAWITEM) return false;
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    Paint(item->hDC, item->rcItem);
    result = TRUE;
    return true;
}

Panel::Panel(Container& parent, const Bounds& bounds, TColor color) : color_(color) {
    parent.AddControl([this, &parent, bounds] { Create(parent, bounds); });
}

namespace {
// One bevel, BevelWidth pixels wide, shrinking the rectangle as it goes.
void DrawBevel(HDC dc, RECT& r, BevelKind kind, int width) {
    if (kind == BevelKind::None) return;
    for (int i = 0; i < width; ++i) {
        DrawEdge(dc, &r, kind == BevelKind::Raised ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT);
        InflateRect(&r, -1, -1);
    }
}
} // namespace

void Panel::Paint(HDC dc, const RECT& client) {
    base::UniqueHbrush brush(CreateSolidBrush(ColorToRGB(color_)));
    FillRect(dc, &client, brush.get());
    RECT r = client;
    DrawBevel(dc, r, BevelOuter, BevelWidth);
    DrawBevel(dc, r, BevelInner, BevelWidth);
    if (!Caption.empty()) {
        SetBkMode(dc, TRANSPARENT);
        base::SelectGuard font(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(Handle(), WM_GETFONT, 0, 0)));
        DrawTextW(dc, Caption.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    const int dpi = WindowDpi(Handle());
    for (const PanelShape* shape : shapes_)
        shape->Paint(dc, dpi);
}

PanelShape::PanelShape(Panel& panel, const Bounds& bounds, PanelShapeType type, TColor brush, TColor pen)
    : bounds_(bounds), type_(type), brush_(brush), pen_(pen) {
    panel.AddShape(this);
    panel.Repaint();
}

void PanelShape::Paint(HDC dc, int dpi) const {
    base::UniqueHbrush brush(CreateSolidBrush(ColorToRGB(brush_)));
    base::UniqueHpen pen(CreatePen(PS_SOLID, 1, ColorToRGB(pen_)));
    base::SelectGuard selectBrush(dc, brush.get());
    base::SelectGuard selectPen(dc, pen.get());
    const RECT r = Bounds{ScaleToDpi(bounds_.left, dpi), ScaleToDpi(bounds_.top, dpi),
                          ScaleToDpi(bounds_.width, dpi), ScaleToDpi(bounds_.height, dpi)}
                       .Rect();
    if (type_ == PanelShapeType::RoundRect) {
        // The corner as a shape of this size has always had it: a quarter of the shorter side, as drawn.
        const int corner = std::min(r.right - r.left, r.bottom - r.top) / 4;
        RoundRect(dc, r.left, r.top, r.right, r.bottom, corner, corner);
    } else {
        Rectangle(dc, r.left, r.top, r.right, r.bottom);
    }
}

Bevel::Bevel(Form& parent, const Bounds& bounds) : GraphicControl(parent) {
    SetBounds(bounds.left, bounds.top, bounds.width, bounds.height);
}

void Bevel::Paint(HDC dc) {
    RECT edge = BoundsRect();
    DrawEdge(dc, &edge, EDGE_ETCHED, BF_RECT);
}

Image::Image(Container& parent, const Bounds& bounds, TColor background) : background_(background) {
    parent.AddControl([this, &parent, bounds] {
        Create(parent, bounds);
        // Above the panel it sits on.
        SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    });
}

void Image::SetIcon(base::UniqueHicon icon) {
    icon_ = std::move(icon);
    Repaint();
}

void Image::Paint(HDC dc, const RECT& client) {
    base::UniqueHbrush brush(CreateSolidBrush(ColorToRGB(background_)));
    FillRect(dc, &client, brush.get());
    if (icon_) DrawIconEx(dc, 0, 0, icon_.get(), 0, 0, 0, nullptr, DI_NORMAL);
}

} // namespace ui
