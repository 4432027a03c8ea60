// The installer test's view from inside the Wine prefix (tests/installer_test.sh):
//   window CLASS MS        ends with 0 once a top-level window of CLASS exists, 1 if none came within MS
//   no-process NAME MS     ends with 0 once no process runs the image NAME, 1 if one still runs after MS
//   close CLASS            posts WM_CLOSE to the top-level window of CLASS, as a quit from its menu does,
//                          and ends at once; 1 if there is none
//   hold FILE MS READY     maps FILE as a program image, as a process that is still ending holds its
//                          program file, creates the file READY, and lets go after MS
// A console program, so that its exit code and output reach the script.

#include <windows.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

bool Found(const std::wstring& className) {
    return FindWindowW(className.c_str(), nullptr) != nullptr;
}

int CountProcesses(const std::wstring& imageName) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return -1;
    int count = 0;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
        if (_wcsicmp(entry.szExeFile, imageName.c_str()) == 0) ++count;
    CloseHandle(snapshot);
    return count;
}

template <typename Condition> bool WaitFor(DWORD timeoutMs, Condition condition) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        if (condition()) return true;
        if (GetTickCount64() >= deadline) return false;
        Sleep(20);
    }
}

int Hold(const std::wstring& path, DWORD ms, const std::wstring& ready) {
    // Shared as the loader shares a program file: only the image mapping keeps it from being deleted.
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_EXECUTE,
                              FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 2;
    HANDLE section = CreateFileMappingW(file, nullptr, PAGE_READONLY | SEC_IMAGE, 0, 0, nullptr);
    CloseHandle(file);
    if (!section) return 2;
    void* view = MapViewOfFile(section, FILE_MAP_READ, 0, 0, 0);
    CloseHandle(section);
    if (!view) return 2;
    HANDLE marker = CreateFileW(ready.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (marker == INVALID_HANDLE_VALUE) return 2;
    CloseHandle(marker);
    Sleep(ms);
    UnmapViewOfFile(view);
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"window" && argc == 4) {
        const std::wstring className = argv[2];
        return WaitFor(std::wcstoul(argv[3], nullptr, 10), [&] { return Found(className); }) ? 0 : 1;
    }
    if (command == L"no-process" && argc == 4) {
        const std::wstring name = argv[2];
        if (WaitFor(std::wcstoul(argv[3], nullptr, 10), [&] { return CountProcesses(name) == 0; })) return 0;
        std::printf("%d still running\n", CountProcesses(name));
        return 1;
    }
    if (command == L"close" && argc == 3) {
        HWND window = FindWindowW(argv[2], nullptr);
        return window && PostMessageW(window, WM_CLOSE, 0, 0) ? 0 : 1;
    }
    if (command == L"hold" && argc == 5) return Hold(argv[2], std::wcstoul(argv[3], nullptr, 10), argv[4]);
    std::fprintf(
        stderr,
        "usage: install_probe window CLASS MS | no-process NAME MS | close CLASS | hold FILE MS READY\n");
    return 2;
}
