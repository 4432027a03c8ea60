#include "Programs.h"

#include <windows.h>
#include <shellapi.h>
#include <tlhelp32.h>

namespace testfiles {

std::wstring ExeFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    return path.substr(0, path.find_last_of(L'\\'));
}

void DeleteFolder(const std::wstring& folder) {
    std::wstring from = folder + L'\0'; // double-terminated list
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NO_UI;
    SHFileOperationW(&op);
}

namespace {
struct WindowSearch {
    DWORD pid;
    const wchar_t* className;
    bool visibleOnly;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM lParam) {
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != search->pid || (search->visibleOnly && !IsWindowVisible(hwnd))) return TRUE;
    if (search->className) {
        wchar_t name[64] = {};
        GetClassNameW(hwnd, name, 64);
        if (lstrcmpW(name, search->className) != 0) return TRUE;
    }
    search->found = hwnd;
    return FALSE;
}
} // namespace

HWND FindProcessWindow(DWORD pid, const wchar_t* className, bool visibleOnly) {
    WindowSearch search{pid, className, visibleOnly, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool ChildRunning(DWORD parentPid, const std::wstring& fileName) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return true;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    bool found = false;
    for (BOOL more = Process32FirstW(snapshot, &entry); more && !found;
         more = Process32NextW(snapshot, &entry))
        found = entry.th32ParentProcessID == parentPid && lstrcmpiW(entry.szExeFile, fileName.c_str()) == 0;
    CloseHandle(snapshot);
    return found;
}

} // namespace testfiles
