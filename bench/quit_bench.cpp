// Quit benchmark: time from the close request until the process has ended, for pmrun.exe with 30
// assigned buttons and for a minimal program that writes as many keys through the profile functions
// when it is closed. Runs alternate between the two; medians and their ratio are printed.
//
//   pmrun_bench_quit [runs]      (default 10; beside pmrun.exe and pmrun_bench_quit_baseline.exe)

#include "BenchSupport.h"

#include <cstdio>

using namespace bench;

namespace {

std::string ThirtyButtons() {
    std::string ini = "[eye]\r\nLeft=600\r\nTop=300\r\nLWall=2\r\nTWall=2\r\nRWall=2\r\nBWall=2\r\n"
                      "[btnform]\r\nleft=100\r\ntop=100\r\nwidth=238\r\nheight=220\r\n";
    for (int n = 1; n <= 30; ++n)
        ini += "[btn" + std::to_string(n) + "]\r\npg=C:\\programs\\tool" + std::to_string(n) + ".exe\r\n";
    return ini;
}

// Starts the program in a fresh folder, closes it once it shows, and returns the milliseconds from the
// close to the process's end; negative when it does not show or end.
double TimeQuit(const std::wstring& source, const std::wstring& name, const wchar_t* windowClass) {
    const std::wstring folder = FreshFolder(name);
    WriteText(folder + L"\\pmrun.Ini", ThirtyButtons());
    Started started;
    if (!StartCopy(source, folder, L"", started)) return -1;
    HWND window = WaitForVisibleWindow(started.process.dwProcessId, windowClass, 20000);
    double ms = -1;
    if (window) {
        Sleep(500);
        const LARGE_INTEGER t0 = Now();
        PostMessageW(window, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(started.process.hProcess, 20000) == WAIT_OBJECT_0)
            ms = Milliseconds(t0, Now());
    }
    Stop(started);
    return ms;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const int runs = argc > 1 ? _wtoi(argv[1]) : 10;
    const std::wstring here = ExeFolder();
    std::vector<double> times[2];
    for (int run = 0; run < runs; ++run) {
        const double base =
            TimeQuit(here + L"\\pmrun_bench_quit_baseline.exe", L"pmrun-bench-quit-base", nullptr);
        const double ours = TimeQuit(here + L"\\pmrun.exe", L"pmrun-bench-quit", L"TpamuF");
        if (base < 0 || ours < 0) {
            std::fprintf(stderr, "run %d: a program did not show or end\n", run + 1);
            return 1;
        }
        times[0].push_back(base);
        times[1].push_back(ours);
    }
    const double b = Median(times[0]), o = Median(times[1]);
    std::printf("quit with 30 assigned buttons to process end, runs each: %d (medians)\n", runs);
    std::printf("baseline %7.1f ms   pmrun %7.1f ms   ratio %.2fx\n", b, o, b > 0 ? o / b : 0.0);
    TableRow("quit, 30 buttons, to process end", b, o, "ms");
    return 0;
}
