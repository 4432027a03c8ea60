#pragma once
// The launcher's state at the centre of the program: the options, the thirty button records, the
// settings file they are kept in and the button-edit mode. The windows read it, change it through these
// calls and learn of changes through LauncherObserver; it knows nothing of windows itself.

#include "model/EditModes.h"
#include "settings/ButtonRecord.h"
#include "settings/Profile.h"
#include "settings/Sections.h"

#include <array>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

// Records[N] is the record of button N (1..30); index 0 is unused.
using ButtonRecords = std::array<ButtonRecord, kButtonCount + 1>;

class LauncherObserver {
public:
    // The edit mode changed; the change says what the menu, the mascot and the panel show now.
    virtual void EditModeChanged(const ModeChange& /*change*/) {}
    // A button was clicked in the current edit mode.
    virtual void ModeStepTaken(const ModeStep& /*step*/) {}
    // The options dialog opened or closed: the panel's hot keys rest while it is open.
    virtual void OptionsDialogShown(bool /*open*/) {}
    // Record N changed in memory (it may not be saved yet).
    virtual void ButtonChanged(int /*number*/) {}
    // All thirty records were read from the settings.
    virtual void ButtonsRead() {
        for (int n = 1; n <= kButtonCount; ++n)
            ButtonChanged(n);
    }
    // Records a and b exchanged places in memory (they may not be saved yet).
    virtual void ButtonsSwapped(int a, int b) {
        ButtonChanged(a);
        ButtonChanged(b);
    }
    // The options changed in memory (they may not be saved yet); before is what they were.
    virtual void OptionsChanged(const EyeOptions& /*before*/) {}
    // The options were read from the settings, before anything was shown.
    virtual void OptionsRead() {}

protected:
    ~LauncherObserver() = default;
};

struct MascotPlace {
    std::int32_t left = kDefaultMascotLeft;
    std::int32_t top = kDefaultMascotTop;
};

// Where the windows are, as the settings file keeps them.
struct WindowPlaces {
    std::int32_t mascotLeft = 0;
    std::int32_t mascotTop = 0;
    PanelBounds panel;
};

class Launcher {
public:
    explicit Launcher(std::wstring settingsPath);
    Launcher(const Launcher&) = delete;
    Launcher& operator=(const Launcher&) = delete;

    const std::wstring& SettingsPath() const { return settingsPath_; }
    ProfileFile SettingsFile() const { return ProfileFile(settingsPath_); }
    // The file the start reads: the settings file, or, when a replace that failed half-way has left the
    // whole settings in the copy of a save alone, that copy.
    ProfileFile FileToRead() const;

    void AddObserver(LauncherObserver* observer);
    void RemoveObserver(LauncherObserver* observer);

    // Section "eye": the options into the model; the mascot's stored place is returned.
    MascotPlace ReadOptions();
    // The records and the panel's bounds, from the file, or from the registry of older versions when
    // there is no file yet; empty bounds when neither has them.
    std::optional<PanelBounds> ReadButtons();

    const EyeOptions& Options() const { return options_; }
    // In memory, and told to the observers, which apply what changed; saving is the caller's next step.
    void ChangeOptions(const EyeOptions& options);

    const ButtonRecords& Records() const { return records_; }
    const ButtonRecord& Button(int number) const { return records_.at(static_cast<std::size_t>(number)); }
    // The first button without a program, other than skipped; 0 when all are taken.
    int FirstFreeButton(int skipped = 0) const;
    // In memory, told to the observers; saving is the caller's next step.
    void SetButton(int number, ButtonRecord record);
    void SwapButtons(int source, int target);

    EditState EditMode() const { return editMode_; }
    // Every change of mode, the swap's end included, forgets the swap's source.
    void ChangeMode(const ModeChange& change);
    // The first button picked in the swap mode, or 0 while none is.
    int SwapSource() const { return swapSource_; }
    // A button clicked in the current edit mode: the first of a swap becomes its source.
    void PickButton(int number);
    // The options dialog is open: the panel's clicks and the edges rest, and so do its hot keys. The
    // swap's source stays, and nothing else on screen changes.
    void BeginOptionsDialog();
    // Back to no mode, whatever mode was on before the dialog; only the first call after the beginning
    // counts (OK and Cancel end it as the dialog closes, the menu once the dialog has gone).
    void EndOptionsDialog();

    // The mascot's colour: the edit mode's, or the one the options name when no mode has its own or the
    // user chose a colour since the mode began.
    TColor FaceColour() const;
    // A colour chosen in the options dialog (or the choice cancelled): it shows at once, also over an
    // edit mode's colour.
    void ChooseColour(TColor colour);

    // Each save is one change of the file: a failed one leaves it as it was.
    void SaveButtons(std::initializer_list<int> numbers);
    void SaveOptions();
    // What quitting saves: section "eye", the panel's bounds and all thirty buttons.
    void SaveAll(ProfileFile& file, const WindowPlaces& places);

private:
    void TellButtonsRead();
    void Tell(const std::function<void(LauncherObserver&)>& tell);
    void WriteWindowsAndOptions(ProfileFile& file, const WindowPlaces& places) const;

    std::wstring settingsPath_;
    EyeOptions options_;
    ButtonRecords records_{};
    EditState editMode_ = EditState::None;
    int swapSource_ = 0;
    TColor modeColour_ = kOptionColour;
    bool optionsDialogOpen_ = false;
    std::vector<LauncherObserver*> observers_;
};
