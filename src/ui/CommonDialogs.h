#pragma once
// The system's file-open dialog with a filter written as "name|pattern|name|pattern", and its colour
// dialog.
// https://learn.microsoft.com/windows/win32/dlgbox/open-and-save-as-dialog-boxes

#include "base/Color.h"

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

// The system's colour dialog. It starts on Color (black until a colour is chosen) and keeps its custom
// colours between runs.
// https://learn.microsoft.com/windows/win32/dlgbox/color-dialog-box
class ColorDialog {
public:
    TColor Color = clBlack;
    // True when the user confirmed a colour, which is then in Color.
    bool Execute(HWND owner);

    // Tests replace the system dialog with this: it gets the filled structure and answers for the user.
    static std::function<bool(CHOOSECOLORW&)> Override;

private:
    COLORREF custom_[16]{};
};

// "a|b|c|d" as the NUL-separated, double-NUL-terminated list the dialog takes.
std::wstring FilterList(const std::wstring& filter);

} // namespace ui
