// Start-up benchmark: time from CreateProcess until the first window is visible, and the resident memory
// a second later, for pmrun.exe and for a minimal Win32 program that opens one window. Runs alternate
// between the two so that both see the same machine; the medians and their ratios are printed.
//
//   pmrun_bench_start [runs]      (beside pmrun.exe and pmrun_bench_baseline.exe)

#include <windows.h>
#include <psapi.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Sample {
    double startMs;
    double residentKb;
    double privateKb;
};

std::wstring ExeFolder() {
    wchar_t path[MAX_PATH * 4];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
    std::wstring s(path, n);
    return s.substr(0, s.find_last_of(L'\\'));
}

struct Find {
    DWORD pid;
    bool visible;
};

BOOL CALLBACK FindVisible(HWND hwnd, LPARAM lParam) {
    auto* f = reinterpret_cast<Find*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == f->pid && IsWindowVisible(hwnd)) {
        f->visible = true;
        return FALSE;
    }
    return TRUE;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

bool RunOnce(const std::wstring& source, const std::wstring& folder, Sample& sample) {
    CreateDirectoryW(folder.c_str(), nullptr);
    std::wstring exe = folder + L"\\" + source.substr(source.find_last_of(L'\\') + 1);
    CopyFileW(source.c_str(), exe.c_str(), FALSE);
    std::wstring commandLine = L"\"" + exe + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    LARGE_INTEGER frequency, t0, t1;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&t0);
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &si, &pi))
        return false;
    Find find{pi.dwProcessId, false};
    for (int i = 0; i < 20000 && !find.visible; ++i) {
        EnumWindows(FindVisible, reinterpret_cast<LPARAM>(&find));
        if (!find.visible) Sleep(1);
    }
    QueryPerformanceCounter(&t1);
    Sleep(1000); // settled: timers have run, the first paint is done
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(pi.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                         sizeof(counters));
    TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, 5000);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    DeleteFileW(exe.c_str());
    DeleteFileW((folder + L"\\pmrun.Ini").c_str());
    RemoveDirectoryW(folder.c_str());
    sample.startMs =
        1000.0 * static_cast<double>(t1.QuadPart - t0.QuadPart) / static_cast<double>(frequency.QuadPart);
    sample.residentKb = static_cast<double>(counters.WorkingSetSize) / 1024.0;
    sample.privateKb = static_cast<double>(counters.PrivateUsage) / 1024.0;
    return find.visible;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    int runs = argc > 1 ? _wtoi(argv[1]) : 10;
    const std::wstring here = ExeFolder();
    const std::wstring programs[2] = {here + L"\\pmrun_bench_baseline.exe", here + L"\\pmrun.exe"};
    wchar_t temp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, temp);
    std::vector<Sample> samples[2];
    for (int run = 0; run < runs; ++run) {
        for (int p = 0; p < 2; ++p) {
            Sample s{};
            std::wstring folder = std::wstring(temp) + L"pmrun-bench-" + std::to_wstring(p);
            if (!RunOnce(programs[p], folder, s)) {
                std::fwprintf(stderr, L"run of %ls failed\n", programs[p].c_str());
                return 1;
            }
            samples[p].push_back(s);
        }
    }
    double start[2], resident[2], priv[2];
    for (int p = 0; p < 2; ++p) {
        std::vector<double> a, b, c;
        for (const auto& s : samples[p]) {
            a.push_back(s.startMs);
            b.push_back(s.residentKb);
            c.push_back(s.privateKb);
        }
        start[p] = Median(a);
        resident[p] = Median(b);
        priv[p] = Median(c);
    }
    std::printf("runs each: %d (medians)\n", runs);
    std::printf("%-10s %12s %14s %14s\n", "", "start ms", "resident KiB", "private KiB");
    std::printf("%-10s %12.1f %14.0f %14.0f\n", "baseline", start[0], resident[0], priv[0]);
    std::printf("%-10s %12.1f %14.0f %14.0f\n", "pmrun", start[1], resident[1], priv[1]);
    // Wine reports no private bytes for another process; there the ratio is left out.
    if (priv[0] > 0)
        std::printf("ratio      %12.2f %14.2f %14.2f\n", start[1] / start[0], resident[1] / resident[0],
                    priv[1] / priv[0]);
    else
        std::printf("ratio      %12.2f %14.2f %14s\n", start[1] / start[0], resident[1] / resident[0], "n/a");
    return 0;
}
