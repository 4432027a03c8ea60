#include "ui/Application.h"

#include "ui/Form.h"
#include "ui/Hints.h"
#include "ui/Language.h"

#include <commctrl.h>
#include <objbase.h>

#include <algorithm>
#include <utility>

namespace ui {

namespace {

Application* g_application = nullptr;

// Deferred destruction of a form: posted by ReleaseForm, handled once the current message is done.
constexpr UINT kReleaseFormMessage = WM_APP + 1;
// Errors told once the call that met them has returned (HandleCurrentExceptionLater).
constexpr UINT kShowLaterMessage = WM_APP + 2;

std::wstring Widen(const char* text) {
    int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length);
    wide.resize(static_cast<std::size_t>(length) - 1);
    return wide;
}

} // namespace

Application::Application() {
    if (g_application) throw Exception(L"Only one application object may exist");
    g_application = this;
    WindowCreateParams params;
    params.className = L"TApplication";
    // Never shown; the forms it owns therefore have no task-bar button.
    params.style = WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX;
    params.left = params.top = 0;
    params.width = params.height = 0;
    try {
        CreateHandle(params);
    } catch (...) {
        g_application = nullptr;
        throw;
    }
}

Application::~Application() {
    // The handlers reach into forms that are about to go.
    OnActivate = nullptr;
    OnDeactivate = nullptr;
    OnEndSession = nullptr;
    // The forms go first, newest first, while the application window still owns them.
    while (!forms_.empty())
        forms_.pop_back();
    mainForm_ = nullptr;
    DestroyHandle();
    ole_.reset();
    g_application = nullptr;
}

Application& Application::Instance() {
    if (!g_application) throw Exception(L"No application object");
    return *g_application;
}

Application* Application::TryInstance() {
    return g_application;
}

void Application::Initialize() {
    ole_.emplace();
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES |
                                              ICC_UPDOWN_CLASS | ICC_HOTKEY_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
}

void Application::SetTitle(const std::wstring& title) {
    title_ = title;
    SetWindowTextW(Handle(), title_.c_str());
}

std::wstring Application::ExeName() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2); // cut off: try again with more room
    }
}

void Application::CreateAndAdopt(FormPtr form, bool mayBeMain) {
    form->Create();
    Form* raw = form.get();
    forms_.push_back(std::move(form));
    if (mayBeMain && !mainForm_) mainForm_ = raw;
}

void Application::ReleaseForm(Form* form) {
    PostMessageW(Handle(), kReleaseFormMessage, 0, reinterpret_cast<LPARAM>(form));
}

void Application::DestroyReleased(Form* form) {
    auto it =
        std::find_if(forms_.begin(), forms_.end(), [&](const auto& owned) { return owned.get() == form; });
    if (it == forms_.end()) return;
    if (form->Busy()) {
        // One of its handlers waits in a nested loop below us; it goes once that handler returns.
        form->ReleaseWhenIdle();
        return;
    }
    if (mainForm_ == form) mainForm_ = nullptr;
    FormPtr doomed = std::move(*it);
    forms_.erase(it);
}

void Application::Run() {
    // A program told to end while it was starting (a second instance) never shows itself.
    if (mainForm_ && ShowMainForm && !terminateRequested_) {
        mainForm_->Show();
        UpdateWindow(mainForm_->Handle());
    }
    RunStartSteps();
    while (!terminated_)
        PumpOne();
}

void Application::AfterMainFormShown(std::function<void()> step) {
    startSteps_.push_back(std::move(step));
}

void Application::RunStartSteps() {
    // A step may add another, which then runs in turn.
    for (std::size_t i = 0; i < startSteps_.size() && !terminateRequested_; ++i) {
        std::function<void()> step = std::move(startSteps_[i]);
        step();
    }
    startSteps_.clear();
}

void Application::PumpOne() {
    MSG msg{};
    if (OnIdle && !PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
        bool done = true;
        OnIdle(done);
        if (!done) return;
    }
    BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) {
        terminated_ = true;
        return;
    }
    DispatchOne(msg);
}

void Application::ProcessMessages() {
    MSG msg{};
    while (!terminated_ && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            terminated_ = true;
            break;
        }
        DispatchOne(msg);
    }
}

void Application::Terminate() {
    if (terminateRequested_) return;
    terminateRequested_ = true;
    PostQuitMessage(0);
}

void Application::DispatchOne(MSG& msg) {
    try {
        if (OnMessage) {
            bool handled = false;
            OnMessage(msg, handled);
            if (handled) return;
        }
        if (PreviewKeys(msg) || DialogKeys(msg)) return;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    } catch (...) {
        HandleCurrentException();
    }
}

bool Application::PreviewKeys(MSG& msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN && msg.message != WM_CHAR) return false;
    HWND root = GetAncestor(msg.hwnd, GA_ROOT);
    auto* form = dynamic_cast<Form*>(Window::FromHandle(root));
    // The form sees the key first when it previews keys, or when it has the focus itself.
    if (!form || !(form->KeyPreview || root == msg.hwnd)) return false;
    if (msg.message == WM_CHAR) {
        auto key = static_cast<wchar_t>(msg.wParam);
        if (form->PreviewKeyPress(key)) return true;
        msg.wParam = key;
        return false;
    }
    auto key = static_cast<WORD>(msg.wParam);
    if (form->PreviewKeyDown(key)) return true;
    msg.wParam = key;
    return false;
}

