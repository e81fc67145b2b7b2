// DIB section creation.
#include "fw/Dib.h"

#include <cstdlib>
#include <string>
#include <utility>

namespace fw {

Dib::Dib(int width, int height, int bitsPerPixel, const fw::Interaction& ui)
    : width_(width), height_(std::abs(height)), bitsPerPixel_(bitsPerPixel) {
    switch (bitsPerPixel) {
    case 1: colourTableSize_ = 2; break;
    case 4: colourTableSize_ = 16; break;
    case 8: colourTableSize_ = 256; break;
    default: colourTableSize_ = 0; break;
    }
    const long long rowBytes = (static_cast<long long>(width) * bitsPerPixel + 7) / 8;
    padding_ = static_cast<int>((rowBytes + 3) / 4 * 4 - rowBytes);
    header_.assign(sizeof(BITMAPINFOHEADER) + sizeof(RGBQUAD) * static_cast<std::size_t>(colourTableSize_), 0);
    auto* info = reinterpret_cast<BITMAPINFOHEADER*>(header_.data());
    info->biSize = sizeof(BITMAPINFOHEADER);
    info->biWidth = width;
    info->biHeight = height;
    info->biPlanes = 1;
    info->biBitCount = static_cast<WORD>(bitsPerPixel);
    info->biCompression = BI_RGB;
    bitmap_ =
        CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(header_.data()), DIB_RGB_COLORS, &bits_, nullptr, 0);
    if (!bitmap_) {
        const DWORD error = GetLastError();
        bits_ = nullptr;
        ui.ShowMessage(nullptr, std::to_string(error), "Dib::Dib failed", MB_OK | MB_ICONERROR);
    }
}

Dib::~Dib() {
    if (bitmap_) DeleteObject(bitmap_);
}

Dib::Dib(Dib&& other) noexcept
    : header_(std::move(other.header_)), bitmap_(std::exchange(other.bitmap_, nullptr)),
      bits_(std::exchange(other.bits_, nullptr)), width_(other.width_), height_(other.height_),
      bitsPerPixel_(other.bitsPerPixel_), padding_(other.padding_), colourTableSize_(other.colourTableSize_) {}

Dib& Dib::operator=(Dib&& other) noexcept {
    if (this != &other) {
        if (bitmap_) DeleteObject(bitmap_);
        header_ = std::move(other.header_);
        bitmap_ = std::exchange(other.bitmap_, nullptr);
        bits_ = std::exchange(other.bits_, nullptr);
        width_ = other.width_;
        height_ = other.height_;
        bitsPerPixel_ = other.bitsPerPixel_;
        padding_ = other.padding_;
        colourTableSize_ = other.colourTableSize_;
    }
    return *this;
}

int Dib::BytesPerRow() const noexcept { return (width_ * bitsPerPixel_ + 7) / 8 + padding_; }

}  // namespace fw
