// The real pmrun.exe and its global hot keys, a second start while it runs, and where its hints appear.

#include "Keys.h"
#include "PmrunProcess.h"
#include "Programs.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <memory>
#include <vector>

using namespace e2e;

namespace {

POINT Pointer() {
    POINT p{};
    GetCursorPos(&p);
    return p;
}

bool PointerAt(int x, int y) {
    return WaitFor([&] {
        POINT p = Pointer();
        return p.x == x && p.y == y;
    });
}

// The bar's button height: larger than 38 while the captions show.
int ButtonHeight(HWND bar) {
    DWORD_PTR size = 0;
    SendMessageTimeoutW(bar, TB_GETBUTTONSIZE, 0, 0, SMTO_ABORTIFHUNG, 2000, &size);
    return HIWORD(size);
}

// The command id of a button of another process's tool bar, read through a buffer in that process.
int CommandOf(HWND bar, int index) {
    DWORD pid = 0;
    GetWindowThreadProcessId(bar, &pid);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!process) return -1;
    int id = -1;
    if (void* remote = VirtualAllocEx(process, nullptr, sizeof(TBBUTTON), MEM_COMMIT, PAGE_READWRITE)) {
        DWORD_PTR ok = 0;
        TBBUTTON button{};
        if (SendMessageTimeoutW(bar, TB_GETBUTTON, static_cast<WPARAM>(index),
                                reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG, 2000, &ok) &&
            ok && ReadProcessMemory(process, remote, &button, sizeof button, nullptr))
            id = button.idCommand;
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    return id;
}

// Whether button N is drawn pressed; false when its state cannot be read.
bool Pressed(HWND bar, int number) {
    const int id = CommandOf(bar, number - 1);
    DWORD_PTR state = 0;
    if (id < 0 ||
        !SendMessageTimeoutW(bar, TB_GETSTATE, static_cast<WPARAM>(id), 0, SMTO_ABORTIFHUNG, 2000, &state) ||
        static_cast<LRESULT>(state) == -1)
        return false;
    return (state & TBSTATE_PRESSED) != 0;
}

DWORD ProcessOf(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return pid;
}

// Further pmrun.exe processes started in the folder of the first; killed if still running at the end.
class MoreStarts {
public:
    explicit MoreStarts(std::wstring folder) : folder_(std::move(folder)) {}
    ~MoreStarts() {
        for (auto& p : processes_) {
            if (WaitForSingleObject(p.hProcess, 0) == WAIT_TIMEOUT) {
                TerminateProcess(p.hProcess, 99);
                WaitForSingleObject(p.hProcess, 5000);
            }
            CloseHandle(p.hProcess);
            CloseHandle(p.hThread);
        }
    }
    bool Start() {
        const std::wstring exe = folder_ + L"\\pmrun.exe";
        std::wstring commandLine = L"\"" + exe + L"\"";
        STARTUPINFOW si{};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi{};
        if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            folder_.c_str(), &si, &pi))
            return false;
        processes_.push_back(pi);
        return true;
    }
    const std::vector<PROCESS_INFORMATION>& Processes() const { return processes_; }
    std::vector<HANDLE> Running() const {
        std::vector<HANDLE> running;
        for (const auto& p : processes_)
            if (WaitForSingleObject(p.hProcess, 0) == WAIT_TIMEOUT) running.push_back(p.hProcess);
        return running;
    }

private:
    std::wstring folder_;
    std::vector<PROCESS_INFORMATION> processes_;
};

class HotKeysE2E : public E2ETest {
protected:
    // The mascot at 600, 400, the panel at 100, 100 with the design width, the edges quiet.
    bool Start(const std::wstring& more = L"") {
        pmrun.WriteIni(
            StandardIni(kNoEdges + more,
                        L"[btn1]\r\npg=C:\\one.exe\r\nlb=いち\r\n[btn3]\r\npg=C:\\three.exe\r\nlb=さん\r\n"));
        return pmrun.Start();
    }
    RECT Panel() const { return WindowRect(pmrun.Panel()); }
};

} // namespace

TEST_F(HotKeysE2E, AltZHidesThePanelAndAltAShowsItWithCaptions) {
    ASSERT_TRUE(Start());
    ASSERT_TRUE(pmrun.PanelVisible());
    const RECT panel = Panel();

    PressChord('Z', {VK_MENU});
    EXPECT_TRUE(WaitFor([&] { return !pmrun.PanelVisible(); }));
    EXPECT_TRUE(PointerAt(panel.left - 10, panel.top - 10));
    EXPECT_EQ(ButtonHeight(pmrun.PanelToolBar()), 38);

    PressChord('A', {VK_MENU});
    EXPECT_TRUE(WaitFor([&] { return pmrun.PanelVisible(); }));
    EXPECT_TRUE(PointerAt(panel.left + 10, panel.top + 10));
    EXPECT_GT(ButtonHeight(pmrun.PanelToolBar()), 38); // the captions 1..9, A..U show
    EXPECT_EQ(GetForegroundWindow(), pmrun.Panel());

    PressChord('Z', {VK_MENU});
    EXPECT_TRUE(WaitFor([&] { return !pmrun.PanelVisible(); }));
    EXPECT_EQ(ButtonHeight(pmrun.PanelToolBar()), 38);
    ASSERT_TRUE(pmrun.Quit());
}

