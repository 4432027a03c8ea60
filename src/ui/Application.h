#pragma once
// The application object: one per process. It owns the hidden application window (a never-shown tool
// window that owns every form, so no form gets a task-bar button), the forms, the message loop, the
// activation event, the hint settings and the error box.

#include "base/Color.h"
#include "base/ComPtr.h"
#include "base/Exception.h"
#include "ui/Form.h"
#include "ui/Window.h"

#include <functional>
#include <optional>
#include <memory>
#include <string>
#include <vector>

namespace ui {

class Form;
class HintHost;

// What a show-hint handler may change before a hint appears.
struct HintShowInfo {
    std::wstring text;
    bool canShow = true;
    POINT position{}; // screen position of the hint window's top-left corner
    HWND control = nullptr;
};

// Final: its constructor, the last to run, makes its window.
class Application final : private Window {
public:
    Application();
    ~Application() override;

    static Application& Instance();
    static Application* TryInstance();

    HWND Handle() const { return Window::Handle(); }

    // COM for shell links and the common controls; after the window styles are settled.
    void Initialize();

    const std::wstring& Title() const { return title_; }
    void SetTitle(const std::wstring& title);
    std::wstring HelpFile;
    // Full path of the running executable, of any length.
    static std::wstring ExeName();

    Form* MainForm() const { return mainForm_; }
    bool ShowMainForm = true;

    // Creates a form owned by the application: constructs it, then makes its window (Form::Create). The
    // first one created so becomes the main form once its creation (and with it its OnCreate) has finished.
    template <typename T, typename... Args> T* CreateForm(Args&&... args) {
        return Adopt<T>(FormPtr(new T(std::forward<Args>(args)...)), true);
    }
    // Creates a form owned by the application that never becomes the main form.
    template <typename T, typename... Args> T* CreateOwnedForm(Args&&... args) {
        return Adopt<T>(FormPtr(new T(std::forward<Args>(args)...)), false);
    }
    // Destroys the form once the current message has been handled.
    void ReleaseForm(Form* form);
    const std::vector<FormPtr>& Forms() const { return forms_; }

    // Shows and paints the main form (unless the program is already ending), runs the start steps and
    // handles messages until the end.
    void Run();
    // Work that can wait until the main form is on screen, so that the user sees it sooner. The steps run in
    // the order given, before the loop takes its first message, so no handler runs before them.
    void AfterMainFormShown(std::function<void()> step);
    // Runs the steps given so far, each once (Run calls it; tests that run no loop call it themselves). A
    // program already told to end runs none.
    void RunStartSteps();
    // Waits for one message and handles it (modal loops use this). With an idle handler, that handler
    // runs first whenever the queue is empty.
    void PumpOne();
    void ProcessMessages();
    // Asks the message loop to end the next time it runs.
    void Terminate();
    bool Terminated() const { return terminated_; }
    bool TerminateRequested() const { return terminateRequested_; }
    // Sees every message the loop takes before it is dispatched; handled stops it there.
    std::function<void(MSG& msg, bool& handled)> OnMessage;
    // The queue is empty; done (true on entry) lets the loop wait, false calls again after a message check.
    std::function<void(bool& done)> OnIdle;

    // Hides every visible form until Restore shows them again.
    void Minimize();
    void Restore();
    bool Minimized() const { return minimized_; }
    std::function<void()> OnMinimize;
    std::function<void()> OnRestore;

    // Opens the help file through the help engine, unless OnHelp says the call is handled.
    bool HelpCommand(UINT command, ULONG_PTR data);
    std::function<bool(UINT command, ULONG_PTR data, bool& callHelp)> OnHelp;

    // A hot key with Alt was just handled: the release of its Alt must not put the window in front into
    // menu mode (as a lone Alt would), where the next click or key would go to the system menu.
    void IgnoreAltMenuAfterHotKey();
    // True, once, for the first lone-Alt menu request soon after such a hot key.
    bool TakeAltMenuIgnored();

    // Puts the program's last active window in the foreground, if it is visible and enabled.
    void BringToFront();

    bool Active() const { return active_; }
    std::function<void()> OnActivate;
    std::function<void()> OnDeactivate;

    // Windows ends the session (WM_ENDSESSION with TRUE): the last chance to save, after which the loop
    // ends. Every window agrees to WM_QUERYENDSESSION at once, as Windows asks, and the work waits for this
    // message, which comes only when the session does end. Whatever the handler meets, nothing is shown:
    // the user is leaving, and Windows may end the process once the message has been handled.
    // https://learn.microsoft.com/windows/win32/shutdown/wm-queryendsession
    // https://learn.microsoft.com/windows/win32/shutdown/wm-endsession
    std::function<void()> OnEndSession;

    // Hints of every form.
    TColor HintColor = clInfoBk;
    int HintPause = 500;
    int HintShortPause = 50;
    int HintHidePause = 2500;
    bool ShowHint = true;
    std::function<void(HintShowInfo&)> OnShowHint;
    // The text of the hint shown last; OnHint follows each change.
    const std::wstring& Hint() const { return hint_; }
    void SetHint(const std::wstring& hint);
    std::function<void()> OnHint;
    void ApplyHintSettings();
    void RegisterHintHost(HintHost* host);
    void UnregisterHintHost(HintHost* host);

    // With no handler the standard error box shows the message with the title as caption.
    std::function<void(const std::wstring& message)> OnException;
    void ShowException(const std::wstring& message);
    // Shows whatever exception is in flight; called from catch blocks around dispatch.
    static void HandleCurrentException();
    // The same, once the call under way has returned: for calls that must not wait on a box, such as
    // OLE's drag-and-drop callbacks, where the program the drag comes from waits too.
    static void HandleCurrentExceptionLater();
    // What the error box says of the exception in flight; any thread may ask.
    static std::wstring CurrentExceptionMessage();

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    template <typename T> T* Adopt(FormPtr form, bool mayBeMain) {
        auto* raw = static_cast<T*>(form.get());
        CreateAndAdopt(std::move(form), mayBeMain);
        return raw;
    }
    void CreateAndAdopt(FormPtr form, bool mayBeMain);
    bool PreviewKeys(MSG& msg);
    bool DialogKeys(MSG& msg);
    void DispatchOne(MSG& msg);
    void DestroyReleased(Form* form);
    void EndSession();

    std::wstring title_;
    Form* mainForm_ = nullptr;
    std::vector<FormPtr> forms_;
    std::vector<HintHost*> hintHosts_;
    std::vector<std::function<void()>> startSteps_;
    // Messages of HandleCurrentExceptionLater, shown in turn.
    std::vector<std::wstring> laterMessages_;
    bool laterPosted_ = false;
    bool terminated_ = false;
    bool terminateRequested_ = false;
    bool active_ = false;
    bool minimized_ = false;
    ULONGLONG altMenuIgnoredUntil_ = 0;
    std::wstring hint_;
    // OLE on the interface thread (shell links, the panel's drop target), from Initialize to the end.
    std::optional<base::OleApartment> ole_;
};

} // namespace ui
