// The panel's part in the edit modes and in registering: the button settings dialog, the swap, the
// removal, what is dropped on the mascot or the panel, and a button dragged onto another.

#include "panel/Btn.h"

#include "base/ScopeExit.h"
#include "dialogs/BtnSet.h"
#include "ui/Application.h"

#include <utility>

namespace {

// The caption of a dialog made for a drop or retargeted; the dialog's own show says "の詳細設定".
std::wstring RetargetedCaption(int number) {
    return L"ボタン" + std::to_wstring(number) + L"の設定";
}

} // namespace

void TBtnF1::ShowNewSettingsDialog(int number) {
    // A dialog the drop handler left hidden gives way, so that there is never more than one.
    settings_.Close();
    settings_.Make(launcher_, *this, number).Show();
}

void TBtnF1::PrepareSettingsDialog(int number) {
    if (settings_.Dialog()) return; // an existing one is left as it is
    settings_.Make(launcher_, *this, number).SetCaption(RetargetedCaption(number));
}

void TBtnF1::EditInSettingsDialog(int number) {
    TBtnSetF* dialog = settings_.Dialog();
    if (!dialog) {
        ShowNewSettingsDialog(number);
        return;
    }
    // Retarget: a hidden dialog runs its show handler here, a shown one comes to the front; the caption
    // then says it is another button's.
    dialog->ButtonNo = number;
    dialog->Show();
    dialog->SetCaption(RetargetedCaption(number));
    dialog->FillFromRecord();
    dialog->ComboBox1Change();
}

void TBtnF1::PickForSwap(int number) {
    const int source = launcher_.SwapSource();
    // The first click picks the source, drawn down until the mode ends.
    launcher_.PickButton(number);
    if (source == 0) return;
    SaveThenEndMode([&] { SwapButtons(source, number); }, [&] { launcher_.ChangeMode(SwapCompleted()); });
}

void TBtnF1::RemoveSetting(int number) {
    launcher_.PickButton(number);
    // The hint and picture follow the record before the save, which may fail.
    launcher_.SetButton(number, ButtonRecord{});
    SaveThenEndMode([&] { launcher_.SaveButtons({number}); },
                    [&] { launcher_.ChangeMode(RemovalCompleted()); });
}

void TBtnF1::SaveThenEndMode(const std::function<void()>& save, const std::function<void()>& endMode) {
    // The change is already made in memory, and the next quit saves it: the mode ends whether or not this
    // save worked, and a failure then goes on to the error box.
    // The end may run while the save's failure unwinds: its own failure is told here, not thrown.
    const base::ScopeExit end([&] {
        try {
            endMode();
        } catch (...) {
            ui::Application::HandleCurrentException();
        }
    });
    save();
}

void TBtnF1::SwapButtons(int source, int target) {
    // Both records move, with their hints and pictures, before either is written: a write that fails
    // then loses nothing, and what the panel shows is what the next quit saves.
    launcher_.SwapButtons(source, target);
    // Both sections as one change.
    launcher_.SaveButtons({source, target});
}

int TBtnF1::FreeButtonForDrop() const {
    const TBtnSetF* dialog = settings_.Dialog();
    return launcher_.FirstFreeButton(dialog && dialog->Visible() ? dialog->ButtonNo : 0);
}

bool TBtnF1::RegisterDropped(const std::wstring& path, int target) {
    const int n = target != 0 ? target : FreeButtonForDrop();
    if (n == 0) return false;
    PrepareSettingsDialog(n);
    dropReads_.Run(path, [answers = dropAnswers_.MakeSender(), path, target] {
        DropAnswer answer{target, {}};
        try {
            answer.made = ReadDropped(path);
        } catch (...) {
            // Whatever stopped the reading is told, and the face comes back.
            answer.made = DroppedRecords{};
            answer.made.error = ui::Application::CurrentExceptionMessage();
        }
        answers.Put(std::move(answer));
    });
    ++dropsPending_;
    mascot_.DropsChanged();
    return true;
}

void TBtnF1::DropsRead() {
    std::vector<DropAnswer> answers = dropAnswers_.Take();
    dropsPending_ -= static_cast<int>(answers.size());
    // Each on its own: a drop that cannot be read or saved is told, and the others still register.
    for (const DropAnswer& answer : answers) {
        try {
            Register(answer.target, answer.made);
        } catch (...) {
            ui::Application::HandleCurrentException();
        }
    }
    mascot_.DropsChanged();
}

void TBtnF1::Register(int target, const DroppedRecords& made) {
    if (!made.error.empty()) throw Exception(made.error, made.systemError);
    // The button asked for, if it is free still; or the first free one now: another drop, or the settings
    // dialog, may have taken the one that was.
    const int n = target != 0 && !Records[target].Assigned() ? target : FreeButtonForDrop();
    if (n == 0) throw Exception(L"空いているボタンがありません");
    launcher_.SetButton(n, made.file);
    launcher_.SaveButtons({n});
    if (made.folder) {
        launcher_.SetButton(n, *made.folder);
        launcher_.SaveButtons({n});
    }
}

int TBtnF1::ButtonAtScreen(POINT screen) const {
    ScreenToClient(ToolBar1.Handle(), &screen);
    const int index = ToolBar1.ButtonAt(screen);
    return index < 0 ? 0 : index + 1;
}

DWORD TBtnF1::DropEffectAt(POINT screen) {
    // In an edit mode the buttons are being edited: a drop does nothing, and the pointer says so.
    const int n = launcher_.EditMode() == EditState::None ? ButtonAtScreen(screen) : 0;
    ToolBar1.MarkButton(n - 1);
    if (n == 0) return DROPEFFECT_NONE;
    switch (DropOn(Records[n])) {
    case PanelDrop::Register: return DROPEFFECT_COPY;
    case PanelDrop::OpenWith: return DROPEFFECT_LINK; // the program opens them, where they are
    default: return DROPEFFECT_NONE;
    }
}

void TBtnF1::FilesDroppedAt(POINT screen, const std::vector<std::wstring>& files) {
    ToolBar1.MarkButton(-1);
    const int n = launcher_.EditMode() == EditState::None ? ButtonAtScreen(screen) : 0;
    if (n == 0 || files.empty()) return;
    switch (DropOn(Records[n])) {
    // Only the first of several items, as on the mascot.
    case PanelDrop::Register: RegisterDropped(files.front(), n); break;
    case PanelDrop::OpenWith: Launch(n, files); break; // after its start under way, if one is
    default: break;
    }
}

void TBtnF1::ButtonDragged(int from, int to) {
    if (launcher_.EditMode() != EditState::None || to < 1 || to == from) return;
    SwapButtons(from, to);
}