TEST_F(HotKeysE2E, AfterAltZTheMascotsMenuOpensOnTheFirstRightClick) {
    ASSERT_TRUE(Start());
    const auto before = pmrun.Pupils();
    PressChord('Z', {VK_MENU});
    ASSERT_TRUE(WaitFor([&] { return !pmrun.PanelVisible(); }));
    // The key also moved the pointer: a tick past that comes after the keys, the release of Alt too.
    ASSERT_TRUE(pmrun.WaitForPupilsToMove(before));
    // The Alt of the hot key put nothing into menu mode: the click opens the menu, whose sixth item is
    // the version box.
    ASSERT_TRUE(pmrun.ChooseMenuItem(6));
    const DWORD pid = ProcessOf(pmrun.Mascot());
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (box = FindProcessWindow(pid, L"TVerDlgF", true)) != nullptr; }));
    PostMessageW(box, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return FindProcessWindow(pid, L"TVerDlgF", true) == nullptr; }));
    ASSERT_TRUE(pmrun.Quit());
}

TEST_F(HotKeysE2E, TheUsersOwnKeysReplaceAltAAndAltZ) {
    ASSERT_TRUE(Start(L"ApSc=Shift+Ctrl+F7\r\nDApSc=^F8\r\n"));
    const auto before = pmrun.Pupils();
    PressChord(VK_F8, {VK_CONTROL});
    EXPECT_TRUE(WaitFor([&] { return !pmrun.PanelVisible(); }));
    ASSERT_TRUE(pmrun.WaitForPupilsToMove(before)); // the key moved the pointer too
    // The key brought the program forward: keys typed now go to it, and a tick comes after them.
    ASSERT_TRUE(WaitFor([&] { return ProcessOf(GetForegroundWindow()) == pmrun.Id(); }));
    PressChord('A', {VK_MENU}); // no longer the program's
    ASSERT_TRUE(pmrun.MovePointerForTick(kRestX, kRestY));
    EXPECT_FALSE(pmrun.PanelVisible());
    PressChord(VK_F7, {VK_CONTROL, VK_SHIFT});
    EXPECT_TRUE(WaitFor([&] { return pmrun.PanelVisible(); }));
    ASSERT_TRUE(pmrun.Quit());
}

TEST_F(HotKeysE2E, AltEscEndsSwapModeReleasesTheSourceAndHidesThePanel) {
    ASSERT_TRUE(Start());
    ASSERT_TRUE(pmrun.ChooseMenuItem(4)); // swap
    ASSERT_TRUE(WaitFor([&] { return WindowText(pmrun.Panel()) == L"入れ替え元のボタンを押してください"; }));
    pmrun.ClickButton(1);
    ASSERT_TRUE(WaitFor([&] { return Pressed(pmrun.PanelToolBar(), 1); }));
    EXPECT_FALSE(Pressed(pmrun.PanelToolBar(), 3));
    const RECT panel = Panel();

    PressChord(VK_ESCAPE, {VK_MENU});
    EXPECT_TRUE(WaitFor([&] { return !pmrun.PanelVisible(); }));
    EXPECT_FALSE(Pressed(pmrun.PanelToolBar(), 1));
    EXPECT_TRUE(WaitFor([&] { return WindowText(pmrun.Panel()).starts_with(L"ぱむぱむランチ　"); }));
    EXPECT_TRUE(PointerAt(panel.left - 10, panel.top - 10));
    RECT m = WindowRect(pmrun.Mascot());
    EXPECT_EQ(WaitForScreenPixel(m.left + 15, m.top + 29, RGB(255, 255, 0)), RGB(255, 255, 0));

    // The mode is over: a click on a button launches instead of swapping (the program is missing, so
    // the error box says so).
    PressChord('A', {VK_MENU});
    ASSERT_TRUE(WaitFor([&] { return pmrun.PanelVisible(); }));
    pmrun.ClickButton(3);
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (box = pmrun.ErrorBox()) != nullptr; }));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return pmrun.ErrorBox() == nullptr; }));
    ASSERT_TRUE(pmrun.Quit());
    EXPECT_EQ(pmrun.Saved(1, "pg"), "C:\\one.exe");
    EXPECT_EQ(pmrun.Saved(3, "pg"), "C:\\three.exe");
}

