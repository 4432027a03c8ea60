#include "ui/ImageList.h"

namespace ui {

void ImageList::SetSize(int width, int height) {
    width_ = width;
    height_ = height;
    list_.reset();
    EnsureCreated();
}

void ImageList::EnsureCreated() {
    if (!list_) list_.reset(ImageList_Create(width_, height_, ILC_COLOR32 | ILC_MASK, 30, 8));
}

int ImageList::Count() const {
    return list_ ? ImageList_GetImageCount(list_.get()) : 0;
}

int ImageList::AddIcon(HICON icon) {
    EnsureCreated();
    return ImageList_AddIcon(list_.get(), icon);
}

int ImageList::AddCopy(int sourceIndex) {
    const int index = Count();
    if (sourceIndex < 0 || sourceIndex >= index) return -1;
    if (!ImageList_SetImageCount(list_.get(), static_cast<UINT>(index + 1))) return -1;
    // ILCF_MOVE copies the image (ILCF_SWAP would exchange the two).
    if (!ImageList_Copy(list_.get(), index, list_.get(), sourceIndex, ILCF_MOVE)) return -1;
    return index;
}

bool ImageList::ReplaceIcon(int index, HICON icon) {
    EnsureCreated();
    return ImageList_ReplaceIcon(list_.get(), index, icon) == index;
}

UniqueHicon ImageList::GetIcon(int index) const {
    if (!list_) return {};
    return UniqueHicon(ImageList_GetIcon(list_.get(), index, ILD_NORMAL));
}

} // namespace ui
