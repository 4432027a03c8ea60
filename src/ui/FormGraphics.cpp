#include "ui/Form.h"

#include "ui/Hints.h"
#include "ui/Language.h"
#include "ui/Shape.h"

#include <windowsx.h>

#include <algorithm>

// The form's graphic controls: their painting, hit tests, cursors and hint tools.

namespace ui {

void Form::AddGraphic(GraphicControl* graphic) {
    graphics_.push_back(graphic);
    HintsChanged();
}

void Form::RemoveGraphic(GraphicControl* graphic) {
    std::erase(graphics_, graphic);
    if (HandleAllocated()) {
        InvalidateRect(Handle(), &graphic->BoundsRect(), FALSE);
        HintsChanged();
    }
}

void Form::GraphicChanged(GraphicControl* graphic, const RECT& oldBounds, bool boundsOnly) {
    if (!HandleAllocated()) return;
    InvalidateRect(Handle(), &oldBounds, FALSE);
    InvalidateRect(Handle(), &graphic->BoundsRect(), FALSE);
    if (!hints_ || hintsRebuildPending_) return;
    if (boundsOnly && graphic->Visible()) {
        // The common case (a pupil moving): only the tool's rectangle follows.
        auto it = std::find(graphics_.begin(), graphics_.end(), graphic);
        auto id = static_cast<UINT_PTR>(it - graphics_.begin()) + 1;
        hints_->SetToolRect(Handle(), id, graphic->BoundsRect());
    } else {
        HintsChanged();
    }
}

HintHost& Form::Hints() {
    if (!hints_) {
        hints_ = std::make_unique<HintHost>(Handle());
        hintsRebuildPending_ = true;
    }
    if (hintsRebuildPending_) RebuildGraphicHints();
    return *hints_;
}

void Form::HintsChanged() {
    // Building a form changes its hints many times over; the tools are made once, when the message
    // loop gets to it (or when somebody asks for them).
    if (!HandleAllocated() || hintsRebuildPending_) return;
    hintsRebuildPending_ = true;
    PostMessageW(Handle(), kRebuildHintsMessage, 0, 0);
}

void Form::RebuildGraphicHints() {
    if (!hints_) hints_ = std::make_unique<HintHost>(Handle());
    hintsRebuildPending_ = false;
    HintHost& hints = *hints_;
    HWND hwnd = Handle();
    for (std::size_t i = 0; i < graphics_.size() + 1; ++i)
        hints.RemoveTool(hwnd, i + 1);
    hints.RemoveTool(hwnd, kFormHintTool);
    // The tooltip takes the first tool under the pointer, so the topmost graphic goes first. A visible
    // graphic always gets a tool, so that the form's hint does not show through one without a hint.
    for (std::size_t i = graphics_.size(); i-- > 0;) {
        GraphicControl* g = graphics_[i];
        if (!g->Visible()) continue;
        std::wstring text;
        if (g->EffectiveShowHint()) text = Localized(g->Hint().empty() ? Hint : g->Hint());
        hints.AddTool(hwnd, i + 1, g->BoundsRect(), text);
    }
    RECT client{};
    GetClientRect(hwnd, &client);
    hints.AddTool(hwnd, kFormHintTool, client, ShowHint ? Localized(Hint) : std::wstring());
}

GraphicControl* Form::GraphicAt(POINT p) const {
    for (auto it = graphics_.rbegin(); it != graphics_.rend(); ++it)
        if ((*it)->Visible() && PtInRect(&(*it)->BoundsRect(), p)) return *it;
    return nullptr;
}

bool Form::RouteMouseToGraphic(UINT message, WPARAM wParam, LPARAM lParam) {
    POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    GraphicControl* g = GraphicAt(p);
    if (!g) return false;
    ShiftState shift = MouseShiftState(wParam) | (IsDoubleClick(message) ? ssDouble : 0);
    int x = p.x - g->Left(), y = p.y - g->Top();
    if (message == WM_MOUSEMOVE) {
        if (g->OnMouseMove) g->OnMouseMove(shift, x, y);
        return true;
    }
    if (IsButtonDown(message)) {
        if (g->OnMouseDown) g->OnMouseDown(ButtonOf(message), shift, x, y);
        return true;
    }
    // Button releases also reach the form, so that a right click still opens its context menu.
    if (g->OnMouseUp) g->OnMouseUp(ButtonOf(message), shift, x, y);
    return false;
}

void Form::PaintGraphics(HDC dc) {
    for (GraphicControl* g : graphics_)
        if (g->Visible()) g->Paint(dc);
}

void Form::PaintTo(HDC dc) {
    RECT client{};
    GetClientRect(Handle(), &client);
    FillRect(dc, &client, backgroundBrush_.get());
    PaintGraphics(dc);
}

void Form::Paint() {
    base::PaintDc paint(Handle());
    if (graphics_.empty()) {
        FillRect(paint.get(), &paint.Area(), backgroundBrush_.get());
        return;
    }
    // Drawn off screen first, so that moving shapes do not flicker.
    RECT client{};
    GetClientRect(Handle(), &client);
    base::MemoryDc memory(paint.get());
    base::UniqueHbitmap bitmap(CreateCompatibleBitmap(paint.get(), client.right, client.bottom));
    base::SelectGuard select(memory.get(), bitmap.get());
    PaintTo(memory.get());
    BitBlt(paint.get(), 0, 0, client.right, client.bottom, memory.get(), 0, 0, SRCCOPY);
}

bool Form::SetCursorFor(HWND target, WORD hitTest) {
    if (hitTest != HTCLIENT) return false;
    HCURSOR cursor = nullptr;
    if (target == Handle()) {
        POINT p{};
        GetCursorPos(&p);
        ScreenToClient(Handle(), &p);
        GraphicControl* g = GraphicAt(p);
        cursor = g && g->Cursor ? g->Cursor : Cursor;
    } else if (Control* control = Control::FromHandle(target)) {
        cursor = control->Cursor;
    }
    if (!cursor) return false;
    SetCursor(cursor);
    return true;
}

} // namespace ui
