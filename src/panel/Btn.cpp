#include "panel/Btn.h"

#include "base/ScopeExit.h"
#include "base/WinUtil.h"
#include "components/FmxUtils.h"
#include "components/TrShlApi.h"
#include "panel/PanelRules.h"
#include "ui/Application.h"
#include "ui/GridRules.h"
#include "ui/Monitors.h"
#include "ui/Hints.h"
#include "ui/Language.h"

#include <shellapi.h>

#include <algorithm>
#include <utility>

namespace {

ui::ToolBar::Params ToolBarParams() {
    ui::ToolBar::Params p;
    p.left = 0;
    p.top = 0;
    p.width = 229;
    p.height = 192;
    p.indent = 1;
    p.buttonWidth = 38;
    p.buttonHeight = 38;
    p.id = 1;
    return p;
}

} // namespace

TBtnF1::TBtnF1(Launcher& launcher, MascotForPanel& mascot, const PanelLook& look, SettingsDialogSlot& settings)
    : ui::Form({.className = L"TBtnF1",
                .caption = L"ぱむぱむランチ",
                .left = 310,
                .top = 150,
                .width = 238,
                .height = 220,
                .borderStyle = ui::BorderStyle::SizeToolWin,
                .systemMenu = true,
                .vertScrollBar = true,
                .color = clBtnFace}),
      ToolBar1(*this, ToolBarParams()), Records(launcher.Records()), launcher_(launcher), mascot_(mascot),
      look_(look), settings_(settings) {
    launcher_.AddObserver(this);
}

void TBtnF1::WindowCreated() {
    KeyPreview = true;
    ShowHint = true;
    ToolBar1.Cursor = LoadCursorW(nullptr, IDC_HAND);
    std::vector<ui::ToolBar::NewButton> buttons;
    for (int n = 1; n <= kButtonCount; ++n)
        buttons.push_back({L"ToolButton" + std::to_wstring(n), ButtonCaption(n), n - 1});
    ToolBar1.AddButtons(buttons);
    ToolBar1.SetWidth(ToolBarParams().width);
    ToolBar1.OnResize = [this] { UpdateScrollRange(); };
    UpdateScrollRange();
    ActiveControl = ToolBar1.Handle();
    iconAnswers_.Open(Handle(), kIconsArrivedMessage);
    launchAnswers_.Open(Handle(), kLaunchAnsweredMessage);
    dropAnswers_.Open(Handle(), kDropsReadMessage);
    // Only outside the edit modes, where a press is a click and the modes give buttons other meanings.
    ToolBar1.CanStartDrag = [this] { return launcher_.EditMode() == EditState::None; };
    ToolBar1.OnButtonDragged = [this](int from, int to) { ButtonDragged(from + 1, to + 1); };
    // Files dropped on a button (EditsAndDrops.cpp): through OLE, which shows what a drop would do; and as
    // WM_DROPFILES, which is all that comes from Explorer when this program runs as administrator. OLE
    // does not cross that line, and a window registered for it would then get no WM_DROPFILES either.
    dropTarget_.OnOver = [this](POINT at, const std::vector<std::wstring>&) { return DropEffectAt(at); };
    dropTarget_.OnLeave = [this] { ToolBar1.MarkButton(-1); };
    // An error box about the drop must not hold up the program it came from, which waits in the drag.
    // One post for all that waits; a drop that cannot be handed on is refused to its source.
    dropTarget_.OnDrop = [this](POINT at, const std::vector<std::wstring>& files) {
        droppedFiles_.emplace_back(at, files);
        if (droppedFiles_.size() == 1 && !PostMessageW(Handle(), kFilesDroppedMessage, 0, 0)) {
            droppedFiles_.clear();
            return false;
        }
        return true;
    };
    DecideDropWay();
    base::AcceptDroppedFiles(Handle());
    // The shell started again may run at another level (and comes first at a logon task's start).
    base::AllowMessageFromAnyProcess(Handle(), TTaskTrayIcon::TaskbarCreatedMessage());

    OnCreate = [this] { FormCreate(); };
    OnShow = [this] { FormShow(); };
    OnResize = [this] { FormResize(); };
    OnKeyPress = [this](wchar_t& key) { FormKeyPress(key); };
    OnKeyDown = [this](WORD& key, ui::ShiftState shift) { FormKeyDown(key, shift); };
}

