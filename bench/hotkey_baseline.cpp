// The baseline of the hot-key, tray and second-start benchmarks: a window that a registered hot key shows
// (Ctrl+Alt+S) and another hides (Ctrl+Alt+X), that the tray message with a pointer move (1224, 512)
// shows too, and that the pointer on the right screen edge shows (checked every 100 ms, putting the
// pointer back ten pixels), guarded by a named mutex so that a second start ends at once, as directly as a
// program can.
// A second window does the panel's own job as directly, in the panel's frame (a sizeable tool window with
// its caption and a vertical scroll bar, which Wine draws at every show): a tool bar of thirty 38-pixel
// buttons, which
// Ctrl+Alt+D shows with their captions, in front, with the pointer just inside its corner (all pmrun's
// hot key does), and Ctrl+Alt+C hides without them, and which the tray message shows without captions.

#include "BaselineWindow.h"

#include <windows.h>
#include <commctrl.h>

#include <string>

namespace {

constexpr int kShow = 1, kHide = 2, kShowPanel = 3, kHidePanel = 4;
HWND panelBar = nullptr;

void SetCaptions(bool shown) {
    SendMessageW(panelBar, TB_SETMAXTEXTROWS, shown ? 1 : 0, 0);
    SendMessageW(panelBar, TB_AUTOSIZE, 0, 0);
}

// The hot key and the tray message, alike for both windows: shown in front, or hidden. The panel also
// switches its captions with its hot keys. True when the message was one of them.
bool ShowOrHide(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, WPARAM show, WPARAM hide,
                bool captions) {
    const bool byKey = message == WM_HOTKEY && (wParam == show || wParam == hide);
    const bool showing = (byKey && wParam == show) || (message == WM_USER + 200 && lParam == WM_MOUSEMOVE);
    if (captions && byKey) SetCaptions(showing);
    if (showing) {
        ShowWindow(hwnd, SW_SHOW);
        SetForegroundWindow(hwnd);
        if (captions && byKey) {
            RECT r{};
            GetWindowRect(hwnd, &r);
            SetCursorPos(r.left + 10, r.top + 10);
        }
    } else if (byKey) {
        ShowWindow(hwnd, SW_HIDE);
    }
    return message == WM_HOTKEY || message == WM_USER + 200;
}

LRESULT CALLBACK PanelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (ShowOrHide(hwnd, message, wParam, lParam, kShowPanel, kHidePanel, true)) return 0;
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// Thirty buttons "1".."9", "A".."U" in rows of six, with blank 32-pixel images, as the empty panel has.
HWND CreatePanel(HINSTANCE instance) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    HWND panel = ShowBaselineWindow(instance, PanelProc, L"PanelBaseline", L"ぱむぱむランチ　12月8日（火） ",
                                    RECT{700, 380, 938, 600}, SW_SHOW,
                                    WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_VSCROLL);
    panelBar = CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr,
                               WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_WRAPABLE | CCS_NODIVIDER, 0, 0,
                               229, 200, panel, nullptr, instance, nullptr);
    SendMessageW(panelBar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    HIMAGELIST images = ImageList_Create(32, 32, ILC_COLOR32 | ILC_MASK, 30, 0);
    HDC screen = GetDC(nullptr);
    HBITMAP blank = CreateCompatibleBitmap(screen, 32, 32);
    ReleaseDC(nullptr, screen);
    for (int i = 0; i < 30; ++i)
        ImageList_AddMasked(images, blank, RGB(0, 0, 0));
    DeleteObject(blank);
    SendMessageW(panelBar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
    static std::wstring captions[30];
    TBBUTTON buttons[30]{};
    for (int i = 0; i < 30; ++i) {
        captions[i] = std::wstring(1, static_cast<wchar_t>(i < 9 ? L'1' + i : L'A' + i - 9));
        buttons[i].iBitmap = i;
        buttons[i].idCommand = 100 + i;
        buttons[i].fsState = static_cast<BYTE>(TBSTATE_ENABLED | ((i + 1) % 6 == 0 ? TBSTATE_WRAP : 0));
        buttons[i].fsStyle = BTNS_BUTTON;
        buttons[i].iString = reinterpret_cast<INT_PTR>(captions[i].c_str());
    }
    SendMessageW(panelBar, TB_ADDBUTTONSW, 30, reinterpret_cast<LPARAM>(buttons));
    SendMessageW(panelBar, TB_SETBUTTONSIZE, 0, MAKELPARAM(38, 38));
    SetCaptions(false);
    return panel;
}

LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (ShowOrHide(hwnd, message, wParam, lParam, kShow, kHide, false)) return 0;
    switch (message) {
    case WM_TIMER: {
        POINT p;
        const int right = GetSystemMetrics(SM_CXSCREEN) - 1;
        if (GetCursorPos(&p) && p.x == right) {
            ShowWindow(hwnd, SW_SHOW);
            SetCursorPos(right - 9, p.y);
        }
        return 0;
    }
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    HANDLE running = CreateMutexW(nullptr, FALSE, L"pmrunBenchHotKeyBaseline");
    if (running && GetLastError() == ERROR_ALREADY_EXISTS) return 0;
    HWND hwnd = ShowBaselineWindow(instance, Proc, L"HotKeyBaseline", L"hot key baseline",
                                   RECT{500, 550, 600, 650}, SW_SHOW);
    RegisterHotKey(hwnd, kShow, MOD_CONTROL | MOD_ALT, 'S');
    RegisterHotKey(hwnd, kHide, MOD_CONTROL | MOD_ALT, 'X');
    HWND panel = CreatePanel(instance);
    RegisterHotKey(panel, kShowPanel, MOD_CONTROL | MOD_ALT, 'D');
    RegisterHotKey(panel, kHidePanel, MOD_CONTROL | MOD_ALT, 'C');
    SetTimer(hwnd, 1, 100, nullptr);
    const int result = RunBaselineLoop();
    CloseHandle(running);
    return result;
}
