// Hot-key and second-start benchmarks, against a minimal program that shows a window on a registered
// hot key and ends at once when a named mutex says it runs already:
//   - from a hot key press until the panel (the baseline's window) is visible;
//   - from the tray's pointer-move notification until the panel is visible;
//   - both again against a window that does the panel's job directly: thirty tool-bar buttons, with
//     captions switched on for the hot key;
//   - from the pointer touching a screen edge until the panel is visible (the left edge for pmrun, the
//     right one for the baseline, so that neither answers the other's touch);
//   - from the start of a second process, while the first runs, until it has ended.
//
//   pmrun_bench_hotkey [runs]      (default 10; beside pmrun.exe and pmrun_bench_hotkey_baseline.exe)

#include "BenchSupport.h"
#include "Keys.h"

#include <cstdio>
#include <cstdlib>

using namespace bench;

namespace {

// Presses the chord and returns the milliseconds until the window's visibility is as wanted; negative
// on a time-out.
double TimeKey(WORD vk, std::initializer_list<WORD> modifiers, HWND window, bool visible) {
    const LARGE_INTEGER t0 = Now();
    testfiles::PressChord(vk, modifiers);
    for (;;) {
        if ((IsWindowVisible(window) != FALSE) == visible) return Milliseconds(t0, Now());
        if (Milliseconds(t0, Now()) > 5000) return -1;
        Sleep(0);
    }
}

// Posts the tray message of a pointer move and returns the milliseconds until the window is visible.
double TimeTrayMove(HWND target, HWND window) {
    const LARGE_INTEGER t0 = Now();
    PostMessageW(target, WM_USER + 200, 1, WM_MOUSEMOVE);
    for (;;) {
        if (IsWindowVisible(window)) return Milliseconds(t0, Now());
        if (Milliseconds(t0, Now()) > 5000) return -1;
        Sleep(0);
    }
}

// Puts the pointer on the screen edge and returns the milliseconds until the window is visible.
// Both programs look at the pointer every 100 ms: a random wait first, so that the touch falls at any
// point of either's period.
double TimeEdge(int x, HWND window) {
    Sleep(static_cast<DWORD>(std::rand() % 100));
    const LARGE_INTEGER t0 = Now();
    SetCursorPos(x, 500);
    for (;;) {
        if (IsWindowVisible(window)) return Milliseconds(t0, Now());
        if (Milliseconds(t0, Now()) > 5000) return -1;
        Sleep(0);
    }
}

// Starts the program once more in its folder and returns the milliseconds until that process ended.
double TimeSecondStart(const Started& first) {
    std::wstring commandLine = L"\"" + first.exe + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    const LARGE_INTEGER t0 = Now();
    if (!CreateProcessW(first.exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        first.folder.c_str(), &si, &pi))
        return -1;
    const bool ended = WaitForSingleObject(pi.hProcess, 10000) == WAIT_OBJECT_0;
    const double ms = Milliseconds(t0, Now());
    if (!ended) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return ended ? ms : -1;
}

void Report(const char* what, const std::vector<double>& base, const std::vector<double>& ours) {
    const double b = Median(base), o = Median(ours);
    std::printf("%-34s baseline %7.1f ms   pmrun %7.1f ms   ratio %.2fx   (%zu runs, medians)\n", what, b, o,
                b > 0 ? o / b : 0.0, ours.size());
    TableRow(what, b, o, "ms");
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const int runs = argc > 1 ? _wtoi(argv[1]) : 10;
    const std::wstring here = ExeFolder();
    const std::wstring pmrunFolder = FreshFolder(L"pmrun-bench-hotkey");
    const std::wstring baseFolder = FreshFolder(L"pmrun-bench-hotkey-base");
    WriteText(pmrunFolder + L"\\pmrun.Ini",
              "[eye]\r\nLeft=600\r\nTop=300\r\nLWall=1\r\nTWall=2\r\nRWall=2\r\n"
              "BWall=2\r\n[btnform]\r\nleft=100\r\ntop=100\r\nwidth=238\r\n"
              "height=220\r\n");

    Started pmrun, baseline;
    if (!StartCopy(here + L"\\pmrun.exe", pmrunFolder, L"", pmrun) ||
        !StartCopy(here + L"\\pmrun_bench_hotkey_baseline.exe", baseFolder, L"", baseline)) {
        std::fprintf(stderr, "cannot start the programs\n");
        return 1;
    }
    HWND panel = WaitForVisibleWindow(pmrun.process.dwProcessId, L"TBtnF1", 20000);
    HWND base = WaitForVisibleWindow(baseline.process.dwProcessId, L"HotKeyBaseline", 20000);
    if (!panel || !base || !WaitForVisibleWindow(pmrun.process.dwProcessId, L"TpamuF", 20000)) {
        std::fprintf(stderr, "no window shown\n");
        Stop(pmrun);
        Stop(baseline);
        return 1;
    }
    SetCursorPos(900, 650);

    HWND tray = testfiles::FindProcessWindow(pmrun.process.dwProcessId, L"TaskTrayHandle", false);
    HWND basePanel = WaitForVisibleWindow(baseline.process.dwProcessId, L"PanelBaseline", 20000);
    std::vector<double> keys[2], trays[2], edges[2], seconds[2];
    // The same figures of pmrun against the baseline's thirty-button panel.
    std::vector<double> panelKeys[2], panelTrays[2];
    for (int run = 0; run < runs; ++run) {
        if (TimeKey('Z', {VK_MENU}, panel, false) < 0 || TimeKey('X', {VK_CONTROL, VK_MENU}, base, false) < 0)
            break;
        Sleep(100);
        const double oursMs = TimeKey('A', {VK_MENU}, panel, true);
        const double baseMs = TimeKey('S', {VK_CONTROL, VK_MENU}, base, true);
        if (oursMs < 0 || baseMs < 0) {
            std::fprintf(stderr, "run %d: no window shown by the key\n", run + 1);
            break;
        }
        keys[0].push_back(baseMs);
        keys[1].push_back(oursMs);
        if (basePanel && TimeKey('C', {VK_CONTROL, VK_MENU}, basePanel, false) >= 0) {
            Sleep(100);
            const double panelMs = TimeKey('D', {VK_CONTROL, VK_MENU}, basePanel, true);
            if (panelMs >= 0) {
                panelKeys[0].push_back(panelMs);
                panelKeys[1].push_back(oursMs);
            }
        }
        SetCursorPos(900, 650);
        Sleep(100);
        if (!tray || TimeKey('Z', {VK_MENU}, panel, false) < 0 ||
            TimeKey('X', {VK_CONTROL, VK_MENU}, base, false) < 0)
            continue;
        Sleep(100);
        const double oursTray = TimeTrayMove(tray, panel);
        const double baseTray = TimeTrayMove(base, base);
        if (oursTray >= 0 && baseTray >= 0) {
            trays[0].push_back(baseTray);
            trays[1].push_back(oursTray);
        }
        if (oursTray >= 0 && basePanel && TimeKey('C', {VK_CONTROL, VK_MENU}, basePanel, false) >= 0) {
            Sleep(100);
            const double panelTray = TimeTrayMove(basePanel, basePanel);
            if (panelTray >= 0) {
                panelTrays[0].push_back(panelTray);
                panelTrays[1].push_back(oursTray);
            }
        }
        Sleep(100);
        if (TimeKey('Z', {VK_MENU}, panel, false) < 0 || TimeKey('X', {VK_CONTROL, VK_MENU}, base, false) < 0)
            continue;
        SetCursorPos(900, 650);
        Sleep(100);
        const double oursEdge = TimeEdge(0, panel);
        SetCursorPos(900, 650);
        Sleep(100);
        const double baseEdge = TimeEdge(GetSystemMetrics(SM_CXSCREEN) - 1, base);
        SetCursorPos(900, 650);
        if (oursEdge >= 0 && baseEdge >= 0) {
            edges[0].push_back(baseEdge);
            edges[1].push_back(oursEdge);
        }
        Sleep(100);
    }
    for (int run = 0; run < runs; ++run) {
        const double oursMs = TimeSecondStart(pmrun);
        const double baseMs = TimeSecondStart(baseline);
        if (oursMs < 0 || baseMs < 0) {
            std::fprintf(stderr, "run %d: a second start did not end\n", run + 1);
            break;
        }
        seconds[0].push_back(baseMs);
        seconds[1].push_back(oursMs);
    }
    Stop(pmrun);
    Stop(baseline);
    if (keys[0].empty() || seconds[0].empty()) {
        std::fprintf(stderr, "no hot key or second start could be timed\n");
        return 1;
    }
    Report("hot key to window visible", keys[0], keys[1]);
    if (!panelKeys[0].empty()) Report("hot key, against a 30-button panel", panelKeys[0], panelKeys[1]);
    if (!trays[0].empty()) Report("tray move to window visible", trays[0], trays[1]);
    if (!panelTrays[0].empty()) Report("tray move, against a 30-button panel", panelTrays[0], panelTrays[1]);
    if (!edges[0].empty()) Report("edge touch to window visible", edges[0], edges[1]);
    Report("second start to process end", seconds[0], seconds[1]);
    return 0;
}
