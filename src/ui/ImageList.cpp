#include "ui/ImageList.h"

#include "ui/AlphaRecovery.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

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

namespace {

// A top-down 32-bit DIB section selected into its own memory DC, filled with one byte value.
class Strip {
public:
    Strip(int width, int height, std::uint8_t fill) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        bitmap_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        dc_ = CreateCompatibleDC(nullptr);
        if (!bitmap_ || !dc_) return;
        pixels_ = static_cast<std::uint32_t*>(bits);
        std::memset(pixels_, fill, static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
        old_ = SelectObject(dc_, bitmap_.get());
    }
    ~Strip() {
        if (old_) SelectObject(dc_, old_);
        if (dc_) DeleteDC(dc_);
    }
    Strip(const Strip&) = delete;
    Strip& operator=(const Strip&) = delete;

    bool Valid() const { return pixels_ != nullptr; }
    HDC Dc() const { return dc_; }
    // Valid once GDI's drawing is flushed.
    std::uint32_t* Pixels() const { return pixels_; }
    // Deselects the bitmap, so that it can be handed to another DC.
    HBITMAP Deselect() {
        if (old_) SelectObject(dc_, old_);
        old_ = nullptr;
        return bitmap_.get();
    }

private:
    UniqueHbitmap bitmap_;
    HDC dc_ = nullptr;
    HGDIOBJ old_ = nullptr;
    std::uint32_t* pixels_ = nullptr;
};

} // namespace

int ImageList::AddIcons(std::span<const HICON> icons) {
    EnsureCreated();
    if (icons.empty() || width_ <= 0 || height_ <= 0) return -1;
    const int stripWidth = width_ * static_cast<int>(icons.size());
    // Each icon drawn as the list would draw it, over black and over white: the two give back its colours
    // and opacity whatever the icon's format (mask only, or with its own alpha channel) and size.
    Strip onBlack(stripWidth, height_, 0x00), onWhite(stripWidth, height_, 0xFF),
        image(stripWidth, height_, 0);
    if (!onBlack.Valid() || !onWhite.Valid() || !image.Valid()) return -1;
    for (std::size_t i = 0; i < icons.size(); ++i) {
        const int x = width_ * static_cast<int>(i);
        DrawIconEx(onBlack.Dc(), x, 0, icons[i], width_, height_, 0, nullptr, DI_NORMAL);
        DrawIconEx(onWhite.Dc(), x, 0, icons[i], width_, height_, 0, nullptr, DI_NORMAL);
    }
    GdiFlush();
    const std::size_t count = static_cast<std::size_t>(stripWidth) * static_cast<std::size_t>(height_);
    std::unique_ptr<bool[]> transparent(new bool[count]);
    RecoverAlpha(onBlack.Pixels(), onWhite.Pixels(), count, image.Pixels(), transparent.get());
    // The mask: one bit a pixel, rows padded to 16 bits, set where the image is transparent.
    const std::size_t rowBytes = static_cast<std::size_t>((stripWidth + 15) / 16 * 2);
    std::vector<std::uint8_t> maskBits(rowBytes * static_cast<std::size_t>(height_), 0);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < stripWidth; ++x)
            if (transparent[static_cast<std::size_t>(y) * static_cast<std::size_t>(stripWidth) +
                            static_cast<std::size_t>(x)])
                maskBits[static_cast<std::size_t>(y) * rowBytes + static_cast<std::size_t>(x / 8)] |=
                    static_cast<std::uint8_t>(0x80 >> (x % 8));
    UniqueHbitmap mask(CreateBitmap(stripWidth, height_, 1, 1, maskBits.data()));
    if (!mask) return -1;
    // The list copies both bitmaps.
    return ImageList_Add(list_.get(), image.Deselect(), mask.get());
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