TBtnF1::~TBtnF1() {
    launcher_.RemoveObserver(this);
}

void TBtnF1::FormCreate() {
    for (int n = 1; n <= kButtonCount; ++n) {
        const std::wstring name = L"ToolButton" + std::to_wstring(n);
        Buttons[n] = ToolBar1.FindButton(name);
        if (!Buttons[n]) throw Exception(name + L" はツールボタンではありません");
        Buttons[n]->OnClick = [this](ui::ToolButton& sender) { ToolButton1Click(sender); };
    }
    ReadIni();
    ImageListSet();
    SizeButtons();
    SetCaption(DatedCaption());
}

void TBtnF1::SizeButtons() {
    ToolBar1.SetButtonHeight(Scale(look_.buttonSize));
    ToolBar1.SetButtonWidth(Scale(look_.buttonSize));
    SetVertScrollIncrement(ToolBar1.ButtonHeight());
}

void TBtnF1::DpiChanged(int) {
    // Icons read again at the new size, then the buttons, then the width fitted to whole buttons.
    ImageListSet();
    SizeButtons();
    ToolBar1.SetWidth(Width());
    SetClientWidth(ToolBar1.Width());
}

void TBtnF1::ApplyBounds(int left, int top, int width, int height) {
    // One move: each separate one would lay the thirty buttons out again.
    SetBounds(left, top, width, height);
}

void TBtnF1::ReadIni() {
    if (const std::optional<PanelBounds> b = launcher_.ReadButtons()) {
        // Bounds on a monitor that is gone come back onto the nearest one.
        const ScreenRect stored{b->left, b->top, b->left + b->width, b->top + b->height};
        const ScreenRect at = PlaceOnMonitors(stored, ui::ReadMonitors()).value_or(stored);
        ApplyBounds(at.left, at.top, at.Width(), at.Height());
    } else {
        SetTop(100);
        SetLeft(100);
    }
}

void TBtnF1::ButtonsRead() {
    // The pictures follow once the form is sized (ImageListSet).
    for (int n = 1; n <= kButtonCount; ++n)
        if (Buttons[n]) Buttons[n]->SetHint(Records[n].Hint);
}

void TBtnF1::ImageListSet() {
    const int size = Scale(look_.iconSize);
    ImageList1.SetSize(size, size);
    // The list takes all thirty in one go; the icons read from files replace their blanks as they come.
    std::vector<HICON> icons;
    for (int n = 1; n <= kButtonCount; ++n) {
        const bool hasFile = !Records[n].IconFile.empty();
        icons.push_back(hasFile ? nullptr : look_.fallbackIcon);
        if (hasFile)
            AskForIcon(n);
        else
            iconRequests_.CancelAnswers(n); // an answer still on its way is out of date
    }
    if (ImageList1.AddIcons(icons) < 0) {
        // Short of GDI memory for the strip: one at a time, so that every button still has its image.
        ImageList1.SetSize(size, size);
        for (HICON icon : icons) {
            const int index = ImageList1.AddIcon(icon ? icon : look_.fallbackIcon);
            if (!icon) ImageList1.ReplaceIcon(index, nullptr);
        }
    }
    // The list was made anew, so the bar is given its new handle.
    ToolBar1.SetImages(&ImageList1);
}

void TBtnF1::RefreshButtonIcon(int number) {
    if (Records[number].IconFile.empty()) {
        iconRequests_.CancelAnswers(number);
        ImageList1.ReplaceIcon(number - 1, look_.fallbackIcon);
    } else {
        // Blank until the new icon arrives, rather than the picture of what the button was.
        ImageList1.ReplaceIcon(number - 1, nullptr);
        AskForIcon(number);
    }
    ToolBar1.Repaint();
}

bool TBtnF1::IconsPending() const {
    return iconRequests_.Pending();
}