bool Application::DialogKeys(MSG& msg) {
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
    HWND root = GetAncestor(msg.hwnd, GA_ROOT);
    auto* form = dynamic_cast<Form*>(Window::FromHandle(root));
    return form && form->DialogKeys && IsDialogMessageW(root, &msg);
}

void Application::ApplyHintSettings() {
    for (HintHost* host : hintHosts_)
        host->ApplySettings();
}

void Application::RegisterHintHost(HintHost* host) {
    hintHosts_.push_back(host);
}

void Application::UnregisterHintHost(HintHost* host) {
    std::erase(hintHosts_, host);
}

void Application::SetHint(const std::wstring& hint) {
    if (hint == hint_) return;
    hint_ = hint;
    if (OnHint) OnHint();
}

void Application::Minimize() {
    if (minimized_) return;
    minimized_ = true;
    // Hides the owned windows and marks them, so that only those come back.
    ShowOwnedPopups(Handle(), FALSE);
    if (OnMinimize) OnMinimize();
}

void Application::Restore() {
    if (!minimized_) return;
    minimized_ = false;
    ShowOwnedPopups(Handle(), TRUE);
    if (OnRestore) OnRestore();
}

bool Application::HelpCommand(UINT command, ULONG_PTR data) {
    bool callHelp = true;
    bool result = false;
    if (OnHelp) result = OnHelp(command, data, callHelp);
    if (!callHelp) return result;
    HWND owner = mainForm_ ? mainForm_->Handle() : Handle();
    return WinHelpW(owner, HelpFile.c_str(), command, data) != FALSE;
}

void Application::ShowException(const std::wstring& message) {
    if (OnException) {
        OnException(message);
        return;
    }
    // The active window's; with none of ours active (a drop from another program, a tray callback), above
    // the others, as a box owned by the hidden application window could not come forward.
    HWND owner = GetActiveWindow();
    MessageBoxW(owner ? owner : Handle(), Localized(message).c_str(), Localized(title_).c_str(),
                MB_OK | MB_ICONERROR | (owner ? 0 : MB_TOPMOST));
}

std::wstring Application::CurrentExceptionMessage() {
    try {
        throw;
    } catch (const Exception& e) {
        return e.Message();
    } catch (const std::exception& e) {
        return Widen(e.what());
    } catch (...) {
        return L"予期しないエラーが発生しました";
    }
}

void Application::HandleCurrentExceptionLater() {
    const std::wstring message = CurrentExceptionMessage();
    if (!g_application) return;
    g_application->laterMessages_.push_back(message);
    // One post for all that waits; one that fails is tried again by the next error.
    if (!g_application->laterPosted_)
        g_application->laterPosted_ = PostMessageW(g_application->Handle(), kShowLaterMessage, 0, 0) != FALSE;
}

void Application::HandleCurrentException() {
    const std::wstring message = CurrentExceptionMessage();
    if (g_application)
        g_application->ShowException(message);
    else
        MessageBoxW(nullptr, Localized(message).c_str(), L"", MB_OK | MB_ICONERROR);
}

LRESULT Application::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ACTIVATEAPP:
        active_ = wParam != FALSE;
        if (active_ && OnActivate) OnActivate();
        if (!active_ && OnDeactivate) OnDeactivate();
        return 0;
    case WM_ENDSESSION:
        if (wParam) EndSession();
        return 0;
    case kReleaseFormMessage: DestroyReleased(reinterpret_cast<Form*>(lParam)); return 0;
    case kShowLaterMessage:
        laterPosted_ = false;
        for (const std::wstring& later : std::exchange(laterMessages_, {}))
            ShowException(later);
        return 0;
    default: return DefaultHandler(message, wParam, lParam);
    }
}

void Application::EndSession() {
    // Once the loop has ended the forms are going or gone, and quitting has saved what it saves: a session
    // end sent to us while they are torn down (the tray icon's removal waits on another process) saves
    // nothing more.
    if (terminated_) return;
    try {
        if (OnEndSession) OnEndSession();
    } catch (...) {
        // Told to no one: a box would hold up the end of the session.
    }
    Terminate();
}

void Application::IgnoreAltMenuAfterHotKey() {
    altMenuIgnoredUntil_ = GetTickCount64() + 1000;
}

bool Application::TakeAltMenuIgnored() {
    if (GetTickCount64() > altMenuIgnoredUntil_) return false;
    altMenuIgnoredUntil_ = 0;
    return true;
}

void Application::BringToFront() {
    HWND popup = GetLastActivePopup(Handle());
    if (popup && popup != Handle() && IsWindowVisible(popup) && IsWindowEnabled(popup))
        SetForegroundWindow(popup);
}

} // namespace ui
