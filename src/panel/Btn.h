#pragma once
// The launcher panel "ひょこ太": a grid of 30 icon buttons, one per button record.

#include "components/Background.h"
#include "model/Launcher.h"
#include "panel/PanelRules.h"
#include "ui/Form.h"
#include "ui/ImageList.h"
#include "ui/ToolBar.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>

// What the panel takes from the mascot: its picture for buttons without one, and the sizes.
// Sizes in 96-DPI units.
struct PanelLook {
    HICON fallbackIcon = nullptr; // not owned; outlives the panel
    int buttonSize = 38;
    int iconSize = 32;
};

class TBtnF1 : public ui::Form, private LauncherObserver {
public:
    TBtnF1(Launcher& launcher, const PanelLook& look);
    ~TBtnF1() override;

    // Declared before the tool bar, which draws from it, so that it outlives the bar.
    ui::ImageList ImageList1;
    ui::ToolBar ToolBar1;

    std::int32_t SwapSource = 0;
    // Buttons[N] is the tool button of number N (1..30); index 0 is unused.
    std::array<ui::ToolButton*, kButtonCount + 1> Buttons{};
    // Records[N] is the record of button N (1..30), kept by the model; index 0 is unused.
    const ButtonRecords& Records;
    std::int32_t SwapPending = 0;

    // The records and bounds from the settings file, or from the registry of older versions.
    void ReadIni();
    // Every button's picture anew: the mascot's at once for a button without an icon file, a blank that
    // fills in as its icon arrives for the others.
    void ImageListSet();
    void RefreshButtonIcon(int number);
    // True while an icon asked for has not arrived.
    bool IconsPending() const;
    // True while a launch asked for has not been answered.
    bool LaunchesPending() const { return launching_.Any(); }
    // The panel stays above other windows while it shows (and below the mascot); a show takes the
    // activation only where the user's input went to this program. A hot key's does: the panel is hidden
    // and shown anew (its show handler fits the height to the captions) and takes the activation.
    void ShowForKeys();
    // The window the user was in when a hot key brought this program forward (one of this program's own
    // is not remembered): a later hide gives it the activation back.
    void NoteUsersWindow(HWND window);
    // Hides the panel. When this program holds the activation and a hot key took it from the user's
    // window, that window gets it back, rather than whichever window of this program Windows would choose.
    void HidePanel();

    void FormCreate();
    void FormShow();
    void FormResize();
    void FormKeyPress(wchar_t& key);
    void FormKeyDown(WORD& key, ui::ShiftState shift);

    // The click of every button: launches, or edits the button in the mascot's edit mode.
    void ToolButton1Click(ui::ToolButton& sender);
    // Exchanges two records (and their images and hints) and saves both.
    void SwapButtons(int source, int target);

protected:
    void WindowCreated() override;
    // Buttons and icons at the new DPI; the stored width stays the window's.
    void DpiChanged(int oldDpi) override;
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // A mode's prompt, or the dated caption, as the caption.
    void EditModeChanged(const ModeChange& change) override;
    // The button's hint and picture follow its record.
    void ButtonChanged(int number) override;
    // Icons are read, and programs looked for and started, on other threads: a file on a share that does
    // not answer must not freeze the panel or the mascot. The answers come back as these messages.
    static constexpr UINT kIconsArrivedMessage = WM_APP + 0x200;
    static constexpr UINT kLaunchAnsweredMessage = WM_APP + 0x201;
    struct IconAnswer {
        int number;
        unsigned ticket; // which request of the button this answers
        base::UniqueHicon icon;
    };
    struct LaunchAnswer {
        int number;
        bool found;
        DWORD error;     // what the shell said: 0 for a start
        DWORD processId; // what it started, when it made a process
    };
    void AskForIcon(int number);
    void IconsArrived();
    void Launch(int number);
    void LaunchAnswered(const LaunchAnswer& answer);
    // Requests to show the panel and edit modes begun: what a late launch answer must not undo.
    std::uint64_t ShowOccasions() const { return ShowRequests() + modesBegun_; }
    // The pointer over the panel says whether a start is under way.
    void UpdatePointer();
    void HidePanel(DWORD startedProcess);
    // Keeps the panel below the mascot in the topmost band, whatever brings it forward.
    void KeepBelowMascot(WINDOWPOS& position) const;
    void ShowNewSettingsDialog(int number);
    void EditInSettingsDialog(int number);
    void PickForSwap(int number);
    void RemoveSetting(int number);
    void SaveThenEndMode(const std::function<void()>& save, const std::function<void()>& endMode);
    void ApplyBounds(int left, int top, int width, int height);
    void SizeButtons();
    void UpdateScrollRange();
    int FrameHeight() const;
    int VisibleRowCount() const;
    void OnGetMinMaxInfo(MINMAXINFO& info) const;

    Launcher& launcher_;
    PanelLook look_;
    bool resizing_ = false;
    // Requests per button, and the request whose icon is shown; they differ while one is on its way.
    background::Tickets iconAsked_{kButtonCount + 1};
    std::array<unsigned, kButtonCount + 1> iconShown_{};
    std::uint64_t modesBegun_ = 0;
    // The window that had the activation before a hot key gave it to the panel.
    HWND usersWindow_ = nullptr;
    PendingLaunches launching_;
    background::PlaceQueues iconReads_;
    // Each thread keeps COM for its life, as the shell asks of whoever calls it.
    background::StandingThreads launches_{background::ThreadCom::Apartment};
    background::Mailbox<IconAnswer> iconAnswers_;
    background::Mailbox<LaunchAnswer> launchAnswers_;
};

extern TBtnF1* BtnF1;

// "ぱむぱむランチ　" and today's date as 12月6日（日） and one blank, in the user's locale.
std::wstring DatedCaption();

// Icon IconIndex of IconFile when the file holds icons and that one among them; empty otherwise, and the
// caller then shows the mascot's icon.
// size is in pixels; 0 or 32 gives the standard large icon.
base::UniqueHicon ExtractButtonIcon(const ButtonRecord& record, int size = 0);