void TBtnF1::AskForIcon(int number) {
    const unsigned ticket = iconRequests_.Ask(number);
    const ButtonRecord& record = Records[number];
    try {
        iconReads_.Run(record.IconFile, [answers = iconAnswers_.MakeSender(), asked = iconRequests_.Shared(), number,
                                         ticket, record, size = Scale(look_.iconSize)] {
            // Replaced while it waited (behind a share that does not answer, say): not worth another wait.
            if (!asked.Latest(ticket, number)) return;
            base::UniqueHicon icon;
            try {
                icon = ExtractButtonIcon(record, size);
            } catch (...) {
                // No icon, then: the button shows the mascot's picture.
            }
            answers.Put(IconAnswer{number, ticket, std::move(icon)});
        });
    } catch (...) {
        // No thread to read it: the button stays blank, and nothing is on its way.
        iconRequests_.CancelAnswers(number);
        throw;
    }
}

void TBtnF1::IconsArrived() {
    bool changed = false;
    for (IconAnswer& answer : iconAnswers_.Take()) {
        // An answer to an older request (the button changed, or the size) is dropped with its icon.
        if (!iconRequests_.Take(answer.number, answer.ticket)) continue;
        // A file without that icon shows the mascot's picture, as a button without an icon file does.
        ImageList1.ReplaceIcon(answer.number - 1, answer.icon ? answer.icon.get() : look_.fallbackIcon);
        changed = true;
    }
    if (changed) ToolBar1.Repaint();
}

void TBtnF1::ButtonChanged(int number) {
    launching_.Release(number);
    ShowRecord(number);
}

void TBtnF1::ButtonsSwapped(int a, int b) {
    launching_.Swap(a, b);
    ShowRecord(a);
    ShowRecord(b);
}

void TBtnF1::ShowRecord(int number) {
    Buttons[number]->SetHint(Records[number].Hint);
    RefreshButtonIcon(number);
}

void TBtnF1::EditModeChanged(const ModeChange& change) {
    if (change.editMode != EditState::None) ++modesBegun_;
}

void TBtnF1::PressButton(int number, bool down) {
    if (number >= 1 && number <= kButtonCount && Buttons[number]) Buttons[number]->SetDown(down);
}

void TBtnF1::OptionsChanged(const EyeOptions& before) {
    if (launcher_.Options().LineMax != before.LineMax && Visible()) FormShow();
}

int TBtnF1::FrameHeight() const {
    return Height() - ClientHeight();
}

int TBtnF1::VisibleRowCount() const {
    return VisibleRows(ToolBar1.RowCount(), launcher_.Options().LineMax);
}

void TBtnF1::FormShow() {
    SetHeight(PanelShowHeight(VisibleRowCount(), ToolBar1.ButtonHeight(), FrameHeight()));
}

void TBtnF1::FormResize() {
    if (resizing_) return;
    // Setting the client width resizes the window again, and the scroll bar coming or going changes the
    // client width once more: repeat the two steps here until they agree, instead of recursing.
    resizing_ = true;
    const base::ScopeExit done([this] { resizing_ = false; });
    for (int round = 0; round < 4 && ClientWidth() != ToolBar1.Width(); ++round) {
        ToolBar1.SetWidth(Width());
        SetClientWidth(ToolBar1.Width());
    }
}

void TBtnF1::UpdateScrollRange() {
    SetVertScrollRange(ToolBar1.Height());
}

void TBtnF1::OnGetMinMaxInfo(MINMAXINFO& info) const {
    const int height = PanelTrackHeight(VisibleRowCount(), ToolBar1.ButtonHeight(), FrameHeight());
    info.ptMinTrackSize.y = height;
    info.ptMaxTrackSize.y = height;
    // Narrow enough for one column of buttons.
    const int oneColumn =
        ToolBarWidthFor(1, ToolBar1.Indent(), ToolBar1.ButtonWidth()) + Width() - ClientWidth();
    info.ptMinTrackSize.x = std::min<LONG>(info.ptMinTrackSize.x, oneColumn);
}

