#include "ui/Form.h"

#include "base/ScopeExit.h"
#include "base/WinUtil.h"
#include "ui/Application.h"
#include "ui/Dpi.h"
#include "ui/Monitors.h"
#include "ui/Hints.h"
#include "ui/Language.h"
#include "ui/Menu.h"
#include "ui/Timer.h"

#include <windowsx.h>

#include <algorithm>
#include <utility>

namespace ui {

namespace {

struct Styles {
    DWORD style;
    DWORD exStyle;
};

Styles StylesFor(const FormParams& p) {
    Styles s{WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0};
    switch (p.borderStyle) {
    case BorderStyle::None: s.style |= WS_POPUP; break;
    case BorderStyle::Single: s.style |= WS_CAPTION; break;
    case BorderStyle::Dialog:
        s.style |= WS_POPUP | WS_CAPTION | DS_MODALFRAME;
        s.exStyle |= WS_EX_DLGMODALFRAME;
        break;
    case BorderStyle::SizeToolWin:
        s.style |= WS_CAPTION | WS_THICKFRAME;
        s.exStyle |= WS_EX_TOOLWINDOW;
        break;
    }
    if (p.systemMenu) s.style |= WS_SYSMENU;
    if (p.vertScrollBar) s.style |= WS_VSCROLL;
    if (p.stayOnTop) s.exStyle |= WS_EX_TOPMOST;
    return s;
}

} // namespace

Form::Form(const FormParams& params)
    : params_(params), color_(params.color), font_(CreateFormFont(params.font)),
      backgroundBrush_(CreateSolidBrush(ColorToRGB(color_))) {}

Form::~Form() = default;

void Form::Create() {
    const FormParams& params = params_;
    Styles s = StylesFor(params);
    // A centred form shows in the middle of the screen the main form is on, or of the primary one.
    std::optional<MonitorArea> centreIn;
    if (params.centred) {
        const Form* main = Application::Instance().MainForm();
        centreIn = main && main->Handle() ? MonitorOfWindow(main->Handle()) : PrimaryMonitor();
    }
    // That monitor, or the one the designed bounds fall on, gives the one DPI of the form's size, font,
    // controls and frame.
    ScaleParamsToMonitor(centreIn ? std::optional(centreIn->bounds) : std::nullopt);
    RECT outer{params.left, params.top, params.left + params.width, params.top + params.height};
    if (params.clientSize) AdjustWindowRectForDpi(outer, s.style, s.exStyle, dpi_);
    if (centreIn) {
        const ScreenRect at = CentredIn(ToScreenRect(outer), centreIn->bounds);
        OffsetRect(&outer, at.left - outer.left, at.top - outer.top);
    }
    WindowCreateParams wp;
    wp.className = params.className;
    wp.caption = Localized(params.caption);
    wp.style = s.style;
    wp.exStyle = s.exStyle;
    wp.left = outer.left;
    wp.top = outer.top;
    wp.width = outer.right - outer.left;
    wp.height = outer.bottom - outer.top;
    wp.parent = Application::Instance().Handle(); // owned: no task-bar button
    wp.classStyle = CS_DBLCLKS;
    CreateHandle(wp);
    if (params.vertScrollBar) UpdateVertScrollBar();
    // What was constructed before the window existed: controls in their order, timers, graphics' hints.
    CreateControls();
    for (Timer* timer : timers_)
        timer->Apply();
    if (!graphics_.empty()) HintsChanged();
    WindowCreated();
    DoCreate();
}

void Form::Destroy() {
    if (OnDestroy) std::exchange(OnDestroy, nullptr)();
    // The hint tools go first, while the windows they watch still exist, then the window itself.
    hints_.reset();
    DestroyHandle();
}

void FormDeleter::operator()(Form* form) const {
    form->Destroy();
    delete form;
}

int Form::Left() const {
    return BoundsRect().left;
}
int Form::Top() const {
    return BoundsRect().top;
}
int Form::Width() const {
    RECT r = BoundsRect();
    return r.right - r.left;
}
int Form::Height() const {
    RECT r = BoundsRect();
    return r.bottom - r.top;
}

RECT Form::BoundsRect() const {
    RECT r{};
    GetWindowRect(Handle(), &r);
    return r;
}

void Form::SetLeft(int left) {
    SetBounds(left, Top(), Width(), Height());
}
void Form::SetTop(int top) {
    SetBounds(Left(), top, Width(), Height());
}
void Form::SetWidth(int width) {
    SetBounds(Left(), Top(), width, Height());
}
void Form::SetHeight(int height) {
    SetBounds(Left(), Top(), Width(), height);
}

void Form::SetBounds(int left, int top, int width, int height) {
    // A move to where the form already is still costs a round of window messages; the panel is given
    // its size this way on every show.
    const RECT r = BoundsRect();
    if (r.left == left && r.top == top && r.right - r.left == width && r.bottom - r.top == height) return;
    // Bounds in physical pixels, as stored or measured: a move onto a monitor of another DPI must not
    // scale them again (see OnDpiChanged).
    // Kept as it was, not cleared: a call nested in this one's WM_DPICHANGED must not end the outer's.
    const bool outer = std::exchange(settingBounds_, true);
    SetWindowPos(Handle(), nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    settingBounds_ = outer;
}

int Form::ClientWidth() const {
    RECT r{};
    GetClientRect(Handle(), &r);
    return r.right;
}

int Form::ClientHeight() const {
    RECT r{};
    GetClientRect(Handle(), &r);
    return r.bottom;
}

void Form::SetClientWidth(int width) {
    SetWidth(width + Width() - ClientWidth());
}
void Form::SetClientHeight(int height) {
    SetHeight(height + Height() - ClientHeight());
}

std::wstring Form::Caption() const {
    return base::WindowText(Handle());
}

void Form::SetCaption(const std::wstring& caption) {
    SetWindowTextW(Handle(), Localized(caption).c_str());
}

void Form::SetColor(TColor color) {
    if (color == color_) return;
    color_ = color;
    backgroundBrush_.reset(CreateSolidBrush(ColorToRGB(color_)));
    InvalidateRect(Handle(), nullptr, TRUE);
}

bool Form::Visible() const {
    return IsWindowVisible(Handle()) != FALSE;
}

void Form::Show() {
    ++showRequests_;
    if (!Visible()) {
        if (OnShow) OnShow();
        ShowWindow(Handle(), SW_SHOW);
    }
    BringToFront();
}

void Form::ShowNoActivate() {
    ++showRequests_;
    if (Visible()) return;
    if (OnShow) OnShow();
    ShowWindow(Handle(), SW_SHOWNA);
}

void Form::Hide() {
    ShowWindow(Handle(), SW_HIDE);
}

void Form::BringToFront() {
    SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool Form::CloseQuery() {
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(canClose);
    return canClose;
}

void Form::Close() {
    if (inModalLoop_) {
        ModalResult = IDCANCEL;
        return;
    }
    if (!CloseQuery()) return;
    auto& app = Application::Instance();
    if (app.MainForm() == this)
        app.Terminate();
    else
        Hide();
}

void Form::Release() {
    Application::Instance().ReleaseForm(this);
}

int Form::ShowModal() {
    // Every other window of the program is disabled while the modal loop runs, as a dialog box does.
    struct Collect {
        HWND self;
        std::vector<HWND> disabled;
    } collect{Handle(), {}};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM lParam) -> BOOL {
            auto* c = reinterpret_cast<Collect*>(lParam);
            if (hwnd != c->self && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd))
                c->disabled.push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&collect));
    for (HWND hwnd : collect.disabled)
        EnableWindow(hwnd, FALSE);

