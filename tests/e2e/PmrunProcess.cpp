#include "PmrunProcess.h"

#include "Programs.h"

#include <set>

namespace e2e {

namespace {

// The mascot is a round window this wide and high.
constexpr int kMascotSize = 31;

// Inside the round face, two pixels in from its edge: outside is whatever lies behind the window.
bool InsideFace(int x, int y) {
    const int dx = 2 * x + 1 - kMascotSize, dy = 2 * y + 1 - kMascotSize;
    return dx * dx + dy * dy < (kMascotSize - 4) * (kMascotSize - 4);
}

// The window's pixels as the screen shows them, row by row, in one read of the screen.
std::vector<COLORREF> WindowPixels(HWND window) {
    const RECT r = WindowRect(window);
    const int width = r.right - r.left, height = r.bottom - r.top;
    if (width <= 0 || height <= 0) return {};
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    std::vector<COLORREF> pixels;
    if (bitmap) {
        HGDIOBJ old = SelectObject(dc, bitmap);
        BitBlt(dc, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
        GdiFlush();
        for (int i = 0; i < width * height; ++i) {
            const DWORD bgr = static_cast<const DWORD*>(bits)[i];
            pixels.push_back(RGB(GetBValue(bgr), GetGValue(bgr), GetRValue(bgr)));
        }
        SelectObject(dc, old);
        DeleteObject(bitmap);
    }
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return pixels;
}

} // namespace

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
    const bool shown = WaitFor(
        [&] {
            HWND mascot = Mascot(), panel = Panel();
            return !Running() ||
                   (mascot && panel && IsWindowVisible(panel) && (!mascotShown || IsWindowVisible(mascot)));
        },
        10000);
    if (!shown || !Running()) return false;
    if (!mascotShown) return true;
    // Until the first tick the pupils sit where the form was designed, which no tick gives: a tick puts the
    // left one at column 12 (columns 12-15 black) or the right one at column 16. White eyes show that the
    // face is painted.
    return WaitFor([&] {
        const std::vector<COLORREF> pixels = WindowPixels(Mascot());
        bool painted = false, placed = false;
        for (std::size_t i = 0; i < pixels.size(); ++i) {
            const int x = static_cast<int>(i % kMascotSize), y = static_cast<int>(i / kMascotSize);
            if (!InsideFace(x, y)) continue;
            painted = painted || pixels[i] == RGB(255, 255, 255);
            placed = placed || ((x == 14 || x == 16) && pixels[i] == RGB(0, 0, 0));
        }
        return painted && placed;
    });
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

std::vector<bool> PmrunProcess::Pupils() const {
    const std::vector<COLORREF> pixels = WindowPixels(Mascot());
    std::vector<bool> black(pixels.size());
    for (std::size_t i = 0; i < pixels.size(); ++i)
        black[i] = pixels[i] == RGB(0, 0, 0) &&
                   InsideFace(static_cast<int>(i % kMascotSize), static_cast<int>(i / kMascotSize));
    return black;
}

bool PmrunProcess::WaitForPupilsToMove(const std::vector<bool>& from) const {
    return WaitFor([&] { return Pupils() != from; });
}

bool PmrunProcess::MovePointerForTick(int x, int y) const {
    const std::vector<bool> from = Pupils();
    POINT was{};
    GetCursorPos(&was);
    SetCursorPos(x, y);
    return WaitFor([&] {
        if (Pupils() != from) return true;
        // The program's own last move of the pointer may reach X after this one and take the pointer back.
        POINT p{};
        if (GetCursorPos(&p) && p.x == was.x && p.y == was.y) SetCursorPos(x, y);
        return false;
    });
}

bool PmrunProcess::OpenMenu() {
    const RECT m = WindowRect(Mascot());
    // Two places to click on the face between the eyes, where the pupils differ: a tick must be seen with
    // the pointer at the place clicked, and the pupils may still show the first one from the last menu.
    const bool second = !menuClickPupils_.empty() && Pupils() == menuClickPupils_;
    const int x = m.left + 15, y = m.top + (second ? 3 : 29);
    // The window under the pointer hears of a move through X too, a moment later; one arriving after the
    // click would show the panel and so close the menu. A tick past the move comes after it.
    if (!MovePointerForTick(x, y)) return false;
    if (!second) menuClickPupils_ = Pupils();
    ClickAt(x, y, true);
    // Usually there at once, but up to two seconds late when the active window had just been hidden.
    HWND menu = nullptr;
    return WaitFor([&] { return (menu = FindProcessWindow(Id(), L"#32768", true)) != nullptr; }) &&
           PointAtLastMenuItem(menu);
}

bool PmrunProcess::ChooseMenuItem(int item) {
    if (!OpenMenu()) return false;
    for (int i = 0; i < item; ++i)
        TypeKey(VK_DOWN);
    TypeKey(VK_RETURN);
    // The command runs once the menu's loop has returned, in the same message.
    return WaitFor([&] { return !FindProcessWindow(Id(), L"#32768", true); }) && RoundTrip(Mascot());
}

bool PmrunProcess::KillWhileSaving(DWORD timeoutMs) {
    const std::wstring copy = IniPath() + L".saving";
    const DWORD start = GetTickCount();
    // No pause between looks: the copy may live for a few milliseconds only.
    while (GetFileAttributesW(copy.c_str()) == INVALID_FILE_ATTRIBUTES)
        if (!Running() || GetTickCount() - start >= timeoutMs) return false;
    TerminateProcess(process_.hProcess, 99);
    Kill();
    return true;
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

POINT PmrunProcess::ButtonCentre(int number) const {
    RECT bar = WindowRect(PanelToolBar());
    const int perRow = (bar.right - bar.left - 1) / 38;
    const int index = number - 1;
    return {bar.left + 1 + (index % perRow) * 38 + 19, bar.top + (index / perRow) * 38 + 19};
}

void PmrunProcess::ClickButton(int number) const {
    const POINT at = ButtonCentre(number);
    ClickAt(at.x, at.y);
}

bool PmrunProcess::ButtonBlank(int number) const {
    HWND bar = PanelToolBar();
    const RECT r = WindowRect(bar);
    const int width = r.right - r.left, perRow = (width - 1) / 38, index = number - 1;
    const std::vector<COLORREF> pixels = WindowPixels(bar);
    const int left = 1 + (index % perRow) * 38, top = (index / perRow) * 38;
    std::set<COLORREF> colours;
    // The middle of the button, clear of its frame, where any picture has pixels.
    for (int y = top + 7; y < top + 31; ++y)
        for (int x = left + 7; x < left + 31; ++x)
            if (const std::size_t at = static_cast<std::size_t>(y * width + x); at < pixels.size())
                colours.insert(pixels[at]);
    return colours.size() == 1;
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

void StartFromRest() {
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Hoshiya");
    SetCursorPos(kRestX, kRestY);
}

void E2ETest::SetUp() {
    StartFromRest();
}

void E2ETest::TearDown() {
    StartFromRest();
}

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start >= timeoutMs) return condition();
        Sleep(20);
    }
    return true;
}

bool RoundTrip(HWND window) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result) != 0;
}

