#pragma once
// The system's file-open dialog with a filter written as "name|pattern|name|pattern".
// https://learn.microsoft.com/windows/win32/dlgbox/open-and-save-as-dialog-boxes

#include <windows.h>
#include <commdlg.h>

#include <functional>
#include <string>

namespace ui {

class OpenDialog {
public:
    std::wstring Filter;
    int FilterIndex = 1; // 1-based
    std::wstring Title;
    std::wstring FileName;
    bool HideReadOnly = true;
    bool FileMustExist = true;

    // Shows the dialog for the owner; true when the user chose a file, which is then in FileName.
    bool Execute(HWND owner);

    // Tests replace the system dialog with this: it gets the filled structure and answers for the user.
    static std::function<bool(OPENFILENAMEW&)> Override;
};

// "a|b|c|d" as the NUL-separated, double-NUL-terminated list the dialog takes.
std::wstring FilterList(const std::wstring& filter);

} // namespace ui
