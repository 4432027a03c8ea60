#pragma once
// An image list of icons; the list copies each icon, the caller keeps its own.
// https://learn.microsoft.com/windows/win32/controls/image-lists

#include "ui/Handles.h"

namespace ui {

class ImageList {
public:
    ImageList() = default;

    // Empties the list and gives it a new image size.
    void SetSize(int width, int height);
    int Width() const { return width_; }
    int Height() const { return height_; }
    int Count() const;
    HIMAGELIST Handle() const { return list_.get(); }

    // Returns the new image's index, or -1.
    int AddIcon(HICON icon);
    // Appends a copy of an image already in the list: much cheaper than drawing the same icon again.
    int AddCopy(int sourceIndex);
    bool ReplaceIcon(int index, HICON icon);
    // A copy of one image as an icon (for tests and previews).
    UniqueHicon GetIcon(int index) const;

private:
    void EnsureCreated();
    UniqueHimagelist list_;
    int width_ = 16;
    int height_ = 16;
};

} // namespace ui
