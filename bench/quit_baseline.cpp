// The baseline of the quit benchmark: a window that, when closed, writes the same number of keys as
// pmrun.exe writes when it quits (20 options and 30 buttons of 6 keys) into an INI file beside itself
// through the profile functions, then ends.

#include "BaselineWindow.h"

#include <windows.h>

#include <string>

namespace {

std::wstring g_ini;

void SaveAll() {
    const wchar_t* s = g_ini.c_str();
    for (int i = 0; i < 20; ++i)
        WritePrivateProfileStringW(L"eye", (L"key" + std::to_wstring(i)).c_str(), L"value", s);
    for (int n = 1; n <= 30; ++n) {
        const std::wstring section = L"btn" + std::to_wstring(n);
        for (const wchar_t* key : {L"pg", L"ic", L"icidx", L"dr", L"lb", L"op"})
            WritePrivateProfileStringW(section.c_str(), key, L"C:\\programs\\tool.exe", s);
    }
}

LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        SaveAll();
        DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    g_ini = exe;
    g_ini = g_ini.substr(0, g_ini.find_last_of(L'.')) + L".Ini";
    HWND hwnd = ShowBaselineWindow(instance, Proc, L"QuitBaseline", L"quit baseline",
                                   RECT{500, 550, 600, 650}, SW_SHOW);
    (void)hwnd;
    return RunBaselineLoop();
}