    // A show that fails (OnShow throws) must not leave the other windows disabled. They are enabled before
    // the form hides, so that the activation goes back to one of them.
    const base::ScopeExit end([&] {
        inModalLoop_ = false;
        for (HWND hwnd : collect.disabled)
            if (IsWindow(hwnd)) EnableWindow(hwnd, TRUE);
        if (HandleAllocated()) Hide();
    });
    auto& app = Application::Instance();
    ModalResult = 0;
    inModalLoop_ = true;
    Show();
    SetForegroundWindow(Handle());
    while (ModalResult == 0 && !app.Terminated() && HandleAllocated())
        app.PumpOne();
    return ModalResult;
}

int ShowModalThenRelease(Form& form) {
    const base::ScopeExit release([&form] { form.Release(); });
    return form.ShowModal();
}

bool Form::PreviewKeyDown(WORD& key) {
    if (!OnKeyDown) return false;
    OnKeyDown(key, KeyboardShiftState());
    return key == 0;
}

bool Form::PreviewKeyPress(wchar_t& key) {
    if (!OnKeyPress) return false;
    OnKeyPress(key);
    return key == 0;
}

void Form::AddTimer(Timer* timer) {
    timers_.push_back(timer);
}
void Form::RemoveTimer(Timer* timer) {
    std::erase(timers_, timer);
}

void Form::DoCreate() {
    // A failing OnCreate is reported and the form still comes into being, as its other parts may work.
    try {
        if (OnCreate) OnCreate();
    } catch (...) {
        Application::HandleCurrentException();
    }
}

