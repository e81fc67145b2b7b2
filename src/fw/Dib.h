// A device-independent bitmap section whose pixels the program reads and writes directly (the pie's tip
// blending, the About banner, the settings preview, tests reading rendered pixels). Construction never
// throws: when the system refuses the section, the error number is shown in a message box (the given
// Interaction's; the system's unless another is given) and the Dib stays empty (no bitmap, no bits).
#pragma once

#include <windows.h>

#include <vector>

#include "fw/Interaction.h"

namespace fw {

class Dib {
public:
    // A negative height makes a top-down bitmap; Height() is always the absolute value.
    Dib(int width, int height, int bitsPerPixel, const fw::Interaction& ui = {});
    ~Dib();
    Dib(Dib&& other) noexcept;
    Dib& operator=(Dib&& other) noexcept;
    Dib(const Dib&) = delete;
    Dib& operator=(const Dib&) = delete;

    explicit operator bool() const noexcept { return bitmap_ != nullptr; }
    HBITMAP Handle() const noexcept { return bitmap_; }
    void* Bits() const noexcept { return bits_; }
    const BITMAPINFO* Info() const noexcept { return reinterpret_cast<const BITMAPINFO*>(header_.data()); }
    int Width() const noexcept { return width_; }
    int Height() const noexcept { return height_; }
    int Padding() const noexcept { return padding_; }  // bytes at the end of each row
    int ColourTableSize() const noexcept { return colourTableSize_; }
    int BytesPerRow() const noexcept;

private:
    std::vector<unsigned char> header_;  // BITMAPINFOHEADER followed by the colour table
    HBITMAP bitmap_ = nullptr;
    void* bits_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    int bitsPerPixel_ = 0;
    int padding_ = 0;
    int colourTableSize_ = 0;
};

}  // namespace fw
