// Idle benchmark: CPU time that pmrun.exe uses while the pointer stands still, against a minimal program
// with a 100 ms timer that reads the pointer. Both run side by side for the same time on the same machine.
//
//   pmrun_bench_idle [seconds]      (default 60; beside pmrun.exe and pmrun_bench_idle_baseline.exe)

#include "BenchSupport.h"

#include <cstdio>
#include <cstdlib>
#include <string>

using namespace bench;

namespace {

std::string ReadSmallFile(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string text;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
        text.append(buffer, read);
    CloseHandle(file);
    return text;
}

// Under Wine another process's times read as zero, so the Linux process behind the program is found
// through the Z: drive: its command line starts with the program's path. Empty on Windows.
std::wstring UnixProcessFolder(const std::wstring& exe) {
    std::string wanted;
    for (wchar_t c : exe)
        wanted += static_cast<char>(c); // the temporary path is ASCII
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(L"Z:\\proc\\*", &found);
    if (search == INVALID_HANDLE_VALUE) return {};
    std::wstring result;
    do {
        if (found.cFileName[0] < L'0' || found.cFileName[0] > L'9') continue;
        const std::wstring folder = std::wstring(L"Z:\\proc\\") + found.cFileName;
        const std::string commandLine = ReadSmallFile(folder + L"\\cmdline");
        if (commandLine.size() >= wanted.size() &&
            CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, commandLine.c_str(),
                           static_cast<int>(wanted.size()), wanted.c_str(),
                           static_cast<int>(wanted.size())) == CSTR_EQUAL) {
            result = folder;
            break;
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return result;
}

// CPU time of every thread of the process in milliseconds: the scheduler's nanoseconds from Linux when
// there, else what Windows reports.
double CpuMs(const Started& started, const std::wstring& unixFolder) {
    if (!unixFolder.empty()) {
        double ns = 0;
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW((unixFolder + L"\\task\\*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return -1;
        do {
            if (found.cFileName[0] < L'0' || found.cFileName[0] > L'9') continue;
            ns += std::strtod(
                ReadSmallFile(unixFolder + L"\\task\\" + found.cFileName + L"\\schedstat").c_str(), nullptr);
        } while (FindNextFileW(search, &found));
        FindClose(search);
        return ns / 1e6;
    }
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(started.process.hProcess, &created, &exited, &kernel, &user)) return -1;
    auto ms = [](FILETIME t) {
        return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e4;
    };
    return ms(kernel) + ms(user);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const int seconds = argc > 1 ? _wtoi(argv[1]) : 60;
    const std::wstring here = ExeFolder();
    // The pointer rests away from the mascot, the panel and every edge.
    SetCursorPos(700, 450);

    Started pmrun, baseline;
    const std::wstring pmrunFolder = FreshFolder(L"pmrun-bench-idle");
    WriteText(pmrunFolder + L"\\pmrun.Ini", "[eye]\r\nLeft=600\r\nTop=300\r\n");
    if (!StartCopy(here + L"\\pmrun.exe", pmrunFolder, L"", pmrun) ||
        !StartCopy(here + L"\\pmrun_bench_idle_baseline.exe", FreshFolder(L"pmrun-bench-idle-base"), L"",
                   baseline)) {
        std::fprintf(stderr, "cannot start the programs\n");
        return 1;
    }
    if (!WaitForVisibleWindow(pmrun.process.dwProcessId, L"TpamuF", 20000) ||
        !WaitForVisibleWindow(baseline.process.dwProcessId, nullptr, 20000)) {
        std::fprintf(stderr, "no window shown\n");
        Stop(pmrun);
        Stop(baseline);
        return 1;
    }
    Sleep(2000); // past the start-up
    const std::wstring pmrunUnix = UnixProcessFolder(pmrun.exe), baseUnix = UnixProcessFolder(baseline.exe);
    const double pmrun0 = CpuMs(pmrun, pmrunUnix), base0 = CpuMs(baseline, baseUnix);
    const DWORD gdi0 = GetGuiResources(pmrun.process.hProcess, GR_GDIOBJECTS);
    const DWORD user0 = GetGuiResources(pmrun.process.hProcess, GR_USEROBJECTS);
    Sleep(static_cast<DWORD>(seconds) * 1000);
    const double pmrunMs = CpuMs(pmrun, pmrunUnix) - pmrun0;
    const double baseMs = CpuMs(baseline, baseUnix) - base0;
    const DWORD gdi1 = GetGuiResources(pmrun.process.hProcess, GR_GDIOBJECTS);
    const DWORD user1 = GetGuiResources(pmrun.process.hProcess, GR_USEROBJECTS);
    Stop(pmrun);
    Stop(baseline);

    std::printf("idle, pointer still, %d s side by side (%s)\n", seconds,
                pmrunUnix.empty() ? "process times" : "Linux scheduler times of every thread");
    std::printf("%-10s %12s %12s\n", "", "CPU ms", "% of a core");
    std::printf("%-10s %12.1f %12.3f\n", "baseline", baseMs, baseMs / (seconds * 10.0));
    std::printf("%-10s %12.1f %12.3f\n", "pmrun", pmrunMs, pmrunMs / (seconds * 10.0));
    if (baseMs > 0)
        std::printf("ratio      %12.2f\n", pmrunMs / baseMs);
    else
        std::printf("ratio      %12s (the baseline used no measurable time)\n", "n/a");
    TableRow("CPU over idle seconds", baseMs, pmrunMs, "ms");
    std::printf("pmrun GDI objects %lu -> %lu, USER objects %lu -> %lu\n", gdi0, gdi1, user0, user1);
    return 0;
}
