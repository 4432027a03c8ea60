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

// A top-down 32-bit DIB section with every byte set to fill; pixels receives its bits (null on failure).
base::UniqueHbitmap Strip(int width, int height, std::uint8_t fill, std::uint32_t*& pixels) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    base::UniqueHbitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    pixels = bitmap ? static_cast<std::uint32_t*>(bits) : nullptr;
    if (pixels)
        std::memset(pixels, fill, static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    return bitmap;
}

} // namespace

int ImageList::AddIcons(std::span<const HICON> icons) {
    EnsureCreated();
    if (icons.empty() || width_ <= 0 || height_ <= 0) return -1;
    const int stripWidth = width_ * static_cast<int>(icons.size());
    // Each icon drawn as the list would draw it, over black and over white: the two give back its colours
    // and opacity whatever the icon's format (mask only, or with its own alpha channel) and size.
    std::uint32_t *black = nullptr, *white = nullptr, *pixels = nullptr;
    base::UniqueHbitmap onBlack = Strip(stripWidth, height_, 0x00, black);
    base::UniqueHbitmap onWhite = Strip(stripWidth, height_, 0xFF, white);
    base::UniqueHbitmap image = Strip(stripWidth, height_, 0x00, pixels);
    base::MemoryDc blackDc(nullptr), whiteDc(nullptr);
    if (!black || !white || !pixels || !blackDc.get() || !whiteDc.get()) return -1;
    {
        base::SelectGuard selectBlack(blackDc.get(), onBlack.get()),
            selectWhite(whiteDc.get(), onWhite.get());
        for (std::size_t i = 0; i < icons.size(); ++i) {
            const int x = width_ * static_cast<int>(i);
            DrawIconEx(blackDc.get(), x, 0, icons[i], width_, height_, 0, nullptr, DI_NORMAL);
            DrawIconEx(whiteDc.get(), x, 0, icons[i], width_, height_, 0, nullptr, DI_NORMAL);
        }
        GdiFlush(); // the bits are read directly below
    }
    const std::size_t count = static_cast<std::size_t>(stripWidth) * static_cast<std::size_t>(height_);
    std::unique_ptr<bool[]> transparent(new bool[count]);
    RecoverAlpha(black, white, count, pixels, transparent.get());
    // The mask: one bit a pixel, rows padded to 16 bits, set where the image is transparent.
    const std::size_t rowBytes = static_cast<std::size_t>((stripWidth + 15) / 16 * 2);
    std::vector<std::uint8_t> maskBits(rowBytes * static_cast<std::size_t>(height_), 0);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < stripWidth; ++x)
            if (transparent[static_cast<std::size_t>(y) * static_cast<std::size_t>(stripWidth) +
                            static_cast<std::size_t>(x)])
                maskBits[static_cast<std::size_t>(y) * rowBytes + static_cast<std::size_t>(x / 8)] |=
                    static_cast<std::uint8_t>(0x80 >> (x % 8));
    base::UniqueHbitmap mask(CreateBitmap(stripWidth, height_, 1, 1, maskBits.data()));
    if (!mask) return -1;
    // The list copies both bitmaps.
    return ImageList_Add(list_.get(), image.get(), mask.get());
}

bool ImageList::ReplaceIcon(int index, HICON icon) {
    EnsureCreated();
    if (icon) return ImageList_ReplaceIcon(list_.get(), index, icon) == index;
    // Black colour bits under a mask that is transparent everywhere.
    std::uint32_t* pixels = nullptr;
    base::UniqueHbitmap image = Strip(width_, height_, 0x00, pixels);
    const std::vector<std::uint8_t> maskBits(static_cast<std::size_t>((width_ + 15) / 16 * 2 * height_),
                                             0xFF);
    base::UniqueHbitmap mask(CreateBitmap(width_, height_, 1, 1, maskBits.data()));
    return pixels && mask && ImageList_Replace(list_.get(), index, image.get(), mask.get());
}

base::UniqueHicon ImageList::GetIcon(int index) const {
    if (!list_) return {};
    return base::UniqueHicon(ImageList_GetIcon(list_.get(), index, ILD_NORMAL));
}

} // namespace ui
