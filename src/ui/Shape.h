#pragma once
// Graphic controls: no window of their own; the parent form paints them in their order, hit-tests
// them by their bounds (topmost first) and gives each its mouse events and hint.

#include "base/Color.h"
#include "ui/Input.h"

#include <windows.h>

#include <functional>
#include <string>

namespace ui {

class Form;

class GraphicControl {
public:
    explicit GraphicControl(Form& parent);
    virtual ~GraphicControl();
    GraphicControl(const GraphicControl&) = delete;
    GraphicControl& operator=(const GraphicControl&) = delete;

    Form& Parent() const { return parent_; }

    int Left() const { return bounds_.left; }
    int Top() const { return bounds_.top; }
    int Width() const { return bounds_.right - bounds_.left; }
    int Height() const { return bounds_.bottom - bounds_.top; }
    const RECT& BoundsRect() const { return bounds_; }
    // Setting a value equal to the current one repaints nothing.
    void SetLeft(int left) { SetBounds(left, Top(), Width(), Height()); }
    void SetTop(int top) { SetBounds(Left(), top, Width(), Height()); }
    void SetWidth(int width) { SetBounds(Left(), Top(), width, Height()); }
    void SetHeight(int height) { SetBounds(Left(), Top(), Width(), height); }
    void SetBounds(int left, int top, int width, int height);

    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }

    const std::wstring& Hint() const { return hint_; }
    void SetHint(const std::wstring& hint);
    // Own hint switch, or the form's when ParentShowHint holds.
    void SetShowHint(bool showHint);
    bool EffectiveShowHint() const;
    bool ParentShowHint = true;

    HCURSOR Cursor = nullptr; // null: the form's cursor

    std::function<void(MouseButton, ShiftState, int x, int y)> OnMouseDown;
    std::function<void(MouseButton, ShiftState, int x, int y)> OnMouseUp;
    std::function<void(ShiftState, int x, int y)> OnMouseMove;

    virtual void Paint(HDC dc) = 0;

private:
    Form& parent_;
    RECT bounds_{};
    bool visible_ = true;
    std::wstring hint_;
    bool showHint_ = false;
};

enum class ShapeType { Rectangle, Ellipse };

class Shape : public GraphicControl {
public:
    Shape(Form& parent, ShapeType type, TColor brushColor, TColor penColor);

    TColor BrushColor() const { return brushColor_; }
    TColor PenColor() const { return penColor_; }
    void SetBrushColor(TColor color);
    void SetPenColor(TColor color);

    void Paint(HDC dc) override;

private:
    ShapeType type_;
    TColor brushColor_;
    TColor penColor_;
};

} // namespace ui
