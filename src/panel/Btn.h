#pragma once
// The launcher panel "ひょこ太": a grid of 30 icon buttons, one per button record.

#include "base/WinUtil.h"
#include "components/Background.h"
#include "dialogs/BtnSet.h"
#include "model/Launcher.h"
#include "panel/DroppedRecord.h"
#include "panel/Interfaces.h"
#include "panel/PanelRules.h"
#include "ui/DropTarget.h"
#include "ui/Form.h"
#include "ui/ImageList.h"
#include "ui/ToolBar.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

class TBtnF1 : public ui::Form, public PanelForMascot, private LauncherObserver {
public:
    // The settings dialog it makes goes in the slot.
    TBtnF1(Launcher& launcher, MascotForPanel& mascot, const PanelLook& look, SettingsDialogSlot& settings);
    ~TBtnF1() override;

    // The thirty pictures, image N-1 for button N. Declared before the tool bar, which draws from it, so
    // that it outlives the bar.
    ui::ImageList ImageList1;
    // The grid of buttons, the panel's whole client area.
    ui::ToolBar ToolBar1;

    // Buttons[N] is the tool button of number N (1..30); index 0 is unused.
    std::array<ui::ToolButton*, kButtonCount + 1> Buttons{};
    // Records[N] is the record of button N (1..30), kept by the model; index 0 is unused.
    const ButtonRecords& Records;

    // What the mascot asks of the panel. Every show brings it in front of the other windows (the mascot,
    // topmost, stays above it), after which it is an ordinary window that one the user activates covers;
    // a show takes the activation only where the user's input went to this program.
    // For an edge or a hover: the normal form (icons only, rows of the normal height, the width fitted to
    // whole buttons), shown without taking the activation.
    void ShowNormally() override;
    // The normal form alone, for a panel that shows already.
    void NormalForm() override;
    // Icons only, rows of the normal height and a scroll step of one row (the tray icon's moves and clicks).
    void ResetToolBar() override;
    void ShowPanel() override { Show(); }
    // For the first hot key: the button characters as captions, the scroll step of a row of them, shown
    // anew (its show handler fits the height to the captions) with the activation the key brought, and the
    // pointer just inside its corner.
    void ShowForKeys() override;
    // For the second hot key: the normal form, hidden, and the pointer just outside its corner.
    void HideByKey() override;
    // The window the user was in when a hot key brought this program forward (one of this program's own
    // is not remembered): a later hide gives it the activation back.
    void NoteUsersWindow(HWND window) override;
    // Hides the panel. When this program holds the activation and a hot key took it from the user's
    // window, that window gets it back, rather than whichever window of this program Windows would choose.
    void HidePanel() override;
    bool Shown() const override { return Visible(); }
    HWND Window() const override { return Handle(); }
    PanelBounds Bounds() const override { return {Left(), Top(), Width(), Height()}; }
    void ShowAnew() override {
        Hide();
        Show();
    }
    // Button n drawn down, as the swap's source is, or up again.
    void PressButton(int number, bool down);

    // The button settings dialog, at most one (in the slot while it exists). A drop prepares one, hidden,
    // for the button it fills, unless one exists; the end of the set-details mode closes it.
    void PrepareSettingsDialog(int number);

    // A file, shortcut or folder to register, when it has answered (read on a thread of its place): on
    // button target if it is still free then, else (and for 0, a drop on the mascot) on the first free
    // button that no settings dialog shows, or, with none, an error that says so. False when every
    // button is taken already.
    bool RegisterDropped(const std::wstring& path, int target = 0) override;
    int DropsPending() const override { return dropsPending_; }

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
    // What files dragged to this screen point would do, as the pointer shows it (the button under it is
    // marked): DROPEFFECT_COPY, DROPEFFECT_LINK or DROPEFFECT_NONE.
    DWORD DropEffectAt(POINT screen);
    void FormCreate();
    void FormShow();
    void FormResize();
    void FormKeyPress(wchar_t& key);
    void FormKeyDown(WORD& key, ui::ShiftState shift);

    // The click of every button: launches, or edits the button in the mascot's edit mode.
    void ToolButton1Click(ui::ToolButton& sender);
    // Exchanges two records (and their images and hints) and saves both.
    void SwapButtons(int source, int target);

    // In front of every window that is not topmost, with no right to the foreground needed.
    void BringToFront() override;

