// Buttons on shares that do not answer, as slow_share_test.sh mounts them. On one that has stopped (every
// lookup waits 20 seconds), the program starts, shows, tracks the pointer and starts other buttons while
// the share's lookups still wait, and quits without waiting for them. On one that is out until the test
// lets it answer, a launch asked for again and again starts once, and neither it nor the settings dialog
// holds anything up.

#include "PmrunProcess.h"
#include "Programs.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

using namespace e2e;

namespace {

std::wstring Environment(const wchar_t* name) {
    wchar_t value[1024] = {};
    const DWORD length = GetEnvironmentVariableW(name, value, 1024);
    return length > 0 && length < 1024 ? value : L"";
}

// Lookups of the share that have begun and not yet answered, as its log tells.
int WaitingLookups(const std::wstring& log) {
    int waiting = 0;
    std::istringstream lines(ReadFileBytes(log));
    for (std::string line; std::getline(lines, line);)
        waiting += line.starts_with("begin ") ? 1 : line.starts_with("end ") ? -1 : 0;
    return waiting;
}

using SlowShareE2E = E2ETest;

constexpr int kDetails = 2, kSwap = 4; // items of the mascot's menu

// Lets the held share answer, at the latest when it goes: a program waiting on it can then end.
class Release {
public:
    explicit Release(std::wstring file) : file_(std::move(file)) {}
    ~Release() { Now(); }
    void Now() const { WriteFileBytes(file_, "answer"); }

private:
    std::wstring file_;
};

} // namespace

TEST_F(SlowShareE2E, AButtonOnAShareThatDoesNotAnswerHoldsUpNothing) {
    const std::wstring share = Environment(L"PMRUN_SLOW_SHARE"), log = Environment(L"PMRUN_SLOW_LOG");
    ASSERT_FALSE(share.empty() || log.empty()) << "run by slow_share_test.sh, which mounts the share";
    const std::wstring slow = share + L"\\tool.exe", probe = pmrun.CopyProbe(L"probe2.exe");
    const std::wstring local = pmrun.Folder() + L"\\pmrun.exe"; // a program with icons, on local disk
    std::wstring buttons = ButtonSection(1, L"pg=" + slow + L"\r\nic=" + slow + L"\r\n") +
                           ButtonSection(2, L"pg=" + probe + L"\r\nic=" + local + L"\r\n");
    for (int n = 3; n <= 30; ++n)
        buttons += ButtonSection(n, L"pg=" + local + L"\r\nic=" + local + L"\r\n");
    pmrun.WriteIni(StandardIni(kNoEdges, buttons));

    const DWORD started = GetTickCount();
    ASSERT_TRUE(pmrun.Start());
    const double seconds = (GetTickCount() - started) / 1000.0;
    std::printf("mascot and panel shown, face painted, %.2f s after the start\n", seconds);
    // Shown while the share has not answered the first lookup of button 1's icon.
    ASSERT_TRUE(WaitFor([&] { return WaitingLookups(log) > 0; }));
    // The local icons fill in; the unreachable one stays blank.
    EXPECT_TRUE(WaitFor([&] { return !pmrun.ButtonBlank(2) && !pmrun.ButtonBlank(30); }));
    EXPECT_TRUE(pmrun.ButtonBlank(1));

    // Button 1 clicked: its program is looked for on the share. Meanwhile the pupils follow the pointer,
    // and a key starts button 2.
    pmrun.ClickButton(1);
    ASSERT_TRUE(pmrun.MovePointerForTick(kAwayX, kAwayY));
    HWND panel = pmrun.Panel();
    ASSERT_TRUE(pmrun.PanelVisible());
    SetForegroundWindow(panel);
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == panel; }));
    TypeKey('2');
    EXPECT_TRUE(WaitFor([&] { return ProbeStarts(probe).size() == 1; }));
    EXPECT_TRUE(WaitFor([&] { return !pmrun.PanelVisible(); }));
    EXPECT_GT(WaitingLookups(log), 0) << "the share answered before the test was done; it proves nothing";
    EXPECT_FALSE(pmrun.ErrorBox()); // button 1's answer has not come yet

    // Quitting does not wait for the share either, and saves as always.
    ASSERT_TRUE(pmrun.Quit());
    EXPECT_EQ(pmrun.ExitCode(), 0u);
    EXPECT_EQ(pmrun.Saved(1, "pg"), ToAnsi(slow));
}