LRESULT TBtnF1::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_GETMINMAXINFO: {
        LRESULT result = ui::Form::Dispatch(message, wParam, lParam);
        // The track size follows the bar's rows: none before the bar has its buttons.
        if (ToolBar1.ButtonCount() > 0) OnGetMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam));
        return result;
    }
    case WM_NCHITTEST: return MapPanelHitTest(static_cast<int>(ui::Form::Dispatch(message, wParam, lParam)));
    case WM_SETCURSOR:
        // A start under way, as Windows shows it, over the button whose item is starting.
        if (LOWORD(lParam) == HTCLIENT && PointerOnStartingButton()) {
            SetCursor(LoadCursorW(nullptr, IDC_APPSTARTING));
            return TRUE;
        }
        return ui::Form::Dispatch(message, wParam, lParam);
    case kIconsArrivedMessage: IconsArrived(); return 0;
    case kDropsReadMessage: DropsRead(); return 0;
    case kFilesDroppedMessage:
        for (const auto& [at, files] : std::exchange(droppedFiles_, {}))
            FilesDroppedAt(at, files);
        return 0;
    case WM_DROPFILES: {
        const base::UniqueHdrop drop(reinterpret_cast<HDROP>(wParam));
        POINT at{};
        // Outside the client area (the caption, the frame) no button is under the drop.
        if (!DragQueryPoint(drop.get(), &at)) return 0;
        ClientToScreen(Handle(), &at);
        FilesDroppedAt(at, ui::DroppedPaths(drop.get()));
        return 0;
    }
    case WM_DESTROY:
        // OLE must let go of the window while it still exists.
        dropTarget_.Revoke(ToolBar1.Handle());
        dropTarget_.Revoke(Handle());
        return ui::Form::Dispatch(message, wParam, lParam);
    case kLaunchAnsweredMessage:
        // Each on its own: one whose next step fails leaves the others' buttons free all the same.
        for (const LaunchAnswer& answer : launchAnswers_.Take()) {
            try {
                LaunchAnswered(answer);
            } catch (...) {
                ui::Application::HandleCurrentException();
            }
        }
        return 0;
    default:
        if (message != 0 && message == TTaskTrayIcon::TaskbarCreatedMessage()) DecideDropWay();
        return ui::Form::Dispatch(message, wParam, lParam);
    }
}

void TBtnF1::DecideDropWay() {
    // OLE's drops, with the frame and the pointer's answer, only where they can come: run above the shell,
    // a window registered for them would get none, and WM_DROPFILES is all that reaches the panel.
    const bool ole = !RunsAboveTheShell();
    if (ole == oleDrops_) return;
    // As the panel's own registration went: one that failed is tried again at the next decision.
    oleDrops_ = false;
    for (HWND window : {Handle(), ToolBar1.Handle()}) {
        if (ole)
            oleDrops_ = dropTarget_.Register(window) || oleDrops_;
        else
            dropTarget_.Revoke(window);
    }
}

void TBtnF1::FormKeyPress(wchar_t& key) {
    if (int number = ButtonForKey(key)) Buttons[number]->Click();
}

void TBtnF1::FormKeyDown(WORD& key, ui::ShiftState shift) {
    // Ctrl+Shift with a button's character: its click, which then starts the item as administrator
    // (ToolButton1Click reads the keys). Held Ctrl makes no character of the key, so it is taken here.
    const ui::ShiftState both = ui::ssCtrl | ui::ssShift;
    if ((shift & both) == both && !(shift & ui::ssAlt)) {
        if (const int number = ButtonForKeyCode(key)) {
            Buttons[number]->Click();
            return;
        }
    }
    // One row per press, with or without captions: the bar's current button height.
    if (key == VK_DOWN)
        SetVertScrollPosition(VertScrollPosition() + ToolBar1.ButtonHeight());
    else if (key == VK_UP)
        SetVertScrollPosition(VertScrollPosition() - ToolBar1.ButtonHeight());
}

