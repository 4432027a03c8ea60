#pragma once
// Form: a top-level window owned by the application window, with the properties and events the
// program's windows use. Graphic controls (shapes) have no window of their own: the form paints them
// in their order and hit-tests them, topmost first.

#include "base/Color.h"
#include "base/Handles.h"
#include "ui/Graphics.h"
#include "ui/Input.h"
#include "ui/MonitorRules.h"
#include "ui/Container.h"
#include "ui/Window.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ui {

class GraphicControl;
class HintHost;
class PopupMenu;
class Timer;

enum class BorderStyle {
    None,        // a bare popup
    Single,      // fixed frame with a caption
    Dialog,      // dialog frame with a caption
    SizeToolWin, // sizeable tool window with a small caption
};

struct FormParams {
    const wchar_t* className = L"TForm";
    std::wstring caption;
    int left = 0, top = 0, width = 100, height = 100;
    bool clientSize = false; // width and height give the client area
    bool centred = false;    // left and top are ignored: the middle of the screen
    BorderStyle borderStyle = BorderStyle::Single;
    bool systemMenu = true;
    bool stayOnTop = false;
    bool vertScrollBar = false;
    TColor color = clBtnFace;
    FontSpec font{};
};

// Form's own private message; derived forms number theirs from WM_APP + 0x200.
constexpr UINT kRebuildHintsMessage = WM_APP + 0x100;

// Made in two steps: the constructor records the parameters (a derived form's constructor its controls,
// which wait for the window), then Create makes the window, the controls, calls WindowCreated and runs
// OnCreate. Destroy (called by the application before it deletes the form) takes the window down before
// the object, so no message ever reaches a form that is half built or half destroyed.
class Form : public Window, public Container {
public:
    explicit Form(const FormParams& params);
    ~Form() override;

    void Create();
    void Destroy();

    // Bounds in screen pixels; setting one keeps the others.
    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    RECT BoundsRect() const;
    void SetLeft(int left);
    void SetTop(int top);
    void SetWidth(int width);
    void SetHeight(int height);
    void SetBounds(int left, int top, int width, int height);
    int ClientWidth() const;
    int ClientHeight() const;
    void SetClientWidth(int width);
    void SetClientHeight(int height);

    std::wstring Caption() const;
    void SetCaption(const std::wstring& caption);

    TColor Color() const { return color_; }
    void SetColor(TColor color);
    HFONT Font() const { return font_.get(); }
    // The DPI the form is laid out for, and a 96-DPI size or offset at that DPI.
    int Dpi() const { return dpi_; }
    // The window's size as it will be at another DPI: the client area scaled, the frame of that DPI. For
    // a form placed in physical pixels on a monitor of another DPI, whose WM_DPICHANGED keeps what it gets.
    SIZE SizeAtDpi(int dpi) const;
    int Scale(int value) const;
    HWND ContainerHandle() const override { return Handle(); }
    HFONT ContainerFont() const override { return Font(); }

    HCURSOR Cursor = nullptr; // null: the arrow
    // Opened by a right click on the form (WM_CONTEXTMENU); not owned.
    ui::PopupMenu* PopupMenu = nullptr;
    std::wstring Hint;
    bool ShowHint = false;
    void HintsChanged();

    bool Visible() const;
    // Makes the form visible (activating it) and brings it to the front.
    void Show();
    // Makes the form visible without activating it.
    void ShowNoActivate();
    // How often Show or ShowNoActivate has been called, whether or not the form was hidden: work that
    // finishes late can tell whether anyone has asked for the form since it began.
    std::uint64_t ShowRequests() const { return showRequests_; }
    void Hide();
    // To the top of the form's band (topmost or not), without taking the activation.
    virtual void BringToFront();
    // The close request: OnCloseQuery decides; the main form then ends the program, any other hides.
    void Close();
    bool CloseQuery();
    // Destroys the form after the current message, and never while one of its handlers is still running
    // (a nested loop, such as a file dialog's, also handles the release).
    void Release();
    bool Busy() const { return dispatchDepth_ > 0; }
    // Called by the application when a release came while the form was busy.
    void ReleaseWhenIdle() { releaseWhenIdle_ = true; }

    int ModalResult = 0;
    int ShowModal();

