// The GDI side of the pie's tips: measuring text in the tip fonts, drawing a formatted tip, and
// TipBackBuffer, the off-screen composition of one tip over the pie image.
//
//   TipBackBuffer buffer(transparency, backBufferDc, area, surfaces);   // copies the pie under `area`
//   DrawTip(buffer.Dc(), parser, originX, originY, fonts);   // the tip, relative to the area
//   buffer.Blend();                                           // when transparent: tip over pie, per byte
//   buffer.CopyTo(windowDc);                                  // one copy to the screen
//
// With transparency 0 the buffer is a plain bitmap compatible with the back buffer; otherwise two 24-bit
// DIBs hold the tip image and the pie image for the blend. The DIBs are kept by the view between tips
// (TipSurfaces), so that a mouse move costs no section to be made and unmapped.
#pragma once

#include <windows.h>

#include <optional>

#include "fw/Dib.h"
#include "fw/Handles.h"
#include "pie/TipCompose.h"
#include "pie/TipParser.h"

namespace pie {

struct TipFonts {
    HFONT name = nullptr;
    HFONT info = nullptr;
};

class GdiTextMeasure : public TextMeasure {
public:
    GdiTextMeasure(HDC dc, TipFonts fonts) noexcept : dc_(dc), fonts_(fonts) {}
    TipSize LineSize(TipFont font, std::string_view line) override;

private:
    HDC dc_;
    TipFonts fonts_;
};

// Draws a formatted tip with its top-left corner at (x, y): the box in the tooltip colours with a black
// outline, the name line and the info lines. Lines outside the DC's clip box are skipped, so a tip of
// any length costs no more than what shows.
template <class T>
bool DrawTip(HDC dc, const TipParser<T>& parser, int x, int y, TipFonts fonts);

// The two DIBs of transparent tips, grown to the largest area composed so far.
class TipSurfaces {
public:
    // False when a DIB could not be made (already reported by Dib).
    bool Ensure(int width, int height);
    fw::Dib& TipImage() noexcept { return *tip_; }
    fw::Dib& PieImage() noexcept { return *pie_; }

private:
    std::optional<fw::Dib> tip_;
    std::optional<fw::Dib> pie_;
    int width_ = 0;
    int height_ = 0;
};

class TipBackBuffer {
public:
    TipBackBuffer(int transparency, HDC source, const fw::Rect& area, TipSurfaces& surfaces);
    ~TipBackBuffer();
    TipBackBuffer(const TipBackBuffer&) = delete;
    TipBackBuffer& operator=(const TipBackBuffer&) = delete;

    // False when a bitmap could not be made (a failed DIB has already been reported).
    explicit operator bool() const noexcept { return ready_; }
    HDC Dc() const noexcept { return dc_.Get(); }
    void Blend();
    void CopyTo(HDC target) const;

private:
    int transparency_;
    HDC source_;
    fw::Rect rect_;
    fw::MemoryDC dc_;
    fw::Bitmap bitmap_;      // opaque tips
    TipSurfaces& surfaces_;  // transparent tips: the tip drawn over the pie, and the pie alone
    HGDIOBJ original_ = nullptr;
    bool ready_ = false;
};

}  // namespace pie
