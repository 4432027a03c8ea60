#include "ui/CommonDialogs.h"

#include <commdlg.h>

#include <vector>

namespace ui {

std::function<bool(OPENFILENAMEW&)> OpenDialog::Override;

std::wstring FilterList(const std::wstring& filter) {
    std::wstring list = filter;
    for (wchar_t& c : list)
        if (c == L'|') c = L'\0';
    list.push_back(L'\0');
    list.push_back(L'\0');
    return list;
}

bool OpenDialog::Execute(HWND owner) {
    const std::wstring filters = FilterList(Filter);
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
    ofn.lpstrTitle = Title.empty() ? nullptr : Title.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_ENABLESIZING | (HideReadOnly ? OFN_HIDEREADONLY : 0) |
                (FileMustExist ? OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST : 0);
    const bool chosen = Override ? Override(ofn) : GetOpenFileNameW(&ofn) != FALSE;
    if (!chosen) return false;
    FileName = file.data();
    FilterIndex = static_cast<int>(ofn.nFilterIndex);
    return true;
}

} // namespace ui
