#include "BenchSupport.h"

#include <cstdio>

#include <algorithm>

namespace bench {

std::wstring FreshFolder(const std::wstring& name) {
    wchar_t temp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, temp);
    std::wstring folder = std::wstring(temp) + name;
    DeleteFolder(folder);
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

LARGE_INTEGER Now() {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t;
}

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

bool StartCopy(const std::wstring& source, const std::wstring& folder, const std::wstring& arguments,
               Started& started) {
    started.folder = folder;
    started.exe = folder + L"\\" + source.substr(source.find_last_of(L'\\') + 1);
    if (!CopyFileW(source.c_str(), started.exe.c_str(), FALSE)) return false;
    std::wstring commandLine = L"\"" + started.exe + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    return CreateProcessW(started.exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          folder.c_str(), &si, &started.process) != FALSE;
}

void Stop(Started& started) {
    if (started.process.hProcess) {
        TerminateProcess(started.process.hProcess, 0);
        WaitForSingleObject(started.process.hProcess, 5000);
        CloseHandle(started.process.hProcess);
        CloseHandle(started.process.hThread);
        started.process = {};
    }
    DeleteFolder(started.folder);
}

HWND WaitForVisibleWindow(DWORD pid, const wchar_t* className, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        HWND found = testfiles::FindProcessWindow(pid, className, true);
        if (found || GetTickCount() - start >= timeoutMs) return found;
        Sleep(1);
    }
}

void WriteText(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

void TableRow(const char* what, double baseline, double pmrun, const char* unit) {
    if (baseline <= 0) {
        std::printf("TABLE|%s|%.1f %s|%.1f %s|n/a|baseline used nothing measurable\n", what, baseline, unit,
                    pmrun, unit);
        return;
    }
    const double ratio = pmrun / baseline;
    std::printf("TABLE|%s|%.1f %s|%.1f %s|%.2fx|%s\n", what, baseline, unit, pmrun, unit, ratio,
                ratio <= 1.2 ? "within 1.2x" : "over 1.2x");
}

} // namespace bench
