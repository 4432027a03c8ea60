#include "components/SysCtrls.h"

#include "base/PathParts.h"
#include "base/WinUtil.h"

namespace {

int g_singleInstances = 0;
int g_pseudoApps = 0;

// Brought forward once everything of this process is gone, so that the first instance is what the user
// sees when the second one has ended.
struct FinalActivation {
    HWND window = nullptr;
    ~FinalActivation() {
        if (window) SetForegroundWindow(window);
    }
} g_finalActivation;

std::wstring ClassNameOf(HWND window) {
    // Class names are at most 256 characters.
    wchar_t name[257] = {};
    const int length = GetClassNameW(window, name, 257);
    return std::wstring(name, static_cast<std::size_t>(length > 0 ? length : 0));
}

struct Search {
    std::wstring caption;
    HWND own = nullptr;
    HWND found = nullptr;
};

BOOL CALLBACK FindApplicationWindow(HWND window, LPARAM param) {
    auto& search = *reinterpret_cast<Search*>(param);
    if (window == search.own || !base::SameTextIgnoringCase(ClassNameOf(window), L"TApplication"))
        return TRUE;
    if (!base::SameTextIgnoringCase(base::WindowText(window), search.caption)) return TRUE;
    search.found = window;
    return FALSE;
}

} // namespace

TSingleInstance::TSingleInstance() : ErrorMessage(L"すでに起動されています") {
    if (++g_singleInstances > 1) {
        --g_singleInstances;
        throw EMultiSingleInstance(L"Only single component allowed");
    }
}

TSingleInstance::~TSingleInstance() {
    --g_singleInstances;
}

HWND TSingleInstance::WindowToActivate() {
    return g_finalActivation.window;
}

bool TSingleInstance::Loaded() {
    if (UniqueName.empty()) return true; // no name, nothing to guard
    // Create or open in one call: of two programs starting in the same instant exactly one creates it.
    // Opening first and creating after would let both find nothing and both run.
    base::UniqueHandle mutex(CreateMutexW(nullptr, FALSE, UniqueName.c_str()));
    const DWORD error = GetLastError();
    // CreateMutexW asks for MUTEX_ALL_ACCESS: a copy run as administrator holds a name that this one may
    // only wait on. Opened for that alone, it is another copy that runs; two copies would write one
    // settings file, and each would find the other's hot keys held.
    const bool othersName = !mutex && error == ERROR_ACCESS_DENIED &&
                            base::UniqueHandle(OpenMutexW(SYNCHRONIZE, FALSE, UniqueName.c_str()));
    if (!mutex && !othersName) return true; // cannot be made: this instance runs as the first
    if (mutex && error != ERROR_ALREADY_EXISTS) {
        mutex_ = std::move(mutex); // held, never owned or waited on: its name marks the running instance
        return true;
    }
    mutex.reset(); // the first instance's name, not ours to keep open
    if (OnDuplicate) OnDuplicate();
    switch (DupInstAction) {
    case TDupInstAction::diActivateFirst: FindFirstInstance(); break;
    case TDupInstAction::diException: throw EMultiAppInstance(ErrorMessage);
    case TDupInstAction::diTerminate: break;
    }
    return false;
}

void TSingleInstance::FindFirstInstance() {
    Search search;
    search.caption = FileNameWithoutExt(ExtractFileName(ui::Application::ExeName()));
    if (auto* app = ui::Application::TryInstance()) search.own = app->Handle();
    EnumWindows(&FindApplicationWindow, reinterpret_cast<LPARAM>(&search));
    g_finalActivation.window = search.found ? GetLastActivePopup(search.found) : nullptr;
}

TPseudoApp::TPseudoApp() {
    if (++g_pseudoApps > 1) {
        --g_pseudoApps;
        throw EPseudoAppError(L"Only Single Instance Allowed");
    }
}

TPseudoApp::~TPseudoApp() {
    --g_pseudoApps;
}

void TPseudoApp::Loaded() {
    auto& app = ui::Application::Instance();
    if (app.MainForm()) return;
    app.HintColor = HintColor;
    app.HintPause = HintPause;
    app.HintShortPause = HintShortPause;
    app.HintHidePause = HintHidePause;
    app.ShowHint = ShowHint;
    app.ShowMainForm = ShowMainForm;
    app.ApplyHintSettings();
    // An event the application already has keeps its handler.
    auto copy = [](auto& to, const auto& from) {
        if (!to) to = from;
    };
    copy(app.OnActivate, OnActivate);
    copy(app.OnDeactivate, OnDeactivate);
    copy(app.OnException, OnException);
    copy(app.OnIdle, OnIdle);
    copy(app.OnHelp, OnHelp);
    copy(app.OnHint, OnHint);
    copy(app.OnMessage, OnMessage);
    copy(app.OnMinimize, OnMinimize);
    copy(app.OnRestore, OnRestore);
    copy(app.OnShowHint, OnShowHint);
}
