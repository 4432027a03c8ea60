#include "model/Launcher.h"

#include "settings/LegacyRegistry.h"

#include <algorithm>
#include <utility>

Launcher::Launcher(std::wstring settingsPath) : settingsPath_(std::move(settingsPath)) {}

void Launcher::AddObserver(LauncherObserver* observer) {
    observers_.push_back(observer);
}

void Launcher::RemoveObserver(LauncherObserver* observer) {
    std::erase(observers_, observer);
}

void Launcher::Tell(const std::function<void(LauncherObserver&)>& tell) {
    // Over a copy, skipping any that left meanwhile: what one observer does may make or end another.
    const std::vector<LauncherObserver*> observers = observers_;
    for (LauncherObserver* observer : observers)
        if (std::ranges::find(observers_, observer) != observers_.end()) tell(*observer);
}

ProfileFile Launcher::FileToRead() const {
    ProfileFile file = SettingsFile();
    if (file.Exists()) return file;
    ProfileFile copy(file.CopyPath());
    return copy.Exists() ? std::move(copy) : std::move(file);
}

MascotPlace Launcher::ReadOptions() {
    const ProfileFile file = FileToRead();
    const SectionValues eye(file, kEyeSection);
    MascotPlace place;
    place.top = eye.Integer(L"Top", kDefaultMascotTop);
    place.left = eye.Integer(L"Left", kDefaultMascotLeft);
    options_ = ReadEyeOptions(eye);
    Tell([&](LauncherObserver& observer) { observer.OptionsRead(); });
    return place;
}

std::optional<PanelBounds> Launcher::ReadButtons() {
    const ProfileFile file = FileToRead();
    if (file.Exists()) {
        const PanelBounds bounds = ReadPanelBounds(file);
        for (int n = 1; n <= kButtonCount; ++n)
            records_[n] = ReadButtonRecord(file, n);
        TellButtonsRead();
        return bounds;
    }
    const std::optional<PanelBounds> bounds = ReadLegacyPanelBounds();
    for (int n = 1; n <= kButtonCount; ++n)
        if (auto record = ReadLegacyButton(n)) records_[n] = std::move(*record);
    TellButtonsRead();
    return bounds;
}

int Launcher::FirstFreeButton(int skipped) const {
    for (int n = 1; n <= kButtonCount; ++n)
        if (!records_[n].Assigned() && n != skipped) return n;
    return 0;
}

void Launcher::SetButton(int number, ButtonRecord record) {
    records_.at(static_cast<std::size_t>(number)) = std::move(record);
    Tell([&](LauncherObserver& observer) { observer.ButtonChanged(number); });
}

void Launcher::SwapButtons(int source, int target) {
    // Both move before either is told, so that no observer sees one record twice.
    std::swap(records_.at(static_cast<std::size_t>(source)), records_.at(static_cast<std::size_t>(target)));
    Tell([&](LauncherObserver& observer) { observer.ButtonsSwapped(source, target); });
}

void Launcher::TellButtonsRead() {
    Tell([&](LauncherObserver& observer) { observer.ButtonsRead(); });
}

void Launcher::ChangeOptions(const EyeOptions& options) {
    const EyeOptions before = std::exchange(options_, options);
    // The colour the user just chose shows, whatever the edit mode's.
    if (options_.Color != before.Color) modeColour_ = kOptionColour;
    Tell([&](LauncherObserver& observer) { observer.OptionsChanged(before); });
}

void Launcher::ChooseColour(TColor colour) {
    modeColour_ = kOptionColour;
    EyeOptions options = options_;
    options.Color = colour;
    ChangeOptions(options);
}

TColor Launcher::FaceColour() const {
    return modeColour_ == kOptionColour ? options_.Color : modeColour_;
}

void Launcher::ChangeMode(const ModeChange& change) {
    editMode_ = change.editMode;
    modeColour_ = change.colour;
    ModeChange told = change;
    told.releasedSource = std::exchange(swapSource_, 0);
    Tell([&](LauncherObserver& observer) { observer.EditModeChanged(told); });
}

void Launcher::PickButton(int number) {
    const ModeStep step = StepOf(editMode_, number, swapSource_);
    if (step.pressed != 0) swapSource_ = step.pressed;
    Tell([&](LauncherObserver& observer) { observer.ModeStepTaken(step); });
}

void Launcher::BeginOptionsDialog() {
    optionsDialogOpen_ = true;
    editMode_ = EditState::Options;
    Tell([&](LauncherObserver& observer) { observer.OptionsDialogShown(true); });
}

void Launcher::EndOptionsDialog() {
    // OK and Cancel end it as the dialog closes, and the menu once the dialog has gone.
    if (!std::exchange(optionsDialogOpen_, false)) return;
    editMode_ = EditState::None;
    Tell([&](LauncherObserver& observer) { observer.OptionsDialogShown(false); });
}

void Launcher::SaveButtons(std::initializer_list<int> numbers) {
    ProfileFile file = SettingsFile();
    file.WriteAsOneChange([&] {
        for (int n : numbers)
            WriteButtonRecord(file, n, records_.at(static_cast<std::size_t>(n)));
    });
}

void Launcher::SaveOptions() {
    // Section "eye" without the mascot's place.
    ProfileFile file = SettingsFile();
    file.WriteAsOneChange([&] { WriteEyeOptions(file, options_); });
}

void Launcher::SaveAll(ProfileFile& file, const WindowPlaces& places) {
    file.WriteAsOneChange([&] {
        WriteWindowsAndOptions(file, places);
        for (int n = 1; n <= kButtonCount; ++n)
            WriteButtonRecord(file, n, records_[n]);
    });
}

void Launcher::WriteWindowsAndOptions(ProfileFile& file, const WindowPlaces& places) const {
    file.WriteInteger(kEyeSection, L"Top", places.mascotTop);
    file.WriteInteger(kEyeSection, L"Left", places.mascotLeft);
    WriteEyeOptions(file, options_);
    WritePanelBounds(file, places.panel);
}
