#pragma once
// An image list of icons; the list copies each icon, the caller keeps its own.
// https://learn.microsoft.com/windows/win32/controls/image-lists

#include "base/Handles.h"

#include <span>

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
    // Appends the icons in one go and returns the first one's index, or -1 (nothing added). The list's
    // own add draws and copies each icon through several temporary bitmaps; drawing them all into one
    // strip is many times faster for a panel full of buttons. A null icon gives a blank image.
    int AddIcons(std::span<const HICON> icons);
    // A null icon makes the image blank.
    bool ReplaceIcon(int index, HICON icon);
    // A copy of one image as an icon (for tests and previews).
    base::UniqueHicon GetIcon(int index) const;

private:
    void EnsureCreated();
    base::UniqueHimagelist list_;
    int width_ = 16;
    int height_ = 16;
};

} // namespace ui
