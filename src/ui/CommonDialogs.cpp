#include "ui/CommonDialogs.h"

#include "base/WinUtil.h"
#include "ui/Graphics.h"
#include "ui/Language.h"

#include <commdlg.h>

#include <vector>

namespace ui {

std::function<bool(OPENFILENAMEW&)> OpenDialog::Override;
std::function<bool(CHOOSECOLORW&)> ColorDialog::Override;

namespace {
// comdlg32 is loaded when a dialog is first needed: linked in, it costs every start of the program its
// loading time and memory.
template <typename Record> bool RunCommonDialog(const char* name, Record& record) {
    using Proc = BOOL(WINAPI*)(Record*);
    static HMODULE library = LoadLibraryW(L"comdlg32.dll");
    if (!library) return false;
    auto proc = reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(library, name)));
    return proc && proc(&record) != FALSE;
}
} // namespace

std::wstring FilterList(const std::wstring& filter) {
    std::wstring list = filter;
    for (wchar_t& c : list)
        if (c == L'|') c = L'\0';
    list.push_back(L'\0');
    list.push_back(L'\0');
    return list;
}

bool OpenDialog::Execute(HWND owner) {
    const std::wstring filters = FilterList(Localized(Filter));
    const std::wstring title = Localized(Title);
    // Room for any path the file system allows, so that a chosen name is never cut.
    std::vector<wchar_t> file(32768, L'\0');
    FileName.copy(file.data(), std::min(FileName.size(), file.size() - 1));
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filters.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(FilterIndex);
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_ENABLESIZING | (HideReadOnly ? OFN_HIDEREADONLY : 0) |
                (FileMustExist ? OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST : 0);
    // The dialog makes the folder the user browsed to the process's current one, which then holds a USB
    // stick or a share busy; OFN_NOCHANGEDIR does nothing for an open dialog, so it is put back here.
    // https://learn.microsoft.com/windows/win32/api/commdlg/ns-commdlg-openfilenamew
    const std::wstring current = base::CurrentDirectory();
    const bool chosen = Override ? Override(ofn) : RunCommonDialog("GetOpenFileNameW", ofn);
    if (!current.empty()) SetCurrentDirectoryW(current.c_str());
    if (!chosen) return false;
    FileName = file.data();
    FilterIndex = static_cast<int>(ofn.nFilterIndex);
    return true;
}

bool ColorDialog::Execute(HWND owner) {
    CHOOSECOLORW cc{};
    cc.lStructSize = sizeof(cc);
    cc.hwndOwner = owner;
    cc.rgbResult = ColorToRGB(Color);
    cc.lpCustColors = custom_;
    cc.Flags = CC_RGBINIT;
    const bool chosen = Override ? Override(cc) : RunCommonDialog("ChooseColorW", cc);
    if (chosen) Color = static_cast<TColor>(cc.rgbResult);
    return chosen;
}

} // namespace ui