LRESULT Form::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    struct DispatchDepth {
        Form& form;
        explicit DispatchDepth(Form& f) : form(f) { ++form.dispatchDepth_; }
        ~DispatchDepth() {
            if (--form.dispatchDepth_ == 0 && form.releaseWhenIdle_) {
                form.releaseWhenIdle_ = false;
                form.Release();
            }
        }
    } depth(*this);
    if (hints_ && HintHost::IsRelayed(message)) hints_->Relay(Handle(), message, wParam, lParam);
    if (IsMouseMessage(message) && RouteMouseToGraphic(message, wParam, lParam)) return 0;
    return Dispatch(message, wParam, lParam);
}

LRESULT Form::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (message == WM_NOTIFY && hints_ &&
        hints_->HandleNotify(*reinterpret_cast<const NMHDR*>(lParam), result))
        return result;
    if (ReflectNotification(Handle(), message, wParam, lParam, result)) return result;
    switch (message) {
    case WM_ERASEBKGND:
        // Themed controls ask their parent for the background through this message and WM_PRINTCLIENT.
        // With graphic controls, WM_PAINT draws everything at once instead.
        if (graphics_.empty()) {
            RECT client{};
            GetClientRect(Handle(), &client);
            FillRect(reinterpret_cast<HDC>(wParam), &client, backgroundBrush_.get());
        }
        return 1;
    case WM_PRINTCLIENT: PaintTo(reinterpret_cast<HDC>(wParam)); return 0;
    case WM_PAINT: Paint(); return 0;
    case WM_TIMER:
        for (Timer* timer : timers_)
            if (timer->Id() == wParam) {
                timer->Fire();
                return 0;
            }
        break;
    case WM_SIZE:
        if (GetWindowLongW(Handle(), GWL_STYLE) & WS_VSCROLL || scrollRange_ > 0) UpdateVertScrollBar();
        if (hints_) {
            RECT client{};
            GetClientRect(Handle(), &client);
            hints_->SetToolRect(Handle(), kFormHintTool, client);
        }
        if (OnResize) OnResize();
        return 0;
    case WM_VSCROLL:
        if (lParam == 0) {
            OnVertScroll(LOWORD(wParam));
            return 0;
        }
        break;
    case WM_MOUSEWHEEL:
        if (scrollRange_ > ClientHeight()) {
            SetVertScrollPosition(scrollPosition_ -
                                  GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA * scrollIncrement_);
            return 0;
        }
        break;
    case WM_SETCURSOR:
        if (SetCursorFor(reinterpret_cast<HWND>(wParam), LOWORD(lParam))) return TRUE;
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if (OnMouseDown)
            OnMouseDown(ButtonOf(message), MouseShiftState(wParam), GET_X_LPARAM(lParam),
                        GET_Y_LPARAM(lParam));
        break;
    case WM_MOUSEMOVE:
        if (OnMouseMove) OnMouseMove(MouseShiftState(wParam), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        break;
    case DM_GETDEFID:
        if (GetDlgItem(Handle(), IDOK)) return MAKELRESULT(IDOK, DC_HASDEFID);
        break;
    case WM_CONTEXTMENU:
        if (PopupMenu) {
            OnContextMenu(lParam);
            return 0;
        }
        break;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && ActiveControl && IsWindowVisible(ActiveControl)) {
            SetFocus(ActiveControl);
            return 0;
        }
        break;
    case kRebuildHintsMessage:
        if (hintsRebuildPending_) RebuildGraphicHints();
        return 0;
    case WM_CLOSE: Close(); return 0;
    case WM_DPICHANGED: OnDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam)); return 0;
    case WM_SYSCOMMAND:
        // A lone Alt asks for the menu with lParam 0; after an Alt hot key that Alt was not lone.
        if ((wParam & 0xFFF0) == SC_KEYMENU && lParam == 0) {
            auto* app = Application::TryInstance();
            if (app && app->TakeAltMenuIgnored()) return 0;
        }
        break;
    default: break;
    }
    return DefaultHandler(message, wParam, lParam);
}

void Form::OnContextMenu(LPARAM lParam) {
    POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    // -1, -1: opened from the keyboard; the menu goes where the pointer is.
    if (at.x == -1 && at.y == -1) GetCursorPos(&at);
    PopupMenu->Popup(Handle(), at.x, at.y);
}

void Form::HandleDestroyed() {
    hints_.reset();
    auto* app = Application::TryInstance();
    if (app && app->MainForm() == this) app->Terminate();
}

} // namespace ui
