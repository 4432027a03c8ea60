// What is dropped on the mascot: the first dropped item goes to the first free button. The panel makes
// its record; the mascot shows its surprised face meanwhile.

#include "mascot/eye1.h"

#include "base/Handles.h"
#include "base/ScopeExit.h"
#include "panel/Btn.h"

#include <shellapi.h>

#include <string>

namespace {

std::wstring DroppedPath(HDROP drop, UINT index) {
    // Asked for its length first, so that a long path is read whole.
    const UINT length = DragQueryFileW(drop, index, nullptr, 0);
    std::wstring path(static_cast<std::size_t>(length) + 1, L'\0');
    const UINT copied = DragQueryFileW(drop, index, path.data(), length + 1);
    path.resize(copied);
    return path;
}

} // namespace

void TpamuF::FilesDropped(HDROP drop) {
    const base::UniqueHdrop owned(drop);
    // Before the start's last steps there is no panel to take it.
    if (!panel_ || launcher_.FirstFreeButton() == 0) return; // every button is taken
    ShowDropFace(true);
    // Back to the tracking face once every drop is read, however this one ends.
    const base::ScopeExit face([this] { ShowDropFace(panel_->DropsPending() > 0); });
    panel_->RegisterDropped(DroppedPath(drop, 0));
}

void TpamuF::DropsRead() {
    ShowDropFace(panel_->DropsPending() > 0);
}

void TpamuF::ShowDropFace(bool show) {
    if (show) {
        Shape3.SetTop(3);
        Shape4.SetTop(3);
        Shape5.Show();
        Shape6.Show();
    } else {
        Shape6.Hide();
        Shape5.Hide();
    }
    UpdateWindow(Handle());
}
