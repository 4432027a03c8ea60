#include "ui/Form.h"

#include "base/WinUtil.h"
#include "ui/Application.h"
#include "ui/GridRules.h"
#include "ui/Hints.h"
#include "ui/Menu.h"
#include "ui/Shape.h"
#include "ui/Timer.h"

#include <windowsx.h>

#include <algorithm>

namespace ui {

namespace {

// Tool ids of the form's own hint tools; graphic controls take 1.. in their order.
constexpr UINT_PTR kFormHintTool = 0x7FFF;

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

bool IsMouseMessage(UINT message) {
    switch (message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: return true;
    default: return false;
    }
}

MouseButton ButtonOf(UINT message) {
    switch (message) {
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_RBUTTONUP: return MouseButton::mbRight;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_MBUTTONUP: return MouseButton::mbMiddle;
    default: return MouseButton::mbLeft;
    }
}

bool IsButtonDown(UINT message) {
    return message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN ||
           message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDBLCLK || message == WM_MBUTTONDBLCLK;
}

bool IsDoubleClick(UINT message) {
    return message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDBLCLK || message == WM_MBUTTONDBLCLK;
}

} // namespace

Form::Form(const FormParams& params)
    : color_(params.color), font_(CreateFormFont(params.font)),
      backgroundBrush_(CreateSolidBrush(ColorToRGB(color_))) {
    Styles s = StylesFor(params);
    RECT outer{params.left, params.top, params.left + params.width, params.top + params.height};
    if (params.clientSize) AdjustWindowRectEx(&outer, s.style, FALSE, s.exStyle);
    if (params.centred)
        OffsetRect(&outer, (GetSystemMetrics(SM_CXSCREEN) - (outer.right - outer.left)) / 2 - outer.left,
                   (GetSystemMetrics(SM_CYSCREEN) - (outer.bottom - outer.top)) / 2 - outer.top);
    WindowCreateParams wp;
    wp.className = params.className;
    wp.caption = params.caption;
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
}

Form::~Form() {
    // Timers and graphic controls are members of the derived form and are gone already.
    DestroyHandle();
}

void Form::DestroyHandle() {
    hints_.reset();
    Window::DestroyHandle();
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
    SetWindowPos(Handle(), nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
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
    SetWindowTextW(Handle(), caption.c_str());
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
    if (!Visible()) {
        if (OnShow) OnShow();
        ShowWindow(Handle(), SW_SHOW);
    }
    BringToFront();
}

void Form::ShowNoActivate() {
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

    auto& app = Application::Instance();
    ModalResult = 0;
    inModalLoop_ = true;
    Show();
    SetForegroundWindow(Handle());
    while (ModalResult == 0 && !app.Terminated() && HandleAllocated())
        app.PumpOne();
    inModalLoop_ = false;
    for (HWND hwnd : collect.disabled)
        if (IsWindow(hwnd)) EnableWindow(hwnd, TRUE);
    if (HandleAllocated()) Hide();
    return ModalResult;
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

void Form::SetVertScrollRange(int range) {
    range = std::max(range, 0);
    if (range == scrollRange_) return;
    scrollRange_ = range;
    UpdateVertScrollBar();
}

void Form::SetVertScrollPosition(int position) {
    position = ClampScrollPosition(position, scrollRange_, ClientHeight());
    if (position == scrollPosition_) return;
    int delta = scrollPosition_ - position;
    scrollPosition_ = position;
    ScrollWindowEx(Handle(), 0, delta, nullptr, nullptr, nullptr, nullptr,
                   SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_POS;
    si.nPos = scrollPosition_;
    SetScrollInfo(Handle(), SB_VERT, &si, TRUE);
}

bool Form::VertScrollBarVisible() const {
    return (GetWindowLongW(Handle(), GWL_STYLE) & WS_VSCROLL) != 0;
}

void Form::UpdateVertScrollBar() {
    if (updatingScrollBar_) return;
    updatingScrollBar_ = true;
    // The bar shows itself while the page is smaller than the range; that may resize the client area.
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = 0;
    si.nMax = std::max(scrollRange_ - 1, 0);
    si.nPage = static_cast<UINT>(std::max(ClientHeight(), 0));
    si.nPos = scrollPosition_;
    SetScrollInfo(Handle(), SB_VERT, &si, TRUE);
    updatingScrollBar_ = false;
    SetVertScrollPosition(scrollPosition_);
}

void Form::OnVertScroll(WORD code) {
    int position = scrollPosition_;
    switch (code) {
    case SB_LINEUP: position -= scrollIncrement_; break;
    case SB_LINEDOWN: position += scrollIncrement_; break;
    case SB_PAGEUP: position -= ClientHeight(); break;
    case SB_PAGEDOWN: position += ClientHeight(); break;
    case SB_TOP: position = 0; break;
    case SB_BOTTOM: position = scrollRange_; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        SCROLLINFO si{};
        si.cbSize = sizeof(si);
        si.fMask = SIF_TRACKPOS;
        GetScrollInfo(Handle(), SB_VERT, &si);
        position = si.nTrackPos;
        break;
    }
    default: return;
    }
    SetVertScrollPosition(position);
}

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

void Form::AddTimer(Timer* timer) {
    timers_.push_back(timer);
}
void Form::RemoveTimer(Timer* timer) {
    std::erase(timers_, timer);
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
        if (g->EffectiveShowHint()) text = g->Hint().empty() ? Hint : g->Hint();
        hints.AddTool(hwnd, i + 1, g->BoundsRect(), text);
    }
    RECT client{};
    GetClientRect(hwnd, &client);
    hints.AddTool(hwnd, kFormHintTool, client, ShowHint ? Hint : std::wstring());
}

void Form::DoCreate() {
    // A failing OnCreate is reported and the form still comes into being, as its other parts may work.
    try {
        if (OnCreate) OnCreate();
    } catch (...) {
        Application::HandleCurrentException();
    }
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
        if (ReflectToControl(reinterpret_cast<HWND>(lParam), message, wParam, lParam, result)) return result;
        break;
    case WM_MOUSEWHEEL:
        if (scrollRange_ > ClientHeight()) {
            SetVertScrollPosition(scrollPosition_ -
                                  GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA * scrollIncrement_);
            return 0;
        }
        break;
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
        if (lParam && ReflectToControl(reinterpret_cast<HWND>(lParam), message, wParam, lParam, result))
            return result;
        break;
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        if (item && ReflectToControl(item->hwndItem, message, wParam, lParam, result)) return result;
        break;
    }
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (hints_ && hints_->HandleNotify(*header, result)) return result;
        if (ReflectToControl(header->hwndFrom, message, wParam, lParam, result)) return result;
        break;
    }
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
    case WM_SYSCOMMAND:
        // A lone Alt asks for the menu with lParam 0; after an Alt hot key that Alt was not lone.
        if ((wParam & 0xFFF0) == SC_KEYMENU && lParam == 0) {
            auto* app = Application::TryInstance();
            if (app && app->TakeAltMenuIgnored()) return 0;
        }
        break;
    case WM_QUERYENDSESSION:
        // A failing save throws out of here, and the window procedure answers 0: the session waits.
        return CloseQuery() ? TRUE : FALSE;
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
