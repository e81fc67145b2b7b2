// The pie's back buffer and its full rendering. The pie window owns one canvas: Resize on WM_SIZE,
// RecreateForDisplay on WM_DISPLAYCHANGE, Rebuild whenever the folder, mode or settings change, and
// BitBlt from Dc() in its paint handler. RenderInto draws into any DC (a Dib in tests and benchmarks).
#pragma once

#include <windows.h>

#include "fw/Handles.h"
#include "model/DirInfo.h"
#include "pie/PieHost.h"
#include "pie/PieRenderer.h"

namespace pie {

// High-resolution performance counter; the frequency is read once per process (0 without a counter).
Clock PerformanceClock();

class PieCanvas {
public:
    PieCanvas();  // a 1 x 1 buffer compatible with the screen
    ~PieCanvas();
    PieCanvas(const PieCanvas&) = delete;
    PieCanvas& operator=(const PieCanvas&) = delete;

    // A new bitmap of the given size replaces the old one in the memory DC (contents undefined until Rebuild).
    void Resize(int width, int height);
    // A new memory DC and bitmap after the display mode changed.
    void RecreateForDisplay(int width, int height);

    void Rebuild(const model::DirInfo* current, PieHost& host);
    void RenderInto(HDC dc, int width, int height, const model::DirInfo* current, PieHost& host);

    HDC Dc() const noexcept { return dc_.Get(); }
    int Width() const noexcept { return width_; }
    int Height() const noexcept { return height_; }
    PieRenderer& Renderer() noexcept { return renderer_; }
    const PieRenderer& Renderer() const noexcept { return renderer_; }
    HFONT LabelFont() const noexcept { return labelFont_.Get(); }
    // The label font for `dpi` (30 pixels at 96 DPI).
    void SetDpi(int dpi);

private:
    void CreateBuffer(int width, int height);
    void ReleaseBuffer() noexcept;

    PieRenderer renderer_;
    fw::Font labelFont_;
    fw::MemoryDC dc_;
    fw::Bitmap bitmap_;
    HGDIOBJ originalBitmap_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace pie
