#pragma once
// Thin classes over the standard controls that the dialogs use: labels, push buttons, edits, an
// editable drop-down combo box, a spin edit (edit plus up-down), and owner-drawn panels, bevels and
// icon images. Each takes the form's font unless it is given one.
// https://learn.microsoft.com/windows/win32/controls/individual-control-info

#include "base/Color.h"
#include "base/Handles.h"
#include "ui/Graphics.h"
#include "ui/Shape.h"
#include "ui/Container.h"
#include "ui/Window.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace ui {

class Form;

struct Bounds {
    int left = 0, top = 0, width = 0, height = 0;
    RECT Rect() const { return {left, top, left + width, top + height}; }
    // The same bounds given relative to a box placed at origin: as seen from the box's own parent.
    constexpr Bounds Within(const Bounds& origin) const {
        return {origin.left + left, origin.top + top, width, height};
    }
};

// What every control here shares: its text, its enabled state, and its font. The constructors record; the
// window is made when the parent's window exists (Container::AddControl).
class StdControl : public Control {
public:
    std::wstring Text() const;
    bool Enabled() const;
    void SetEnabled(bool enabled);
    void SetFocus();
    // The form moved to a monitor of another DPI: a font of the control's own is made again for it.
    // True when there was one.
    bool OwnFontToDpi(int dpi);
    // The form moved to a monitor of another DPI, after the control's bounds were scaled: sizes the
    // control keeps inside itself follow.
    virtual void DpiChanged(int /*oldDpi*/, int /*newDpi*/) {}

protected:
    void Create(Container& parent, const wchar_t* className, DWORD style, DWORD exStyle, const Bounds& bounds,
                int id = 0);
    // A font of the control's own instead of the form's.
    void SetOwnFont(const FontSpec& font);

private:
    base::UniqueHfont ownFont_;
    FontSpec ownFontSpec_;
};

class Label : public StdControl {
public:
    Label(Container& parent, const Bounds& bounds, const std::wstring& caption,
          const std::optional<FontSpec>& font = std::nullopt);
    void SetCaption(const std::wstring& caption);
};