void TBtnF1::ToolButton1Click(ui::ToolButton& sender) {
    const int number = sender.ImageIndex() + 1;
    if (number < 1 || number > kButtonCount) return;
    switch (launcher_.EditMode()) {
    case EditState::None:
        if (Records[number].Assigned()) {
            // Ctrl+Shift with the click, or with the key: as administrator, Windows asking for consent.
            const bool elevated = (GetKeyState(VK_CONTROL) & 0x8000) && (GetKeyState(VK_SHIFT) & 0x8000);
            Launch(number, {}, elevated ? L"runas" : nullptr);
        } else {
            // An unassigned button opens its settings: the set-details mode, entered from here.
            launcher_.ChangeMode(UnassignedButtonClicked());
            ShowNewSettingsDialog(number);
        }
        break;
    case EditState::SetDetails:
        launcher_.PickButton(number);
        EditInSettingsDialog(number);
        break;
    case EditState::Swap: PickForSwap(number); break;
    case EditState::Remove: RemoveSetting(number); break;
    case EditState::Options: break; // the options dialog is open
    }
}

void TBtnF1::Launch(int number, const std::vector<std::wstring>& files, const wchar_t* verb) {
    // Files dropped on an item that is starting open with it once it has answered.
    if (!files.empty() && launching_.Queue(number, files)) return;
    // Clicks and keys on a button whose start is under way start nothing more.
    const unsigned start = launching_.Begin(number, ShowsAndModesBegun());
    if (start == 0) return;
    const ButtonRecord& record = Records[number];
    const std::wstring parameters = OpenWithParameters(record.Options, files);
    try {
        launches_.Run([answers = launchAnswers_.MakeSender(), owner = mascot_.Window(), start,
                       record, parameters, verb] {
            LaunchAnswer answer{start, true, 0, 0, {}};
            try {
                answer.found = FileExists(record.Program);
                const LaunchResult started =
                    answer.found
                        ? LaunchFile(owner, record.Program, parameters, record.WorkFolder, SW_SHOWNORMAL, verb)
                        : LaunchResult{};
                answer.error = started.error;
                answer.processId = started.processId;
            } catch (...) {
                // Whatever stopped it is told, and the button is free again.
                answer.failure = ui::Application::CurrentExceptionMessage();
            }
            answers.Put(std::move(answer));
        });
    } catch (...) {
        launching_.End(start, ShowsAndModesBegun());
        throw;
    }
    UpdatePointer();
}

void TBtnF1::LaunchAnswered(const LaunchAnswer& answer) {
    const std::uint64_t occasions = ShowsAndModesBegun();
    PendingLaunches::Ended ended = launching_.End(answer.start, occasions);
    UpdatePointer();
    // The shell has shown its own message for any other failure.
    if (!answer.found)
        MessageBoxW(Handle(), ui::Localized(L"プログラムが見つかりません").c_str(), ui::Localized(L"エラー").c_str(),
                    MB_OK | MB_ICONERROR);
    if (!answer.failure.empty()) ui::Application::Instance().ShowException(answer.failure);
    // What was dropped on the item meanwhile opens with it now, where it is; an item since taken off the
    // panel has no program left to open it.
    if (!ended.dropped.empty()) {
        if (ended.number == 0) throw Exception(L"プログラムが見つかりません");
        for (std::vector<std::wstring>& files : ended.dropped)
            Launch(ended.number, std::move(files));
        return;
    }
    // Nor anything asked for while the box was up.
    if (ended.hide && ShowsAndModesBegun() == occasions) HidePanel(answer.processId);
}

namespace {

// One of the program's own windows (the mascot, the panel, a dialog), as the window table knows them.
bool OfThisProgram(HWND window) {
    return ui::Window::FromHandle(window) != nullptr;
}

} // namespace

void TBtnF1::NoteUsersWindow(HWND window) {
    // A key pressed while this program was in front leaves the user's window as it was remembered.
    if (window && !OfThisProgram(window)) usersWindow_ = window;
}

void TBtnF1::ResetToolBar() {
    ToolBar1.SetShowCaptions(false);
    ToolBar1.SetButtonHeight(Scale(look_.buttonSize));
    SetVertScrollIncrement(ToolBar1.ButtonHeight());
}

