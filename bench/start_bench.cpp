// Start-up benchmark: time from CreateProcess until the main window (the mascot) is visible, and the
// resident memory a second later, for pmrun.exe with thirty assigned buttons and for a minimal Win32
// program that opens one window. Runs alternate between the two so that both see the same machine; the
// medians and their ratios are printed.
//
//   pmrun_bench_start [runs]      (beside pmrun.exe and pmrun_bench_baseline.exe)

#include "BenchSupport.h"

#include <psapi.h>

#include <cstdio>

using namespace bench;

namespace {

struct Sample {
    double startMs;
    double residentKb;
    double privateKb;
};

// A user's settings: the mascot, the panel and thirty buttons, each with a program and its icon.
std::string UsersSettings() {
    std::string ini = "[eye]\r\nLeft=600\r\nTop=400\r\n[btnform]\r\nleft=100\r\ntop=100\r\nwidth=238\r\n"
                      "height=220\r\n";
    for (int n = 1; n <= 30; ++n)
        ini += "[btn" + std::to_string(n) +
               "]\r\npg=C:\\windows\\notepad.exe\r\nic=C:\\windows\\notepad.exe\r\n"
               "icidx=0\r\ndr=C:\\windows\\\r\nlb=Notepad " +
               std::to_string(n) + "\r\nop=\r\n";
    return ini;
}

bool RunOnce(const std::wstring& source, const wchar_t* windowClass, const std::wstring& folder,
             const std::string& settings, Sample& sample) {
    Started started;
    const std::wstring fresh = FreshFolder(folder);
    if (!settings.empty()) WriteText(fresh + L"\\pmrun.Ini", settings);
    const LARGE_INTEGER t0 = Now();
    if (!StartCopy(source, fresh, L"", started)) return false;
    const bool shown = WaitForVisibleWindow(started.process.dwProcessId, windowClass, 20000) != nullptr;
    const LARGE_INTEGER t1 = Now();
    Sleep(1000); // settled: timers have run, the first paint is done
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(started.process.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                         sizeof(counters));
    Stop(started);
    sample.startMs = Milliseconds(t0, t1);
    sample.residentKb = static_cast<double>(counters.WorkingSetSize) / 1024.0;
    sample.privateKb = static_cast<double>(counters.PrivateUsage) / 1024.0;
    return shown;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    int runs = argc > 1 ? _wtoi(argv[1]) : 10;
    const std::wstring here = ExeFolder();
    const std::wstring programs[2] = {here + L"\\pmrun_bench_baseline.exe", here + L"\\pmrun.exe"};
    // The mascot itself, whichever window comes first.
    const wchar_t* windowClasses[2] = {L"BaselineWindow", L"TpamuF"};
    std::vector<Sample> samples[2];
    for (int run = 0; run < runs; ++run) {
        for (int p = 0; p < 2; ++p) {
            Sample s{};
            if (!RunOnce(programs[p], windowClasses[p], L"pmrun-bench-" + std::to_wstring(p),
                         p == 1 ? UsersSettings() : "", s)) {
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
    std::printf("start-up, runs each: %d (medians)\n", runs);
    std::printf("%-10s %12s %14s %14s\n", "", "start ms", "resident KiB", "private KiB");
    std::printf("%-10s %12.1f %14.0f %14.0f\n", "baseline", start[0], resident[0], priv[0]);
    std::printf("%-10s %12.1f %14.0f %14.0f\n", "pmrun", start[1], resident[1], priv[1]);
    // Wine reports no private bytes for another process; there the ratio is left out.
    if (priv[0] > 0)
        std::printf("ratio      %12.2f %14.2f %14.2f\n", start[1] / start[0], resident[1] / resident[0],
                    priv[1] / priv[0]);
    else
        std::printf("ratio      %12.2f %14.2f %14s\n", start[1] / start[0], resident[1] / resident[0], "n/a");
    TableRow("start to mascot visible", start[0], start[1], "ms");
    TableRow("resident memory", resident[0], resident[1], "KiB");
    return 0;
}
