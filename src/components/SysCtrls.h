#pragma once
// Two components: TSingleInstance keeps the program to one running instance per logon (a named mutex
// marks the running one), asked by the program's entry before any window is made; TPseudoApp carries the
// application's hint settings and events from the main form into the application object. Each may exist
// once per process.

#include "base/Color.h"
#include "base/Exception.h"
#include "base/Handles.h"
#include "ui/Application.h"

#include <windows.h>

#include <functional>
#include <string>

class EMultiSingleInstance : public Exception {
public:
    using Exception::Exception;
};

class EMultiAppInstance : public Exception {
public:
    using Exception::Exception;
};

class EPseudoAppError : public Exception {
public:
    using Exception::Exception;
};

enum class TDupInstAction { diActivateFirst, diException, diTerminate };

class TSingleInstance {
public:
    TSingleInstance();
    ~TSingleInstance();
    TSingleInstance(const TSingleInstance&) = delete;
    TSingleInstance& operator=(const TSingleInstance&) = delete;

    TDupInstAction DupInstAction = TDupInstAction::diActivateFirst;
    std::wstring ErrorMessage;
    std::wstring UniqueName;
    // Fired in a second instance before its action.
    std::function<void()> OnDuplicate;

    // Called once the properties are set: the first instance creates the named mutex and goes on (true);
    // a second one acts as DupInstAction says and ends (false), or throws.
    bool Loaded();
    // Whether this instance holds the name (it was the first).
    bool HoldsName() const { return mutex_.get() != nullptr; }

    // The first instance's window that a second one brings forward when the process ends, or null.
    static HWND WindowToActivate();

private:
    void FindFirstInstance();
    base::UniqueHandle mutex_;
};

class TPseudoApp {
public:
    TPseudoApp();
    ~TPseudoApp();
    TPseudoApp(const TPseudoApp&) = delete;
    TPseudoApp& operator=(const TPseudoApp&) = delete;

    TColor HintColor = clInfoBk;
    int HintPause = 500;
    int HintShortPause = 50;
    int HintHidePause = 2500;
    bool ShowHint = true;
    bool ShowMainForm = true;
    std::function<void()> OnActivate;
    std::function<void()> OnDeactivate;
    std::function<void(const std::wstring& message)> OnException;
    std::function<void(bool& done)> OnIdle;
    std::function<bool(UINT command, ULONG_PTR data, bool& callHelp)> OnHelp;
    std::function<void()> OnHint;
    std::function<void(MSG& msg, bool& handled)> OnMessage;
    std::function<void()> OnMinimize;
    std::function<void()> OnRestore;
    std::function<void(ui::HintShowInfo& info)> OnShowHint;

    // Called once the owning form's properties are set. Only the main form's component counts: it
    // copies the settings into the application, and each event where the application has none yet.
    void Loaded();
};