std::wstring ControlText(HWND control) {
    wchar_t text[512]{};
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(control, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                             &length))
        return {};
    return std::wstring(text, length);
}

std::vector<HWND> Descendants(HWND parent) {
    std::vector<HWND> all;
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM list) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&all));
    return all;
}

HWND ControlWithText(HWND dialog, const std::wstring& text) {
    for (HWND child : Descendants(dialog))
        if (ControlText(child) == text) return child;
    return nullptr;
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
    COLORREF c = CLR_INVALID;
    WaitFor(
        [&] {
            c = ScreenPixel(x, y);
            return c == wanted;
        },
        timeoutMs);
    return c;
}

namespace {

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
    // A program hears of a pointer move through X too, a moment later, and puts the pointer where X says:
    // a move made earlier could take it away again before the press. A move as input, in one call with
    // the press, makes sure.
    INPUT inputs[3]{};
    for (INPUT& input : inputs)
        input.type = INPUT_MOUSE;
    // Absolute positions run from 0 to 65536 across the screen.
    inputs[0].mi.dx = (x * 65536 + GetSystemMetrics(SM_CXSCREEN) - 1) / GetSystemMetrics(SM_CXSCREEN);
    inputs[0].mi.dy = (y * 65536 + GetSystemMetrics(SM_CYSCREEN) - 1) / GetSystemMetrics(SM_CYSCREEN);
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    inputs[1].mi.dwFlags = right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
    inputs[2].mi.dwFlags = right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
    SendInput(3, inputs, sizeof(INPUT));
}

void TypeKey(WORD vk, bool shift) {
    if (shift) SendKey(VK_SHIFT, false);
    SendKey(vk, false);
    SendKey(vk, true);
    if (shift) SendKey(VK_SHIFT, true);
}

bool PointAtLastMenuItem(HWND menu) {
    DWORD pid = 0;
    GetWindowThreadProcessId(menu, &pid);
    const RECT r = WindowRect(menu);
    // The last item's row ends three pixels above the menu's bottom.
    const int y = r.bottom - 12;
    SetCursorPos((r.left + r.right) / 2, y);
    return WaitFor([&] {
        DWORD foreground = 0;
        GetWindowThreadProcessId(GetForegroundWindow(), &foreground);
        return foreground == pid && ScreenPixel(r.left + 5, y) == GetSysColor(COLOR_HIGHLIGHT);
    });
}

} // namespace e2e
