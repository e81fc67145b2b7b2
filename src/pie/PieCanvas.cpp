// Back buffer management and the GDI rendering entry points.
#include "pie/PieCanvas.h"

#include <stdexcept>

#include "fw/DpiScale.h"
#include "pie/GdiPainter.h"

namespace pie {
namespace {

std::uint64_t CounterNow() {
    LARGE_INTEGER now;
    return QueryPerformanceCounter(&now) ? static_cast<std::uint64_t>(now.QuadPart) : 0;
}

}  // namespace

Clock PerformanceClock() {
    static const std::uint64_t frequency = [] {
        LARGE_INTEGER f;
        return QueryPerformanceFrequency(&f) ? static_cast<std::uint64_t>(f.QuadPart) : 0;
    }();
    return {frequency ? &CounterNow : nullptr, frequency};
}

PieCanvas::PieCanvas() : renderer_(PerformanceClock()) {
    SetDpi(fw::kBaseDpi);
    CreateBuffer(1, 1);
}

void PieCanvas::SetDpi(int dpi) {
    labelFont_.Reset(CreateFontA(fw::ScaleFrom96(30, dpi), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                                 "Times New Roman"));
}

PieCanvas::~PieCanvas() { ReleaseBuffer(); }

void PieCanvas::CreateBuffer(int width, int height) {
    fw::ClientDC screen(nullptr);
    dc_.Reset(CreateCompatibleDC(screen.Get()));
    if (!dc_) throw std::runtime_error("PieCanvas: CreateCompatibleDC failed");
    Resize(width, height);
}

void PieCanvas::ReleaseBuffer() noexcept {
    if (dc_ && originalBitmap_) SelectObject(dc_.Get(), originalBitmap_);
    originalBitmap_ = nullptr;
    bitmap_.Reset();
    dc_.Reset();
}

void PieCanvas::Resize(int width, int height) {
    const int w = width > 0 ? width : 1, h = height > 0 ? height : 1;
    fw::ClientDC screen(nullptr);
    fw::Bitmap bitmap(CreateCompatibleBitmap(screen.Get(), w, h));
    if (!bitmap) throw std::runtime_error("PieCanvas: CreateCompatibleBitmap failed");
    HGDIOBJ previous = SelectObject(dc_.Get(), bitmap.Get());
    if (!originalBitmap_) originalBitmap_ = previous;
    bitmap_ = std::move(bitmap);  // deletes the old one, no longer selected
    width_ = width > 0 ? width : 0;
    height_ = height > 0 ? height : 0;
}

void PieCanvas::RecreateForDisplay(int width, int height) {
    ReleaseBuffer();
    CreateBuffer(width, height);
}

void PieCanvas::Rebuild(const model::DirInfo* current, PieHost& host) {
    RenderInto(dc_.Get(), width_, height_, current, host);
}

void PieCanvas::RenderInto(HDC dc, int width, int height, const model::DirInfo* current, PieHost& host) {
    GdiPainter painter(dc, labelFont_.Get());
    renderer_.Rebuild(current, width, height, host, painter);
}

}  // namespace pie
