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

// Art drawn at 100 %, 150 % and 200 %: resource `resourceId` holds pictures `width` pixels wide at 96 DPI,
// resourceId + kArtStep150 and + kArtStep200 the same at 1.5 and 2 times the size.
inline constexpr int kArtStep150 = 100, kArtStep200 = 200;
struct ArtStrip {
    ImageList images;
    int width = 0;  // of one picture, as loaded (with `scale`)
};
// The drawing nearest to `dpi` (a smaller one when it is missing), each pixel repeated `scale` times.
ArtStrip LoadArtStrip(int resourceId, int width, int dpi, int scale = 1);

}  // namespace fw
