// Program entry of ぱむぱむランチ: where the model, the application and the forms are put together.

#include "app/Program.h"
#include "components/SysCtrls.h"
#include "dialogs/VerDlg.h"
#include "settings/IniValues.h"
#include "ui/Application.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    try {
        // One running copy per logon. A second start ends here, before it has made a window, and brings
        // the first one forward as it goes (when it finds it).
        TSingleInstance SingleInstance1;
        SingleInstance1.UniqueName = L"Ident766";
        if (!SingleInstance1.Loaded()) return 0;
        // Outlives the application, and with it every form that reads the model.
        Program program(SettingsPathFor(ui::Application::ExeName()));
        ui::Application app;
        // Before anything else: a tool window gets no task-bar button, so neither does the program.
        HWND appWindow = app.Handle();
        SetWindowLongPtrW(appWindow, GWL_EXSTYLE,
                          GetWindowLongPtrW(appWindow, GWL_EXSTYLE) | WS_EX_TOOLWINDOW);
        app.Initialize();
        app.SetTitle(L"ぱむぱむランチ");
        app.HelpFile = L"pmrun.hlp";
        program.Start(app);
        // Hidden until the application goes; its version text is read at start, once the mascot is on
        // screen.
        app.AfterMainFormShown([&app] { app.CreateOwnedForm<TVerDlgF>(); });
        app.Run();
    } catch (...) {
        ui::Application::HandleCurrentException();
        return 1;
    }
    return 0;
}
