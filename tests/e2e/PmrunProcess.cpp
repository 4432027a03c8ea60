#include "PmrunProcess.h"

#include <shellapi.h>

#include <sstream>

namespace e2e {

namespace {

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

void DeleteTree(const std::wstring& folder) {
    std::wstring from = folder + L'\0'; // double-terminated list
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NO_UI;
    SHFileOperationW(&op);
}

struct FindData {
    DWORD pid;
    const wchar_t* className;
    HWND found;
};

BOOL CALLBACK FindProc(HWND hwnd, LPARAM lParam) {
    auto* data = reinterpret_cast<FindData*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != data->pid) return TRUE;
    wchar_t name[64];
    GetClassNameW(hwnd, name, 64);
    if (lstrcmpW(name, data->className) != 0) return TRUE;
    data->found = hwnd;
    return FALSE;
}

} // namespace

std::vector<IniKey> ParseIni(const std::string& bytes) {
    std::vector<IniKey> keys;
    std::istringstream in(bytes);
    std::string line, section;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        if (line.front() == '[') {
            section = line.substr(1, line.find(']') - 1);
            continue;
        }
        auto eq = line.find('=');
        if (eq != std::string::npos) keys.push_back({section, line.substr(0, eq), line.substr(eq + 1)});
    }
    return keys;
}

std::string ValueOf(const std::vector<IniKey>& keys, const std::string& section, const std::string& key) {
    for (const auto& k : keys)
        if (k.section == section && k.key == key) return k.value;
    return "<missing>";
}

std::string ToAnsi(const std::wstring& text) {
    int n = WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                nullptr);
    std::string bytes(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(), n, nullptr,
                        nullptr);
    return bytes;
}

PmrunProcess::PmrunProcess() {
    static int counter = 0;
    wchar_t temp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, temp);
    folder_ = std::wstring(temp) + L"pmrun-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
              std::to_wstring(++counter);
    DeleteTree(folder_);
    CreateDirectoryW(folder_.c_str(), nullptr);
    CopyFileW((ExeFolder() + L"\\pmrun.exe").c_str(), (folder_ + L"\\pmrun.exe").c_str(), FALSE);
}

PmrunProcess::~PmrunProcess() {
    Kill();
    DeleteTree(folder_);
}

void PmrunProcess::WriteIni(const std::wstring& text) const {
    std::string bytes = ToAnsi(text);
    HANDLE file = CreateFileW(IniPath().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

std::string PmrunProcess::IniBytes() const {
    HANDLE file = CreateFileW(IniPath().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof(buffer), &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

bool PmrunProcess::Start(bool mascotShown) {
    std::wstring exe = folder_ + L"\\pmrun.exe";
    std::wstring commandLine = L"\"" + exe + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder_.c_str(),
                        &si, &process_))
        return false;
    for (int i = 0; i < 200; ++i) {
        HWND mascot = Mascot(), panel = Panel();
        if (mascot && panel && IsWindowVisible(panel) && (!mascotShown || IsWindowVisible(mascot))) return true;
        if (!Running()) return false;
        Sleep(50);
    }
    return false;
}

bool PmrunProcess::Running() const {
    return process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

bool PmrunProcess::Quit() {
    HWND mascot = Mascot();
    if (!mascot) return false;
    PostMessageW(mascot, WM_CLOSE, 0, 0);
    return WaitForSingleObject(process_.hProcess, 10000) == WAIT_OBJECT_0;
}

DWORD PmrunProcess::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
}

void PmrunProcess::Kill() {
    if (!process_.hProcess) return;
    if (Running()) {
        TerminateProcess(process_.hProcess, 99);
        WaitForSingleObject(process_.hProcess, 5000);
    }
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
    process_ = {};
}

HWND PmrunProcess::FindWindowOfClass(const wchar_t* className) const {
    FindData data{process_.dwProcessId, className, nullptr};
    EnumWindows(FindProc, reinterpret_cast<LPARAM>(&data));
    return data.found;
}

HWND PmrunProcess::PanelToolBar() const {
    return FindWindowExW(Panel(), nullptr, L"ToolbarWindow32", nullptr);
}

std::wstring WindowText(HWND hwnd) {
    wchar_t text[512];
    int n = GetWindowTextW(hwnd, text, 512);
    return std::wstring(text, static_cast<std::size_t>(n > 0 ? n : 0));
}

RECT WindowRect(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

RECT ClientRect(HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    return r;
}

COLORREF ScreenPixel(int x, int y) {
    HDC screen = GetDC(nullptr);
    COLORREF c = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return c;
}

COLORREF WaitForScreenPixel(int x, int y, COLORREF wanted, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    COLORREF c = ScreenPixel(x, y);
    while (c != wanted && GetTickCount() - start < timeoutMs) {
        Sleep(20);
        c = ScreenPixel(x, y);
    }
    return c;
}

} // namespace e2e
