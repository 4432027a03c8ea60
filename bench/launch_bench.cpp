// Click-to-launch benchmark: time from a click on a launcher button until the started program runs,
// against a minimal program that calls ShellExecuteW when clicked. The started program is the launch
// probe of the tests, which appends a line to a log at once; the time ends when that line appears.
//
//   pmrun_bench_launch [runs]      (default 10; beside pmrun.exe, pmrun_bench_launch_baseline.exe and
//                                   pmrun_launch_probe.exe)

#include "BenchSupport.h"

#include <cstdio>

using namespace bench;

namespace {

LONGLONG FileSize(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<LONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

void Click(int x, int y) {
    SetCursorPos(x, y);
    Sleep(150); // the window under the pointer has seen it arrive
    INPUT input[2]{};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, input, sizeof(INPUT));
}

// Clicks at (x, y) and returns the milliseconds until the probe's log grows; negative on a time-out.
double TimeLaunch(int x, int y, const std::wstring& log) {
    const LONGLONG before = FileSize(log);
    Click(x, y);
    const LARGE_INTEGER t0 = Now();
    for (;;) {
        if (FileSize(log) != before) return Milliseconds(t0, Now());
        if (Milliseconds(t0, Now()) > 10000) return -1;
        Sleep(0);
    }
}

bool WaitVisible(HWND hwnd, bool visible) {
    for (int i = 0; i < 5000; ++i) {
        if ((IsWindowVisible(hwnd) != FALSE) == visible) return true;
        Sleep(1);
    }
    return false;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const int runs = argc > 1 ? _wtoi(argv[1]) : 10;
    const std::wstring here = ExeFolder();
    const std::wstring probeSource = here + L"\\pmrun_launch_probe.exe";
    if (GetFileAttributesW(probeSource.c_str()) == INVALID_FILE_ATTRIBUTES) {
        std::fprintf(stderr, "pmrun_launch_probe.exe is missing: build with the tests\n");
        return 1;
    }

    const std::wstring pmrunFolder = FreshFolder(L"pmrun-bench-launch");
    const std::wstring baseFolder = FreshFolder(L"pmrun-bench-launch-base");
    const std::wstring pmrunProbe = pmrunFolder + L"\\probe.exe", baseProbe = baseFolder + L"\\probe.exe";
    CopyFileW(probeSource.c_str(), pmrunProbe.c_str(), FALSE);
    CopyFileW(probeSource.c_str(), baseProbe.c_str(), FALSE);
    std::string ini = "[eye]\r\nLeft=600\r\nTop=300\r\nLWall=2\r\nTWall=2\r\nRWall=2\r\nBWall=2\r\n"
                      "[btnform]\r\nleft=100\r\ntop=100\r\nwidth=238\r\nheight=220\r\n[btn1]\r\npg=";
    for (wchar_t c : pmrunProbe)
        ini += static_cast<char>(c); // the temporary path is ASCII
    ini += "\r\n";
    WriteText(pmrunFolder + L"\\pmrun.Ini", ini);

    Started pmrun, baseline;
    if (!StartCopy(here + L"\\pmrun.exe", pmrunFolder, L"", pmrun) ||
        !StartCopy(here + L"\\pmrun_bench_launch_baseline.exe", baseFolder, baseProbe, baseline)) {
        std::fprintf(stderr, "cannot start the programs\n");
        return 1;
    }
    HWND mascot = WaitForVisibleWindow(pmrun.process.dwProcessId, L"TpamuF", 20000);
    HWND panel = WaitForVisibleWindow(pmrun.process.dwProcessId, L"TBtnF1", 20000);
    HWND base = WaitForVisibleWindow(baseline.process.dwProcessId, nullptr, 20000);
    if (!mascot || !panel || !base) {
        std::fprintf(stderr, "no window shown\n");
        Stop(pmrun);
        Stop(baseline);
        return 1;
    }
    HWND bar = FindWindowExW(panel, nullptr, L"ToolbarWindow32", nullptr);

    std::vector<double> times[2];
    for (int run = 0; run < runs; ++run) {
        // pmrun: the pointer over the mascot shows the panel, then a click on button 1.
        RECT m;
        GetWindowRect(mascot, &m);
        SetCursorPos(m.left + 15, m.top + 29);
        SetCursorPos(m.left + 16, m.top + 29);
        if (!WaitVisible(panel, true)) break;
        RECT b;
        GetWindowRect(bar, &b);
        const double pmrunMs = TimeLaunch(b.left + 20, b.top + 19, pmrunProbe + L".log");
        WaitVisible(panel, false);
        RECT w;
        GetWindowRect(base, &w);
        const double baseMs = TimeLaunch(w.left + 50, w.top + 50, baseProbe + L".log");
        if (pmrunMs < 0 || baseMs < 0) {
            std::fprintf(stderr, "run %d: no start seen\n", run + 1);
            break;
        }
        times[0].push_back(baseMs);
        times[1].push_back(pmrunMs);
        Sleep(300); // the probes have ended
    }
    Stop(pmrun);
    Stop(baseline);
    if (times[0].empty()) return 1;

    const double baseMs = Median(times[0]), oursMs = Median(times[1]);
    std::printf("click to launch, runs each: %zu (medians)\n", times[0].size());
    std::printf("%-10s %12s\n", "", "ms");
    std::printf("%-10s %12.1f\n", "baseline", baseMs);
    std::printf("%-10s %12.1f\n", "pmrun", oursMs);
    std::printf("ratio      %12.2f\n", oursMs / baseMs);
    TableRow("click to launched program running", baseMs, oursMs, "ms");
    return 0;
}