TEST_F(HotKeysE2E, AltQOpensTheMenuAtThePanelsTopRightCorner) {
    ASSERT_TRUE(Start());
    PressChord('Z', {VK_MENU});
    ASSERT_TRUE(WaitFor([&] { return !pmrun.PanelVisible(); }));
    const DWORD pid = ProcessOf(pmrun.Mascot());

    PressChord('Q', {VK_MENU});
    HWND menu = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (menu = FindProcessWindow(pid, L"#32768", true)) != nullptr; }));
    EXPECT_TRUE(pmrun.PanelVisible());
    const RECT panel = Panel();
    const RECT m = WindowRect(menu);
    EXPECT_EQ(m.left, panel.right);
    EXPECT_EQ(m.top, panel.top);
    EXPECT_TRUE(PointerAt(panel.left + 10, panel.top + 10));
    EXPECT_GT(ButtonHeight(pmrun.PanelToolBar()), 38);

    TypeKey(VK_ESCAPE);
    EXPECT_TRUE(WaitFor([&] { return FindProcessWindow(pid, L"#32768", true) == nullptr; }));
    ASSERT_TRUE(pmrun.Quit());
}

TEST_F(HotKeysE2E, ASecondStartEndsAtOnceAndLeavesTheSettingsAlone) {
    ASSERT_TRUE(Start());
    const std::string before = pmrun.IniBytes();
    const DWORD firstPid = ProcessOf(pmrun.Mascot());

    MoreStarts second(pmrun.Folder());
    const DWORD started = GetTickCount();
    ASSERT_TRUE(second.Start());
    ASSERT_EQ(WaitForSingleObject(second.Processes()[0].hProcess, 5000), WAIT_OBJECT_0);
    const DWORD took = GetTickCount() - started;
    EXPECT_LT(took, 1000u);
    DWORD code = 99;
    GetExitCodeProcess(second.Processes()[0].hProcess, &code);
    EXPECT_EQ(code, 0u);

    EXPECT_EQ(pmrun.IniBytes(), before);
    EXPECT_TRUE(pmrun.Running());
    EXPECT_EQ(ProcessOf(pmrun.Mascot()), firstPid);
    // The first one still holds its keys.
    PressChord('Z', {VK_MENU});
    EXPECT_TRUE(WaitFor([&] { return !pmrun.PanelVisible(); }));
    ASSERT_TRUE(pmrun.Quit());

    // With the first one gone, the next start runs normally.
    MoreStarts next(pmrun.Folder());
    ASSERT_TRUE(next.Start());
    EXPECT_TRUE(WaitFor([&] { return FindProcessWindow(next.Processes()[0].dwProcessId, L"TpamuF", true); }));
    EXPECT_EQ(next.Running().size(), 1u);
}

TEST_F(HotKeysE2E, TwentyStartsAtOnceLeaveExactlyOne) {
    pmrun.WriteIni(std::wstring(L"[eye]\r\nLeft=600\r\nTop=400\r\n") + kNoEdges);
    const std::string before = pmrun.IniBytes();
    MoreStarts starts(pmrun.Folder());
    for (int i = 0; i < 20; ++i)
        ASSERT_TRUE(starts.Start());
    // Nineteen end by themselves; the one left shows its mascot, which a start that is to end never does.
    EXPECT_TRUE(WaitFor([&] { return starts.Running().size() == 1; }, 30000)) << starts.Running().size();
    ASSERT_EQ(starts.Running().size(), 1u);
    HANDLE survivor = starts.Running()[0];
    const DWORD pid = GetProcessId(survivor);
    EXPECT_TRUE(WaitFor([&] { return FindProcessWindow(pid, L"TpamuF", true) != nullptr; }));
    ASSERT_EQ(starts.Running().size(), 1u);
    for (const auto& p : starts.Processes()) {
        if (p.hProcess == survivor) continue;
        DWORD code = 99;
        GetExitCodeProcess(p.hProcess, &code);
        EXPECT_EQ(code, 0u);
    }
    EXPECT_EQ(pmrun.IniBytes(), before);
    // Quitting the survivor saves as usual.
    PostMessageW(FindProcessWindow(pid, L"TpamuF", false), WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(survivor, 10000), WAIT_OBJECT_0);
    EXPECT_NE(pmrun.IniBytes(), before);
}

TEST_F(HotKeysE2E, WithPamuAButtonsHintAppearsBelowTheMascot) {
    ASSERT_TRUE(Start(L"HintPos=pamu\r\n"));
    const DWORD pid = ProcessOf(pmrun.Mascot());
    RECT bar = WindowRect(pmrun.PanelToolBar());
    // Two moves onto the button, the first handled (a tick came after it) before the second.
    ASSERT_TRUE(pmrun.MovePointerForTick(bar.left + 12, bar.top + 12));
    SetCursorPos(bar.left + 14, bar.top + 14);
    HWND tip = nullptr;
    // Moved where it belongs before it shows.
    ASSERT_TRUE(
        WaitFor([&] { return (tip = FindProcessWindow(pid, TOOLTIPS_CLASSW, true)) != nullptr; }, 4000));
    const RECT r = WindowRect(tip);
    const RECT mascot = WindowRect(pmrun.Mascot());
    EXPECT_EQ(r.left, mascot.left + 15);
    EXPECT_EQ(r.top, mascot.top + 30);
    ASSERT_TRUE(pmrun.Quit());
}
