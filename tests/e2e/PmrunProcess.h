#pragma once
// The real pmrun.exe, copied into a fresh folder of its own, started, inspected from outside through
// plain Win32 and closed. The destructor leaves no process and no folder behind.

#include "IniFiles.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace e2e {

using namespace testfiles;

class PmrunProcess {
public:
    PmrunProcess();
    ~PmrunProcess();
    PmrunProcess(const PmrunProcess&) = delete;
    PmrunProcess& operator=(const PmrunProcess&) = delete;

    const std::wstring& Folder() const { return folder_; }
    std::wstring IniPath() const { return folder_ + L"\\pmrun.Ini"; }
    void WriteIni(const std::wstring& text) const;
    std::string IniBytes() const;

    // Starts the program and waits until its panel is shown and its mascot too, with the pupils placed by
    // its first tick (or, when the settings hide it, until the mascot exists); false if that never happens.
    bool Start(bool mascotShown = true);
    bool Running() const;
    DWORD Id() const { return process_.dwProcessId; }
    // WM_CLOSE to the mascot, then waits for the process to end; false if it does not.
    bool Quit();
    DWORD ExitCode() const;

    // Top-level windows of the process by class: "TpamuF", "TBtnF1", "TApplication".
    HWND FindWindowOfClass(const wchar_t* className) const;
    HWND Mascot() const { return FindWindowOfClass(L"TpamuF"); }
    HWND Panel() const { return FindWindowOfClass(L"TBtnF1"); }
    bool PanelVisible() const { return IsWindowVisible(Panel()) != FALSE; }
    HWND AppWindow() const { return FindWindowOfClass(L"TApplication"); }
    HWND PanelToolBar() const;
    // The middle of button N of the panel as it is laid out now (six a row, 38 pixels, indent 1), and a
    // left click there.
    POINT ButtonCentre(int number) const;
    void ClickButton(int number) const;
    // True when button N shows no picture: the middle of the button has one colour only.
    bool ButtonBlank(int number) const;
    // What the settings file holds now for a key of [btnN].
    std::string Saved(int button, const char* key) const;

    // Copies the launch probe into the folder under this name; returns its full path. The probe logs each
    // start to "<path>.log".
    std::wstring CopyProbe(const std::wstring& name) const;
    // The error box the program shows, or null.
    HWND ErrorBox() const { return BoxTitled(L"エラー"); }
    // The box of an error the program did not expect, titled with its name, or null.
    HWND ExceptionBox() const { return BoxTitled(L"ぱむぱむランチ"); }
    // A message box of the program with this title, once it shows its text; otherwise null.
    HWND BoxTitled(const std::wstring& title) const;

    // The pupils as the screen shows them now: which pixels of the mascot's face, row by row, are black.
    std::vector<bool> Pupils() const;
    // Waits until the pupils differ from an earlier Pupils(). The mascot's 100 ms tick reads the
    // pointer, applies the screen-edge and hover rules and then moves the pupils to that reading, and
    // timers come after every posted message and input: moved pupils prove that a whole tick ran after
    // whatever put them elsewhere.
    bool WaitForPupilsToMove(const std::vector<bool>& from) const;
    // Puts the pointer at x, y and waits until a tick has seen it there. The pupils must have somewhere
    // else to go for x, y than for the place the last tick saw, and must already show that place: the
    // start, this and WaitForPupilsToMove leave them so.
    bool MovePointerForTick(int x, int y) const;

    // A right click on the mascot's face; true once its menu is open, in front and pointed at its last
    // item (see PointAtLastMenuItem).
    bool OpenMenu();
    // The menu opened, then Down to item n (1 the first; separators are skipped) and Enter; true once the
    // menu has closed and the chosen command has run (or opened its modal window).
    bool ChooseMenuItem(int item);

    // Ends the process at once, as a crash or a power cut would (the destructor does so too).
    void Kill();
    // Polls without pausing for the copy a save writes beside the settings file (pmrun.Ini.saving) and
    // kills the process the moment it appears; false, and no kill, if it was not seen in time.
    bool KillWhileSaving(DWORD timeoutMs = 10000);

private:
    std::wstring folder_;
    PROCESS_INFORMATION process_{};
    // The pupils as the first of the two places that OpenMenu clicks left them.
    std::vector<bool> menuClickPupils_;
};

// The settings most tests start from: the mascot at 600, 400 and the panel at 100, 100 in its design size,
// with eyeKeys added to [eye] and further sections after the panel's.
std::wstring StandardIni(const std::wstring& eyeKeys, const std::wstring& sections = L"");
// "[btnN]" and its key lines.
std::wstring ButtonSection(int number, const std::wstring& keys);

// Where every end-to-end test starts and ends, whatever ran before it: no older settings in the registry,
// and the pointer at rest, where no pupil covers a pixel a test samples.
void StartFromRest();

// A test of the real program, from and back to rest.
class E2ETest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    PmrunProcess pmrun;
};

// A resting place for the pointer away from every edge, the mascot and the panel.
constexpr int kRestX = 900, kRestY = 650;
// Another such place, where the pupils sit elsewhere than for the resting place, the mascot, the panel and
// the mascot's menu.
constexpr int kAwayX = 300, kAwayY = 700;
// [eye] keys that keep the screen edges from showing or hiding anything.
constexpr wchar_t kNoEdges[] = L"LWall=2\r\nTWall=2\r\nRWall=2\r\nBWall=2\r\n";

std::wstring WindowText(HWND hwnd);
// The text of another process's control, which only the control itself knows; empty if it does not answer.
std::wstring ControlText(HWND control);
// Every control of a window, pages included, in the order Windows lists them.
std::vector<HWND> Descendants(HWND parent);
// The first of them with this text, or null.
HWND ControlWithText(HWND dialog, const std::wstring& text);

// Polls the condition every 20 ms; its last value.
bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs = 5000);
// True once the window's thread has answered a message sent now: what that thread was running (a menu
// command, say) has ended or reached a modal loop. Messages posted to it may still wait.
bool RoundTrip(HWND window);
RECT WindowRect(HWND hwnd);
RECT ClientRect(HWND hwnd);
// A pixel of the screen as it is shown now.
COLORREF ScreenPixel(int x, int y);
// The pixel once it has the colour (a window paints a moment after it shows), or its last colour.
COLORREF WaitForScreenPixel(int x, int y, COLORREF wanted, DWORD timeoutMs = 3000);

// Input as the user gives it, through SendInput.
void ClickAt(int x, int y, bool right = false);
void TypeKey(WORD vk, bool shift = false);
// Rests the pointer on the last item of an open menu and waits until the item shows selected and the
// menu's program is in front: the menu's loop is then reading input, keys typed afterwards reach it, and
// they start from the last item, where Down goes round to the first.
bool PointAtLastMenuItem(HWND menu);

} // namespace e2e