TEST_F(SlowShareE2E, APendingLaunchStartsOnceAndTheSwapAndTheDialogWaitForNothing) {
    const std::wstring held = Environment(L"PMRUN_HELD_SHARE"), source = Environment(L"PMRUN_HELD_SOURCE");
    ASSERT_FALSE(held.empty() || source.empty()) << "run by slow_share_test.sh, which mounts the share";
    const Release release(Environment(L"PMRUN_HELD_RELEASE"));
    // The program, and its icon, on the share; it logs its starts beside itself, in the source folder.
    const std::wstring program = held + L"\\tool.exe", logged = source + L"\\tool.exe";
    ASSERT_TRUE(CopyFileW(pmrun.CopyProbe(L"probe.exe").c_str(), logged.c_str(), FALSE));
    const std::wstring local = pmrun.Folder() + L"\\pmrun.exe"; // a program with icons, on local disk
    pmrun.WriteIni(StandardIni(kNoEdges, ButtonSection(1, L"pg=" + program + L"\r\nic=" + program + L"\r\n") +
                                             ButtonSection(2, L"pg=" + local + L"\r\nic=" + local + L"\r\n")));
    ASSERT_TRUE(pmrun.Start());
    ASSERT_TRUE(WaitFor([&] { return !pmrun.ButtonBlank(2); }));

    // Three clicks and the key while the share is out; the pupils follow the pointer meanwhile.
    for (int click = 0; click < 3; ++click)
        pmrun.ClickButton(1);
    HWND panel = pmrun.Panel();
    SetForegroundWindow(panel);
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == panel; }));
    TypeKey('1');
    ASSERT_TRUE(pmrun.MovePointerForTick(kAwayX, kAwayY));
    // Buttons 1 and 2 swapped meanwhile, then the settings of the one now on the share: the dialog shows
    // at once, with what the record says, while the share still has not answered.
    ASSERT_TRUE(pmrun.ChooseMenuItem(kSwap));
    pmrun.ClickButton(1);
    pmrun.ClickButton(2);
    ASSERT_TRUE(WaitFor([&] { return pmrun.Saved(1, "pg") == ToAnsi(local); }));
    ASSERT_TRUE(pmrun.ChooseMenuItem(kDetails));
    pmrun.ClickButton(2);
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(dialog = pmrun.FindWindowOfClass(L"TBtnSetF")); }));
    EXPECT_NE(ControlWithText(dialog, program), nullptr);
    ASSERT_TRUE(pmrun.MovePointerForTick(kRestX, kRestY));
    EXPECT_TRUE(ProbeStarts(logged).empty());

    // The share answers: one start; the dialog fills in; the panel stays, as a mode has begun since; the
    // icon the share sends for button 1's old record does not replace its new one.
    release.Now();
    EXPECT_TRUE(WaitFor([&] { return ProbeStarts(logged).size() == 1; }, 10000));
    EXPECT_TRUE(WaitFor([&] { return ControlWithText(dialog, L"アイコンがありません") != nullptr; }, 10000));
    EXPECT_TRUE(WaitFor([&] { return !ChildRunning(pmrun.Id(), L"tool.exe"); }));
    ASSERT_TRUE(pmrun.MovePointerForTick(kAwayX, kAwayY)); // a tick after the answer
    EXPECT_EQ(ProbeStarts(logged).size(), 1u);
    EXPECT_TRUE(pmrun.PanelVisible());
    EXPECT_FALSE(pmrun.ButtonBlank(1));
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_FALSE(pmrun.ErrorBox());
    ASSERT_TRUE(pmrun.Quit());
}