    // Whether the program runs above the shell, asked at creation and whenever the shell starts again;
    // tests stand in for the levels here.
    static inline std::function<bool()> RunsAboveTheShell = base::RunsAboveShellIntegrity;

protected:
    void WindowCreated() override;
    // Buttons and icons at the new DPI; the stored width stays the window's.
    void DpiChanged(int oldDpi) override;
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // A mode begun is a show occasion.
    void EditModeChanged(const ModeChange& change) override;
    // A new row limit applies at once to a panel that shows.
    void OptionsChanged(const EyeOptions& before) override;
    // The button's hint and picture follow its record; a start under way for the item it held goes on
    // without it.
    void ButtonChanged(int number) override;
    // Each item takes its start under way along.
    void ButtonsSwapped(int a, int b) override;
    void ShowRecord(int number);
    // OLE drops or WM_DROPFILES alone, as the levels now say.
    void DecideDropWay();
    void ButtonsRead() override;
    // Icons are read, and programs looked for and started, on other threads: a file on a share that does
    // not answer must not freeze the panel or the mascot. The answers come back as these messages.
    static constexpr UINT kIconsArrivedMessage = WM_APP + 0x200;
    static constexpr UINT kLaunchAnsweredMessage = WM_APP + 0x201;
    static constexpr UINT kDropsReadMessage = WM_APP + 0x202;
    // Files dropped through OLE, acted on once OLE has let the source program go.
    static constexpr UINT kFilesDroppedMessage = WM_APP + 0x203;
    struct IconAnswer {
        int number;
        unsigned ticket; // which request of the button this answers
        base::UniqueHicon icon;
    };
    struct LaunchAnswer {
        unsigned start;  // PendingLaunches' ticket
        bool found;
        DWORD error;     // what the shell said: 0 for a start
        DWORD processId; // what it started, when it made a process
        std::wstring failure; // what stopped the work itself, to be told
    };
    void AskForIcon(int number);
    void IconsArrived();
    // Starts the button's item, with files for it to open after its options, and with a verb ("runas").
    void Launch(int number, const std::vector<std::wstring>& files = {}, const wchar_t* verb = nullptr);
    void LaunchAnswered(const LaunchAnswer& answer);
    // Requests to show the panel and edit modes begun: what a late launch answer must not undo.
    std::uint64_t ShowsAndModesBegun() const { return ShowRequests() + modesBegun_; }
    // The pointer over a button says whether its item is starting.
    void UpdatePointer();
    bool PointerOnStartingButton() const;
    void HidePanel(DWORD startedProcess);
    void DropsRead();
    void Register(int target, const DroppedRecords& made);
    // The first free button that no shown settings dialog edits (its OK would overwrite a drop); 0 for none.
    int FreeButtonForDrop() const;
    // Files dragged over the panel, and dropped on it (EditsAndDrops.cpp): what the button under the pointer
    // would do with them, marked; and what it does.
    int ButtonAtScreen(POINT screen) const;
    void FilesDroppedAt(POINT screen, const std::vector<std::wstring>& files);
    // A button dragged onto another: the two swap, as in the swap mode.
    void ButtonDragged(int from, int to);
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
    MascotForPanel& mascot_;
    PanelLook look_;
    SettingsDialogSlot& settings_;
    bool resizing_ = false;
    // Requests per button, and the request whose icon is shown; they differ while one is on its way.
    background::Requests iconRequests_{kButtonCount + 1};
    std::uint64_t modesBegun_ = 0;
    // The window that had the activation before a hot key gave it to the panel.
    HWND usersWindow_ = nullptr;
    int dropsPending_ = 0;
    PendingLaunches launching_;
    background::PlaceQueues iconReads_;
    // Each thread keeps COM for its life, as the shell asks of whoever calls it.
    background::StandingThreads launches_{background::ThreadCom::Apartment};
    background::Mailbox<IconAnswer> iconAnswers_;
    background::Mailbox<LaunchAnswer> launchAnswers_;
    struct DropAnswer {
        int target; // the button asked for, or 0 for the first free one
        DroppedRecords made;
    };
    background::PlaceQueues dropReads_{background::ThreadCom::Apartment};
    background::Mailbox<DropAnswer> dropAnswers_;
    ui::FileDropTarget dropTarget_;
    bool oleDrops_ = false;
    std::vector<std::pair<POINT, std::vector<std::wstring>>> droppedFiles_;
};

// "ぱむぱむランチ　" and today's date as 12月6日（日） and one blank, in the user's locale; in English, the name and
// "Sun, December 6".
std::wstring DatedCaption();

// Icon IconIndex of IconFile when the file holds icons and that one among them; empty otherwise, and the
// caller then shows the mascot's icon.
// size is in pixels; 0 or 32 gives the standard large icon.
base::UniqueHicon ExtractButtonIcon(const ButtonRecord& record, int size = 0);
