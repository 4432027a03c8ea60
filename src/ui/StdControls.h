#pragma once
// Thin classes over the standard controls that the dialogs use: labels, push buttons, edits, an
// editable drop-down combo box, a spin edit (edit plus up-down), and owner-drawn panels, bevels and
// icon images. Each takes the form's font unless it is given one.
// https://learn.microsoft.com/windows/win32/controls/individual-control-info

#include "base/Color.h"
#include "ui/Graphics.h"
#include "ui/Handles.h"
#include "ui/Shape.h"
#include "ui/Window.h"

#include <functional>
#include <optional>
#include <string>

namespace ui {

class Form;

struct Bounds {
    int left = 0, top = 0, width = 0, height = 0;
    RECT Rect() const { return {left, top, left + width, top + height}; }
};

// What every control here shares: its text, its enabled state, and its font.
class StdControl : public Control {
public:
    std::wstring Text() const;
    bool Enabled() const;
    void SetEnabled(bool enabled);
    void SetFocus();

protected:
    void Create(Form& parent, const wchar_t* className, DWORD style, DWORD exStyle, const Bounds& bounds,
                int id = 0);
    // A font of the control's own instead of the form's.
    void SetOwnFont(const FontSpec& font);

private:
    UniqueHfont ownFont_;
};

class Label : public StdControl {
public:
    Label(Form& parent, const Bounds& bounds, const std::wstring& caption,
          const std::optional<FontSpec>& font = std::nullopt);
    void SetCaption(const std::wstring& caption);
};

class Button : public StdControl {
public:
    // A default button answers Enter in its form (given the id IDOK there).
    Button(Form& parent, const Bounds& bounds, const std::wstring& caption, bool isDefault = false);
    std::function<void()> OnClick;
    void Click();
    bool HandleReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

class Edit : public StdControl {
public:
    Edit(Form& parent, const Bounds& bounds, bool readOnly = false, bool tabStop = true);
    // Sets the text only when it differs; OnChange then runs at once, as for typing.
    void SetText(const std::wstring& text);
    // Background colour; none: the system's.
    void SetColor(TColor color);
    std::function<void()> OnChange;
    bool HandleReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    bool settingText_ = false;
    UniqueHbrush background_;
    COLORREF backgroundRgb_ = 0;
};

// Editable drop-down list. OnChange runs for the user's changes only: typing or choosing from the list.
class ComboBox : public StdControl {
public:
    ComboBox(Form& parent, const Bounds& bounds, int itemHeight);
    void AddItem(const std::wstring& item);
    int ItemCount() const;
    std::wstring Item(int index) const;
    void SetText(const std::wstring& text);
    // Chooses item index as the user does, OnChange included.
    void ChooseItem(int index);
    std::function<void()> OnChange;
    bool HandleReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

// An edit that only the arrows change, with an up-down control at its right.
class SpinEdit : public StdControl {
public:
    SpinEdit(Form& parent, const Bounds& bounds, TColor color);
    int Value() const;
    void SetValue(int value);
    int MinValue() const { return min_; }
    int MaxValue() const { return max_; }
    void SetRange(int minimum, int maximum);
    void SetEnabledWithArrows(bool enabled);
    HWND UpDown() const { return upDown_; }
    // Runs whenever the value changes, by the arrows or by SetValue.
    std::function<void()> OnChange;
    bool HandleReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    ~SpinEdit() override;

private:
    void Show(int value);
    int min_ = 0, max_ = 0, value_ = 0;
    HWND upDown_ = nullptr;
    UniqueHbrush background_;
    COLORREF backgroundRgb_ = 0;
};

// Owner-drawn statics: a panel with a lowered inner bevel, and an icon image.
class DrawnControl : public StdControl {
public:
    bool HandleReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void Repaint();

protected:
    void Create(Form& parent, const Bounds& bounds);
    virtual void Paint(HDC dc, const RECT& client) = 0;
};

class Panel : public DrawnControl {
public:
    Panel(Form& parent, const Bounds& bounds, TColor color);
    TColor Color() const { return color_; }

protected:
    void Paint(HDC dc, const RECT& client) override;

private:
    TColor color_;
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
    Image(Form& parent, const Bounds& bounds, TColor background);
    void SetIcon(UniqueHicon icon);
    void Clear() { SetIcon(UniqueHicon()); }
    HICON Icon() const { return icon_.get(); }

protected:
    void Paint(HDC dc, const RECT& client) override;

private:
    TColor background_;
    UniqueHicon icon_;
};

} // namespace ui
