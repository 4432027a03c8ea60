#include "PmrunProcess.h"

#include "Programs.h"

namespace e2e {

PmrunProcess::PmrunProcess() {
    static int counter = 0;
    wchar_t temp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, temp);
    folder_ = std::wstring(temp) + L"pmrun-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
              std::to_wstring(++counter);
    DeleteFolder(folder_);
    CreateDirectoryW(folder_.c_str(), nullptr);
    CopyFileW((ExeFolder() + L"\\pmrun.exe").c_str(), (folder_ + L"\\pmrun.exe").c_str(), FALSE);
}

PmrunProcess::~PmrunProcess() {
    Kill();
    DeleteFolder(folder_);
}

void PmrunProcess::WriteIni(const std::wstring& text) const {
    WriteFileBytes(IniPath(), ToAnsi(text));
}

std::string PmrunProcess::IniBytes() const {
    return ReadFileBytes(IniPath());
}

bool PmrunProcess::Start(bool mascotShown) {
    std::wstring exe = folder_ + L"\\pmrun.exe";
    std::wstring commandLine = L"\"" + exe + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder_.c_str(),
                        &si, &process_))
        return false;
    for (int i = 0; i < 200; ++i) {
        HWND mascot = Mascot(), panel = Panel();
        if (mascot && panel && IsWindowVisible(panel) && (!mascotShown || IsWindowVisible(mascot)))
            return true;
        if (!Running()) return false;
        Sleep(50);
    }
    return false;
}

bool PmrunProcess::Running() const {
    return process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

bool PmrunProcess::Quit() {
    HWND mascot = Mascot();
    if (!mascot) return false;
    PostMessageW(mascot, WM_CLOSE, 0, 0);
    return WaitForSingleObject(process_.hProcess, 10000) == WAIT_OBJECT_0;
}

DWORD PmrunProcess::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
}

void PmrunProcess::Kill() {
    if (!process_.hProcess) return;
    if (Running()) {
        TerminateProcess(process_.hProcess, 99);
        WaitForSingleObject(process_.hProcess, 5000);
    }
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
    process_ = {};
}

HWND PmrunProcess::FindWindowOfClass(const wchar_t* className) const {
    return FindProcessWindow(process_.dwProcessId, className, false);
}

HWND PmrunProcess::PanelToolBar() const {
    return FindWindowExW(Panel(), nullptr, L"ToolbarWindow32", nullptr);
}

void PmrunProcess::ClickButton(int number) const {
    RECT bar = WindowRect(PanelToolBar());
    const int perRow = (bar.right - bar.left - 1) / 38;
    const int index = number - 1;
    ClickAt(bar.left + 1 + (index % perRow) * 38 + 19, bar.top + (index / perRow) * 38 + 19);
}

std::string PmrunProcess::Saved(int button, const char* key) const {
    return ValueOf(ParseIni(IniBytes()), "btn" + std::to_string(button), key);
}

std::wstring PmrunProcess::CopyProbe(const std::wstring& name) const {
    const std::wstring path = folder_ + L"\\" + name;
    CopyFileW((ExeFolder() + L"\\pmrun_launch_probe.exe").c_str(), path.c_str(), FALSE);
    return path;
}

HWND PmrunProcess::BoxTitled(const std::wstring& title) const {
    HWND box = FindWindowOfClass(L"#32770");
    if (!box || WindowText(box) != title) return nullptr;
    // The box exists a moment before its text does.
    HWND text = GetDlgItem(box, 0xFFFF);
    return text && !WindowText(text).empty() ? box : nullptr;
}

std::wstring StandardIni(const std::wstring& eyeKeys, const std::wstring& sections) {
    return L"[eye]\r\nLeft=600\r\nTop=400\r\n" + eyeKeys +
           L"[btnform]\r\nleft=100\r\ntop=100\r\nwidth=238\r\nheight=220\r\n" + sections;
}

std::wstring ButtonSection(int number, const std::wstring& keys) {
    return L"[btn" + std::to_wstring(number) + L"]\r\n" + keys;
}

void E2ETest::SetUp() {
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Hoshiya");
    SetCursorPos(kRestX, kRestY);
}

void E2ETest::TearDown() {
    SetCursorPos(kRestX, kRestY);
}

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start >= timeoutMs) return condition();
        Sleep(20);
    }
    return true;
}

std::wstring WindowText(HWND hwnd) {
    wchar_t text[512];
    int n = GetWindowTextW(hwnd, text, 512);
    return std::wstring(text, static_cast<std::size_t>(n > 0 ? n : 0));
}

RECT WindowRect(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

RECT ClientRect(HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    return r;
}

COLORREF ScreenPixel(int x, int y) {
    HDC screen = GetDC(nullptr);
    COLORREF c = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return c;
}

COLORREF WaitForScreenPixel(int x, int y, COLORREF wanted, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    COLORREF c = ScreenPixel(x, y);
    while (c != wanted && GetTickCount() - start < timeoutMs) {
        Sleep(20);
        c = ScreenPixel(x, y);
    }
    return c;
}

namespace {

void SendMouse(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}

void SendKey(WORD vk, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof input);
}

} // namespace

void ClickAt(int x, int y, bool right) {
    SetCursorPos(x, y);
    Sleep(50);
    SendMouse(right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN);
    SendMouse(right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP);
}

void TypeKey(WORD vk, bool shift) {
    if (shift) SendKey(VK_SHIFT, false);
    SendKey(vk, false);
    SendKey(vk, true);
    if (shift) SendKey(VK_SHIFT, true);
    Sleep(30);
}

void OpenMascotMenu(HWND mascot) {
    DWORD pid = 0;
    GetWindowThreadProcessId(mascot, &pid);
    RECT m = WindowRect(mascot);
    ClickAt(m.left + 15, m.top + 29, true);
    // Usually there at once, but up to two seconds late when the active window had just been hidden.
    WaitFor([&] { return FindProcessWindow(pid, L"#32768", true) != nullptr; });
    Sleep(100);
}

void ChooseMenuItem(HWND mascot, int downs) {
    OpenMascotMenu(mascot);
    for (int i = 0; i < downs; ++i)
        TypeKey(VK_DOWN);
    TypeKey(VK_RETURN);
    Sleep(100);
}

} // namespace e2e