class Button : public StdControl {
public:
    // A default button answers Enter in its form (given the id IDOK there).
    Button(Container& parent, const Bounds& bounds, const std::wstring& caption, bool isDefault = false);
    std::function<void()> OnClick;
    void Click();
    bool HandleReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

// A check box. Setting the state from code runs OnClick when the state changes, as a click does.
class CheckBox : public StdControl {
public:
    CheckBox(Container& parent, const Bounds& bounds, const std::wstring& caption);
    bool Checked() const;
    void SetChecked(bool checked);
    std::function<void()> OnClick;
    bool HandleReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

// A frame with a caption around other controls, which are its siblings placed inside it.
class GroupBox : public StdControl {
public:
    GroupBox(Container& parent, const Bounds& bounds, const std::wstring& caption);
};

// A field that takes a key combination as typed. Values are shortcut values: the virtual key in the low
// byte, Shift 0x2000, Ctrl 0x4000, Alt 0x8000.
class HotKeyEdit : public StdControl {
public:
    // Keys with none of the modifiers, or with Shift alone, are refused.
    HotKeyEdit(Container& parent, const Bounds& bounds);
    ~HotKeyEdit() override;
    std::uint16_t Value() const;
    void SetValue(std::uint16_t shortCut);
    // The focus went to another control of the same window.
    std::function<void()> OnExit;
    bool HandleReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    // Its own messages, watched for the focus leaving it (see ui/Subclass.h).
    LRESULT WatchedMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
};

class Edit : public StdControl {
public:
    Edit(Container& parent, const Bounds& bounds, bool readOnly = false, bool tabStop = true);
    // Sets the text only when it differs; OnChange then runs at once, as for typing.
    void SetText(const std::wstring& text);
    // Background colour; none: the system's.
    void SetColor(TColor color);
    std::function<void()> OnChange;
    bool HandleReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    bool settingText_ = false;
    base::UniqueHbrush background_;
    COLORREF backgroundRgb_ = 0;
};

// Drop-down list, editable or not. OnChange runs for the user's changes only: typing or choosing from the
// list.
class ComboBox : public StdControl {
public:
    ComboBox(Container& parent, const Bounds& bounds, int itemHeight, bool listOnly = false);
    void DpiChanged(int oldDpi, int newDpi) override;
    // The chosen item, -1 for none; an index outside the list chooses none.
    int ItemIndex() const;
    void SetItemIndex(int index);
    void AddItem(const std::wstring& item);
    int ItemCount() const;
    std::wstring Item(int index) const;
    void SetText(const std::wstring& text);
    // Chooses item index as the user does, OnChange included.
    void ChooseItem(int index);
    std::function<void()> OnChange;
    bool HandleReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    int itemHeight_; // 96-DPI units
};

// A number edit with an up-down control at its right. Typing, where allowed, is read as it goes (text
// that is no number reads as the minimum) and the text is put within the range when the edit loses the
// focus; otherwise only the arrows change it.
enum class SpinTyping { Allowed, Disabled };
class SpinEdit : public StdControl {
public:
    SpinEdit(Container& parent, const Bounds& bounds, TColor color, SpinTyping typing);
    int Value() const;
    void SetValue(int value);
    int MinValue() const { return min_; }
    int MaxValue() const { return max_; }
    void SetRange(int minimum, int maximum);
    void SetEnabledWithArrows(bool enabled);
    HWND UpDown() const { return upDown_.get(); }
    // Runs whenever the value changes, by the arrows or by SetValue.
    std::function<void()> OnChange;
    bool HandleReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void Show(int value);
    int min_ = 0, max_ = 0, value_ = 0;
    base::UniqueHelperWindow upDown_;
    base::UniqueHbrush background_;
    COLORREF backgroundRgb_ = 0;
};

// Owner-drawn statics: a panel with a lowered inner bevel, and an icon image.
class DrawnControl : public StdControl {
public:
    bool HandleReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void Repaint();

protected:
    void Create(Container& parent, const Bounds& bounds);
    virtual void Paint(HDC dc, const RECT& client) = 0;
};

enum class BevelKind { None, Lowered, Raised };

class PanelShape;

// A filled panel with its bevels (the outer one drawn first, each BevelWidth pixels), its caption centred,
// and the shapes placed on it. The default is the lowered inner bevel of a display field.
class Panel : public DrawnControl {
public:
    Panel(Container& parent, const Bounds& bounds, TColor color);
    TColor Color() const { return color_; }
    BevelKind BevelInner = BevelKind::Lowered;
    BevelKind BevelOuter = BevelKind::None;
    int BevelWidth = 1;
    std::wstring Caption;
    void AddShape(PanelShape* shape) { shapes_.push_back(shape); }

protected:
    void Paint(HDC dc, const RECT& client) override;

private:
    TColor color_;
    std::vector<PanelShape*> shapes_;
};

enum class PanelShapeType { Rectangle, RoundRect };

// A shape drawn by the panel it sits on, above the panel's face.
class PanelShape {
public:
    PanelShape(Panel& panel, const Bounds& bounds, PanelShapeType type, TColor brush, TColor pen = clBlack);
    // Bounds are 96-DPI units, drawn at the panel's DPI.
    void Paint(HDC dc, int dpi) const;
    const Bounds& BoundsInPanel() const { return bounds_; }
    TColor Brush() const { return brush_; }

private:
    Bounds bounds_;
    PanelShapeType type_;
    TColor brush_;
    TColor pen_;
};

// An etched frame drawn on the form itself, under its controls.
class Bevel : public GraphicControl {
public:
    Bevel(Form& parent, const Bounds& bounds);
    void Paint(HDC dc) override;
};

// Shows one icon at its top-left corner on the colour behind it; owns the icon.
class Image : public DrawnControl {
public:
    Image(Container& parent, const Bounds& bounds, TColor background);
    void SetIcon(base::UniqueHicon icon);
    void Clear() { SetIcon(base::UniqueHicon()); }
    HICON Icon() const { return icon_.get(); }

protected:
    void Paint(HDC dc, const RECT& client) override;

private:
    TColor background_;
    base::UniqueHicon icon_;
};

} // namespace ui