    bool KeyPreview = false;
    // Tab moves between the controls and Enter presses the default button (the child with id IDOK).
    bool DialogKeys = false;
    std::function<void()> OnCreate;
    std::function<void()> OnShow;
    std::function<void()> OnResize;
    std::function<void(WORD& key, ShiftState shift)> OnKeyDown;
    std::function<void(wchar_t& key)> OnKeyPress;
    std::function<void(bool& canClose)> OnCloseQuery;
    // The form is about to go, its window still there.
    std::function<void()> OnDestroy;
    std::function<void(MouseButton, ShiftState, int x, int y)> OnMouseDown;
    std::function<void(ShiftState, int x, int y)> OnMouseMove;

    // Vertical scroll bar: shown while the range exceeds the client height.
    int VertScrollRange() const { return scrollRange_; }
    void SetVertScrollRange(int range);
    int VertScrollIncrement() const { return scrollIncrement_; }
    void SetVertScrollIncrement(int increment) { scrollIncrement_ = increment; }
    int VertScrollPosition() const { return scrollPosition_; }
    void SetVertScrollPosition(int position);
    bool VertScrollBarVisible() const;

    // Called by the application's message loop for key messages aimed at this form or its controls.
    // Returns true when the key was swallowed.
    bool PreviewKeyDown(WORD& key);
    bool PreviewKeyPress(wchar_t& key);

    // Graphic controls and timers register themselves with their form.
    void AddGraphic(GraphicControl* graphic);
    void RemoveGraphic(GraphicControl* graphic);
    void GraphicChanged(GraphicControl* graphic, const RECT& oldBounds, bool boundsOnly);
    void AddTimer(Timer* timer);
    void RemoveTimer(Timer* timer);
    HintHost& Hints();
    // The hints as they are, without making them; null before the first tool.
    HintHost* ExistingHints() const { return hints_.get(); }
    // The control that gets the focus when the form is activated.
    HWND ActiveControl = nullptr;

protected:
    // The window and the controls constructed with the form exist: a derived form sets up what needs
    // them, binds its handlers, and OnCreate runs next.
    virtual void WindowCreated() {}
    // After WM_DPICHANGED has moved the form to the suggested rectangle and scaled its controls, fonts
    // and graphic controls: a form lays out what it sizes itself.
    virtual void DpiChanged(int /*oldDpi*/) {}
    // Runs OnCreate, reporting a failure.
    void DoCreate();
    // Message handlers of the form classes; unhandled messages go to Form::Dispatch.
    virtual LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    void HandleDestroyed() override;

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) final;
    bool RouteMouseToGraphic(UINT message, WPARAM wParam, LPARAM lParam);
    GraphicControl* GraphicAt(POINT clientPoint) const;
    void Paint();
    void PaintTo(HDC dc);
    void PaintGraphics(HDC dc);
    bool SetCursorFor(HWND target, WORD hitTest);
    void OnVertScroll(WORD code);
    void OnContextMenu(LPARAM lParam);
    void UpdateVertScrollBar();
    void RebuildGraphicHints();
    // FormDpi.cpp
    // The designed bounds, font and graphic controls scaled to the DPI of the monitor the form shows on:
    // the one it is centred in, or the one its designed bounds fall on.
    void ScaleParamsToMonitor(const std::optional<ScreenRect>& centreIn);
    void OnDpiChanged(int newDpi, const RECT& suggested);
    void ScaleChildWindows(int oldDpi, HFONT oldFont);

    // Tool id of the form's own hint tool; graphic controls take 1.. in their order.
    static constexpr UINT_PTR kFormHintTool = 0x7FFF;

    FormParams params_;
    TColor color_;
    int dpi_ = 96;
    base::UniqueHfont font_;
    base::UniqueHbrush backgroundBrush_;
    std::vector<GraphicControl*> graphics_; // drawing order, bottom first
    std::vector<Timer*> timers_;
    std::unique_ptr<HintHost> hints_;
    int scrollRange_ = 0;
    int scrollIncrement_ = 8;
    int scrollPosition_ = 0;
    bool updatingScrollBar_ = false;
    bool hintsRebuildPending_ = false;
    bool inModalLoop_ = false;
    int dispatchDepth_ = 0;
    bool releaseWhenIdle_ = false;
    std::uint64_t showRequests_ = 0;
    bool settingBounds_ = false;
};

// Forms are owned through this: the window goes before the object.
struct FormDeleter {
    void operator()(Form* form) const;
};
using FormPtr = std::unique_ptr<Form, FormDeleter>;

// ShowModal on a form made for this one use, then Release, also when the show fails.
int ShowModalThenRelease(Form& form);

} // namespace ui
