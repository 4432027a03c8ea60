// Resource growth: the program's mascot and panel built in this process, as its entry builds them, then
// the panel shown and hidden 1,000 times (alternately by the hot-key path and the pointer path) and a
// program registered by a drop and removed again 100 times. GDI objects, USER objects (or, where the
// system does not count them, windows), and memory are read after a warm-up and at the end.
//
//   pmrun_bench_cycles [show/hide cycles] [register/remove cycles]      (defaults 1000 and 100)

#include "Drops.h"
#include "IniFiles.h"
#include "Programs.h"

#include "app/Program.h"
#include "mascot/eye1.h"
#include "panel/Btn.h"
#include "settings/IniValues.h"
#include "ui/Application.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// Wine does not count GDI objects for GetGuiResources, but accepts a handle's 16-bit index alone: every
// index that names an object is one object.
long GdiObjects() {
    if (DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return static_cast<long>(n);
    long count = 0;
    for (ULONG_PTR index = 1; index <= 0xFFFF; ++index)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(index))) ++count;
    return count;
}

BOOL CALLBACK CountChild(HWND, LPARAM counter) {
    ++*reinterpret_cast<long*>(counter);
    return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND hwnd, LPARAM counter) {
    ++*reinterpret_cast<long*>(counter);
    EnumChildWindows(hwnd, CountChild, counter);
    return TRUE;
}

// USER objects where the system counts them; otherwise the windows of this thread, children included.
long UserObjects(bool& windowsOnly) {
    windowsOnly = false;
    if (DWORD n = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)) return static_cast<long>(n);
    windowsOnly = true;
    long count = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountTopLevel, reinterpret_cast<LPARAM>(&count));
    HWND messageOnly = nullptr;
    while ((messageOnly = FindWindowExW(HWND_MESSAGE, messageOnly, nullptr, nullptr)))
        if (GetWindowThreadProcessId(messageOnly, nullptr) == GetCurrentThreadId()) ++count;
    return count;
}

// Kilobytes of committed private memory, summed region by region: Wine reports no private bytes.
long MemoryKb() {
    long kb = 0;
    MEMORY_BASIC_INFORMATION region;
    for (const char* at = nullptr; VirtualQuery(at, &region, sizeof(region));
         at = static_cast<const char*>(region.BaseAddress) + region.RegionSize)
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE)
            kb += static_cast<long>(region.RegionSize / 1024);
    return kb;
}

struct Reading {
    long gdi, user, memoryKb;
    bool windowsOnly;
};

Reading Read() {
    Reading r{};
    r.gdi = GdiObjects();
    r.user = UserObjects(r.windowsOnly);
    r.memoryKb = MemoryKb();
    return r;
}

void ShowAndHide(TpamuF& mascot, ui::Application& app, int cycles) {
    for (int i = 0; i < cycles; ++i) {
        if (i % 2)
            mascot.HookHotKey1HotKey(1);
        else
            mascot.BtnFormShow();
        app.ProcessMessages();
        mascot.HookHotKey1HotKey(2);
        app.ProcessMessages();
    }
}

void RegisterAndRemove(TpamuF& mascot, TBtnF1& panel, ui::Application& app, const std::wstring& program,
                       int cycles) {
    for (int i = 0; i < cycles; ++i) {
        SendMessageW(mascot.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(testfiles::MakeDrop({program})),
                     0);
        // The icon is read on another thread: the cycle waits for it, as a user would see it arrive.
        while (panel.IconsPending())
            app.PumpOne();
        mascot.PM_BtnDel.Click();
        panel.Buttons[1]->Click();
        app.ProcessMessages();
    }
}

void Row(const char* what, const Reading& before, const Reading& after) {
    const long gdi = after.gdi - before.gdi, user = after.user - before.user,
               memory = after.memoryKb - before.memoryKb;
    std::printf("%-30s %6ld -> %-6ld %6ld -> %-6ld %8ld -> %-8ld %s\n", what, before.gdi, after.gdi,
                before.user, after.user, before.memoryKb, after.memoryKb,
                gdi <= 0 && user <= 0 && memory <= 256 ? "no growth" : "GROWTH");
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const int showCycles = argc > 1 ? _wtoi(argv[1]) : 1000;
    const int registerCycles = argc > 2 ? _wtoi(argv[2]) : 100;
    const std::wstring settings = SettingsPathFor(ui::Application::ExeName());
    testfiles::WriteFileBytes(settings, "[eye]\r\nLeft=600\r\nTop=400\r\nLWall=2\r\nTWall=2\r\nRWall=2\r\n"
                                        "BWall=2\r\n[btnform]\r\nleft=100\r\ntop=100\r\nwidth=238\r\n"
                                        "height=220\r\n");
    // A program with icons of its own, so that every registration loads and frees them.
    const std::wstring program = testfiles::ExeFolder() + L"\\pmrun.exe";

    int errors = 0;
    {
        Program pmrun(settings);
        ui::Application app;
        app.Initialize();
        app.SetTitle(L"ぱむぱむランチ");
        app.OnException = [&](const std::wstring&) { ++errors; };
        TpamuF* mascot = pmrun.Start(app);
        app.RunStartSteps(); // the panel, made once the mascot would show
        TBtnF1& panel = *pmrun.Panel();
        mascot->Timer1.SetEnabled(false); // the pointer rules would show and hide the panel as well
        app.ProcessMessages();

        ShowAndHide(*mascot, app, 10);
        const Reading showStart = Read();
        ShowAndHide(*mascot, app, showCycles);
        const Reading showEnd = Read();

        RegisterAndRemove(*mascot, panel, app, program, 5);
        const Reading registerStart = Read();
        RegisterAndRemove(*mascot, panel, app, program, registerCycles);
        const Reading registerEnd = Read();

        std::printf("resource growth (%s)\n", showStart.windowsOnly ? "USER column: windows only; the system "
                                                                      "counts no USER objects"
                                                                    : "GDI and USER objects as counted");
        std::printf("%-30s %16s %16s %20s\n", "", "GDI objects", "USER objects", "memory KiB");
        Row((std::to_string(showCycles) + " show/hide cycles").c_str(), showStart, showEnd);
        Row((std::to_string(registerCycles) + " register/remove cycles").c_str(), registerStart, registerEnd);
    }
    DeleteFileW(settings.c_str());
    if (errors) std::fprintf(stderr, "%d errors reported by the program\n", errors);
    return errors ? 1 : 0;
}
