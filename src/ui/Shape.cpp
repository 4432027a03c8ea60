#include "ui/Shape.h"

#include "base/Handles.h"
#include "ui/Form.h"
#include "ui/Graphics.h"

namespace ui {

GraphicControl::GraphicControl(Form& parent) : parent_(parent) {
    parent_.AddGraphic(this);
}

GraphicControl::~GraphicControl() {
    parent_.RemoveGraphic(this);
}

void GraphicControl::SetBounds(int left, int top, int width, int height) {
    RECT next{left, top, left + width, top + height};
    if (EqualRect(&next, &bounds_)) return;
    RECT old = bounds_;
    bounds_ = next;
    parent_.GraphicChanged(this, old, true);
}

void GraphicControl::SetVisible(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    parent_.GraphicChanged(this, bounds_, false);
}

void GraphicControl::SetHint(const std::wstring& hint) {
    if (hint_ == hint) return;
    hint_ = hint;
    parent_.HintsChanged();
}

void GraphicControl::SetShowHint(bool showHint) {
    ParentShowHint = false;
    showHint_ = showHint;
    parent_.HintsChanged();
}

bool GraphicControl::EffectiveShowHint() const {
    return ParentShowHint ? parent_.ShowHint : showHint_;
}

Shape::Shape(Form& parent, ShapeType type, TColor brushColor, TColor penColor)
    : GraphicControl(parent), type_(type), brushColor_(brushColor), penColor_(penColor) {}

void Shape::SetBrushColor(TColor color) {
    if (brushColor_ == color) return;
    brushColor_ = color;
    Parent().GraphicChanged(this, BoundsRect(), false);
}

void Shape::SetPenColor(TColor color) {
    if (penColor_ == color) return;
    penColor_ = color;
    Parent().GraphicChanged(this, BoundsRect(), false);
}

void Shape::Paint(HDC dc) {
    base::UniqueHbrush brush(CreateSolidBrush(ColorToRGB(brushColor_)));
    base::UniqueHpen pen(CreatePen(PS_SOLID, 1, ColorToRGB(penColor_)));
    base::SelectGuard selectBrush(dc, brush.get());
    base::SelectGuard selectPen(dc, pen.get());
    const RECT& r = BoundsRect();
    if (type_ == ShapeType::Ellipse)
        Ellipse(dc, r.left, r.top, r.right, r.bottom);
    else
        Rectangle(dc, r.left, r.top, r.right, r.bottom);
}

} // namespace ui