void TBtnF1::NormalForm() {
    ResetToolBar();
    ToolBar1.SetWidth(Width());
    SetClientWidth(ToolBar1.Width());
}

void TBtnF1::ShowNormally() {
    NormalForm();
    // The pointer's move went to another program, which keeps the activation.
    ShowNoActivate();
    BringToFront();
}

void TBtnF1::ShowForKeys() {
    ToolBar1.SetShowCaptions(true);
    SetVertScrollIncrement(ToolBar1.ButtonHeight());
    Hide();
    Show();
    // The hot key gave this program the right to the foreground.
    SetForegroundWindow(Handle());
    // Ten 96-DPI pixels inside the panel's corner, at the panel's DPI.
    SetCursorPos(Left() + Scale(10), Top() + Scale(10));
}

void TBtnF1::HideByKey() {
    NormalForm();
    HidePanel();
    SetCursorPos(Left() - Scale(10), Top() - Scale(10));
}

void TBtnF1::HidePanel() {
    HidePanel(0);
}

void TBtnF1::HidePanel(DWORD startedProcess) {
    const HWND back = std::exchange(usersWindow_, nullptr);
    const bool ours = OfThisProgram(GetForegroundWindow());
    Hide();
    if (!ours || !back || !IsWindowVisible(back)) return;
    // A program just started keeps its right to come to the front once its window shows.
    if (startedProcess) AllowSetForegroundWindow(startedProcess);
    SetForegroundWindow(back);
}

void TBtnF1::BringToFront() {
    // Shown by an edge, a hover or the tray, this program has no right to the foreground, which bringing a
    // window to the top with HWND_TOP needs, so the panel would stay under the window the user is in.
    // Made topmost it goes above every window; made not topmost again at once ("places the window above
    // all non-topmost windows"), it stays above all that are not topmost, below the topmost mascot, and is
    // an ordinary window from then on. Nothing is activated.
    // https://learn.microsoft.com/windows/win32/api/winuser/nf-winuser-setwindowpos
    constexpr UINT kOnlyTheOrder = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, kOnlyTheOrder);
    SetWindowPos(Handle(), HWND_NOTOPMOST, 0, 0, 0, 0, kOnlyTheOrder);
}

bool TBtnF1::PointerOnStartingButton() const {
    POINT at{};
    return launching_.Any() && GetCursorPos(&at) && launching_.Pending(ButtonAtScreen(at));
}

void TBtnF1::UpdatePointer() {
    // The system asks for the cursor only when the pointer moves; ask now for a pointer at rest.
    POINT at{};
    if (!Visible() || !GetCursorPos(&at)) return;
    HWND under = WindowFromPoint(at);
    if (under != Handle() && !IsChild(Handle(), under)) return;
    SendMessageW(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

std::wstring DatedCaption() {
    // In English the names of days and months are English whatever the user's regional format.
    const bool english = ui::ProgramLanguage() == ui::Language::English;
    const wchar_t* picture = english ? L"ddd',' MMMM d" : L"MMMMd'日（'ddd'）'";
    const wchar_t* locale = english ? L"en-US" : LOCALE_NAME_USER_DEFAULT;
    int length = GetDateFormatEx(locale, 0, nullptr, picture, nullptr, 0, nullptr);
    std::wstring date(static_cast<std::size_t>(std::max(length, 1)), L'\0');
    length = GetDateFormatEx(locale, 0, nullptr, picture, date.data(), length, nullptr);
    date.resize(static_cast<std::size_t>(std::max(length - 1, 0)));
    return (english ? ui::Localized(L"ぱむぱむランチ") + L"  " : std::wstring(L"ぱむぱむランチ　")) + date + L" ";
}

base::UniqueHicon ExtractButtonIcon(const ButtonRecord& record, int size) {
    // An index past the file's icons gives nothing from the extraction itself: counting the icons
    // first would read every file twice at start-up.
    if (record.IconFile.empty()) return {};
    return ExtractIconAt(record.IconFile, record.IconIndex, size);
}
