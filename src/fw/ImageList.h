// Image lists as owned handles, and the one way the program makes them: a bitmap resource cut into
// square pictures, magenta (255, 0, 255) transparent, optionally enlarged by pixel doubling.
#pragma once

#include "fw/Handles.h"

#include <commctrl.h>

namespace fw {

struct ImageListTraits {
    using Handle = HIMAGELIST;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ImageList_Destroy(h); }
};
using ImageList = UniqueHandle<ImageListTraits>;

// The transparent colour of the program's bitmaps.
inline constexpr COLORREF kMaskColour = RGB(255, 0, 255);

// Pictures of `width` pixels (the bitmap's height tall) from bitmap resource `resourceId`, each pixel
// repeated `scale` times across and down. Empty when the resource or the list cannot be had.
ImageList LoadMaskedStrip(int resourceId, int width, int scale = 1);

}  // namespace fw
