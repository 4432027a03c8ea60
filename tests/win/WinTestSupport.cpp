#include "WinTestSupport.h"

#include "Programs.h"
#include "settings/IniValues.h"

#include <commctrl.h>

namespace wintest {

bool PumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    auto end = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (condition()) return true;
        if (std::chrono::steady_clock::now() >= end) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

namespace {
int g_ticks = 0;
void CALLBACK CountTick(HWND, UINT, UINT_PTR, DWORD) {
    ++g_ticks;
}
} // namespace

bool PumpTicks(int ticks, std::chrono::milliseconds period) {
    using namespace std::chrono_literals;
    g_ticks = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, static_cast<UINT>(period.count()), CountTick);
    const bool ticked = PumpUntil([&] { return g_ticks >= ticks; }, period * ticks + 5s);
    KillTimer(nullptr, timer);
    return ticked;
}

MessageWatch::MessageWatch(HWND window, Match match) : window_(window), match_(std::move(match)) {
    SetWindowSubclass(window_, Watch, reinterpret_cast<UINT_PTR>(this), reinterpret_cast<DWORD_PTR>(this));
}

MessageWatch::~MessageWatch() {
    RemoveWindowSubclass(window_, Watch, reinterpret_cast<UINT_PTR>(this));
}

LRESULT CALLBACK MessageWatch::Watch(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                     DWORD_PTR self) {
    auto* watch = reinterpret_cast<MessageWatch*>(self);
    if (watch->match_(message, wParam, lParam)) ++watch->count_;
    return DefSubclassProc(window, message, wParam, lParam);
}

std::wstring SettingsPath() {
    return SettingsPathFor(ui::Application::ExeName());
}

void DeleteSettings() {
    std::wstring path = SettingsPath();
    // A folder put there by a test that makes the file unwritable.
    RemoveDirectoryW(path.c_str());
    DeleteFileW(path.c_str());
}

std::wstring TempPath(const std::wstring& name) {
    wchar_t folder[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, folder);
    return std::wstring(folder) + name;
}

std::vector<COLORREF> ImagePixels(const ui::ImageList& list, int index) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 32, 32);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT r{0, 0, 32, 32};
    HBRUSH grey = CreateSolidBrush(RGB(128, 128, 128));
    FillRect(dc, &r, grey);
    ImageList_Draw(list.Handle(), index, dc, 0, 0, ILD_NORMAL);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            pixels.push_back(GetPixel(dc, x, y));
    SelectObject(dc, old);
    DeleteObject(grey);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return pixels;
}

std::vector<COLORREF> PanelImage(const TBtnF1& panel, int index) {
    if (!PumpUntil([&] { return !panel.IconsPending(); }, std::chrono::seconds(10))) return {};
    return ImagePixels(panel.ImageList1, index);
}

bool AllGrey(const std::vector<COLORREF>& pixels) {
    if (pixels.empty()) return false; // no picture at all
    for (COLORREF c : pixels)
        if (c != RGB(128, 128, 128)) return false;
    return true;
}

ui::FormParams Params(int width, int height) {
    ui::FormParams p;
    p.className = L"TTestForm";
    p.caption = L"test";
    p.left = 50;
    p.top = 60;
    p.width = width;
    p.height = height;
    return p;
}

void AppTest::SetUp() {
    DeleteSettings();
    app = std::make_unique<ui::Application>();
    app->Initialize();
    app->SetTitle(L"ぱむぱむランチ");
    app->OnException = [this](const std::wstring& message) { errors.push_back(message); };
}

TpamuF* AppTest::StartProgram(const std::wstring& ini) {
    if (!ini.empty()) WriteFileBytes(SettingsPath(), ToAnsi(ini));
    TpamuF* mascot = program.Start(*app);
    app->RunStartSteps();
    return mascot;
}

void AppTest::ChangeOptions(const std::function<void(EyeOptions&)>& change) {
    EyeOptions options = launcher->Options();
    change(options);
    launcher->ChangeOptions(options);
}

void AppTest::SetEditMode(EditState mode) {
    switch (mode) {
    case EditState::SetDetails:
        launcher->ChangeMode(MenuItemChosen(launcher->EditMode(), ModeItem::BtnSet));
        break;
    case EditState::Swap:
        launcher->ChangeMode(MenuItemChosen(launcher->EditMode(), ModeItem::BtnChange));
        break;
    case EditState::Remove:
        launcher->ChangeMode(MenuItemChosen(launcher->EditMode(), ModeItem::BtnDel));
        break;
    case EditState::Options: launcher->BeginOptionsDialog(); break;
    case EditState::None: launcher->EndOptionsDialog(); break;
    }
}

std::wstring AppTest::Probe(const std::wstring& name) {
    const std::wstring path = TempPath(name);
    EXPECT_TRUE(CopyFileW((ExeFolder() + L"\\pmrun_launch_probe.exe").c_str(), path.c_str(), FALSE));
    DeleteFileW((path + L".log").c_str());
    probes_.push_back(path);
    return path;
}

void AppTest::TearDown() {
    for (const std::wstring& probe : probes_) {
        PumpUntil([&] { return !ChildRunning(GetCurrentProcessId(), probe.substr(probe.rfind(L'\\') + 1)); },
                  std::chrono::seconds(10));
        DeleteFileW((probe + L".log").c_str());
        DeleteFileW(probe.c_str());
    }
    app.reset();
    // A closed main form leaves WM_QUIT behind; the next test starts with an empty queue.
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    DeleteSettings();
}

} // namespace wintest
