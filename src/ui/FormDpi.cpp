// A form at the DPI of its monitor: made at it, and laid out again when WM_DPICHANGED says the form
// now shows on a monitor of another DPI.

#include "ui/Dpi.h"
#include "ui/Form.h"
#include "ui/Shape.h"
#include "ui/StdControls.h"

#include <vector>

namespace ui {

int Form::Scale(int value) const {
    return ScaleToDpi(value, dpi_);
}

void Form::ScaleParamsToMonitor(const std::optional<ScreenRect>& centreIn) {
    // The designer's bounds and font are 96-DPI units.
    const RECT designed{params_.left, params_.top, params_.left + params_.width,
                        params_.top + params_.height};
    dpi_ = centreIn ? DpiAt(RECT{centreIn->left, centreIn->top, centreIn->right, centreIn->bottom})
                    : DpiAt(designed);
    if (dpi_ == kDefaultDpi) return;
    params_.left = Scale(params_.left);
    params_.top = Scale(params_.top);
    params_.width = Scale(params_.width);
    params_.height = Scale(params_.height);
    font_ = CreateFormFont(params_.font, dpi_);
    // Graphic controls constructed with the form (bevels) were given designer's bounds too.
    for (GraphicControl* graphic : graphics_)
        graphic->SetBounds(Scale(graphic->Left()), Scale(graphic->Top()), Scale(graphic->Width()),
                           Scale(graphic->Height()));
}

SIZE Form::SizeAtDpi(int dpi) const {
    if (dpi == dpi_) return {Width(), Height()};
    RECT outer{0, 0, ScaleBetweenDpis(ClientWidth(), dpi_, dpi), ScaleBetweenDpis(ClientHeight(), dpi_, dpi)};
    AdjustWindowRectForDpi(outer, static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_STYLE)),
                           static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_EXSTYLE)), dpi);
    return {outer.right - outer.left, outer.bottom - outer.top};
}

void Form::OnDpiChanged(int newDpi, const RECT& suggested) {
    if (newDpi <= 0 || newDpi == dpi_) return;
    const int oldDpi = dpi_;
    dpi_ = newDpi;
    // The old font stays alive until every control that used it has the new one.
    base::UniqueHfont oldFont = std::move(font_);
    font_ = CreateFormFont(params_.font, dpi_);
    ScaleChildWindows(oldDpi, oldFont.get());
    for (GraphicControl* graphic : graphics_)
        graphic->SetBounds(ScaleBetweenDpis(graphic->Left(), oldDpi, dpi_),
                           ScaleBetweenDpis(graphic->Top(), oldDpi, dpi_),
                           ScaleBetweenDpis(graphic->Width(), oldDpi, dpi_),
                           ScaleBetweenDpis(graphic->Height(), oldDpi, dpi_));
    // Moved by the user, or by Windows: the suggested rectangle keeps the form's size in 96-DPI units.
    // Moved by SetBounds: the bounds it sets are already the physical ones wanted.
    // https://learn.microsoft.com/windows/win32/hidpi/wm-dpichanged
    if (!settingBounds_)
        SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                     suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    DpiChanged(oldDpi);
    InvalidateRect(Handle(), nullptr, TRUE);
}

void Form::ScaleChildWindows(int oldDpi, HFONT oldFont) {
    // Every descendant, pages and the controls on them too; each keeps its place in its own parent.
    std::vector<HWND> children;
    EnumChildWindows(
        Handle(),
        [](HWND child, LPARAM list) {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&children));
    for (HWND child : children) {
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
        const int left = ScaleBetweenDpis(r.left, oldDpi, dpi_), top = ScaleBetweenDpis(r.top, oldDpi, dpi_);
        SetWindowPos(child, nullptr, left, top, ScaleBetweenDpis(r.right, oldDpi, dpi_) - left,
                     ScaleBetweenDpis(r.bottom, oldDpi, dpi_) - top, SWP_NOZORDER | SWP_NOACTIVATE);
        auto* control = dynamic_cast<StdControl*>(Control::FromHandle(child));
        if (control) control->DpiChanged(oldDpi, dpi_);
        if (control && control->OwnFontToDpi(dpi_)) continue;
        if (reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)) == oldFont)
            SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
    }
}

} // namespace ui
