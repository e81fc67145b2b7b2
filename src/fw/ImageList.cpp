#include "fw/ImageList.h"

#include "fw/DpiScale.h"

namespace fw {

ImageList LoadMaskedStrip(int resourceId, int width, int scale) {
    if (width <= 0 || scale <= 0) return {};
    Bitmap strip(static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resourceId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (!strip) return {};
    BITMAP info{};
    GetObjectA(strip.Get(), sizeof info, &info);
    const int stripWidth = info.bmWidth * scale, height = info.bmHeight * scale;
    if (scale != 1) {
        ClientDC screen(nullptr);
        MemoryDC from(CreateCompatibleDC(screen.Get())), to(CreateCompatibleDC(screen.Get()));
        Bitmap large(CreateCompatibleBitmap(screen.Get(), stripWidth, height));
        if (!from || !to || !large) return {};
        {
            SelectGuard source(from.Get(), strip.Get());
            SelectGuard target(to.Get(), large.Get());
            SetStretchBltMode(to.Get(), COLORONCOLOR);  // whole pixels: the art stays crisp
            StretchBlt(to.Get(), 0, 0, stripWidth, height, from.Get(), 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
        }
        strip = std::move(large);
    }
    const int count = stripWidth / (width * scale);
    ImageList list(ImageList_Create(width * scale, height, ILC_COLOR24 | ILC_MASK, count, 0));
    if (!list || ImageList_AddMasked(list.Get(), strip.Get(), kMaskColour) < 0) return {};
    return list;
}

ArtStrip LoadArtStrip(int resourceId, int width, int dpi, int scale) {
    static constexpr int kPercents[] = {100, 150, 200};
    static constexpr int kSteps[] = {0, kArtStep150, kArtStep200};
    for (int index = NearestArtScale(dpi, kPercents, 3); index >= 0; --index) {
        const int drawn = width * kPercents[index] / 100;
        if (ImageList list = LoadMaskedStrip(resourceId + kSteps[index], drawn, scale))
            return {std::move(list), drawn * scale};
    }
    return {};
}

}  // namespace fw
