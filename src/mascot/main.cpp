// Program entry of ぱむぱむランチ.

#include "dialogs/VerDlg.h"
#include "mascot/eye1.h"
#include "ui/Application.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    try {
        ui::Application app;
        // Before anything else: a tool window gets no task-bar button, so neither does the program.
        HWND appWindow = app.Handle();
        SetWindowLongPtrW(appWindow, GWL_EXSTYLE,
                          GetWindowLongPtrW(appWindow, GWL_EXSTYLE) | WS_EX_TOOLWINDOW);
        app.Initialize();
        app.SetTitle(L"ぱむぱむランチ");
        app.HelpFile = L"pmrun.hlp";
        app.CreateForm<TpamuF>();
        // Hidden until asked for; its version text is read now.
        VerDlgF = app.CreateOwnedForm<TVerDlgF>();
        app.Run();
    } catch (...) {
        ui::Application::HandleCurrentException();
        return 1;
    }
    return 0;
}
