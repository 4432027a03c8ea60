// What is dropped on the mascot: the first dropped item goes to the first free button that no open settings
// dialog edits. The panel makes its record; the mascot shows its surprised face while any drop is read.

#include "mascot/eye1.h"

#include "base/Handles.h"
#include "ui/DropTarget.h"

#include <shellapi.h>

void TpamuF::FilesDropped(HDROP drop) {
    const base::UniqueHdrop owned(drop);
    const std::vector<std::wstring> paths = ui::DroppedPaths(drop);
    // Before the start's last steps there is no panel to take it; with every button taken, nothing
    // happens at all.
    if (panel_ && !paths.empty()) panel_->RegisterDropped(paths.front(), 0);
}

void TpamuF::DropsChanged() {
    ShowDropFace(panel_ && panel_->DropsPending() > 0);
}

void TpamuF::ShowDropFace(bool show) {
    if (show) {
        Shape3.SetTop(Scale(3));
        Shape4.SetTop(Scale(3));
        Shape5.Show();
        Shape6.Show();
    } else {
        Shape6.Hide();
        Shape5.Hide();
    }
    UpdateWindow(Handle());
}
