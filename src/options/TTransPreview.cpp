#include "options/TTransPreview.h"

#include "fw/Handles.h"
#include "options/TransWash.h"
#include "pie/TipCompose.h"

#include <algorithm>
#include <cstring>

namespace options {
namespace {
constexpr int kTipInset = 5;

std::uint8_t* BitsOf(const fw::Dib& dib) { return static_cast<std::uint8_t*>(dib.Bits()); }
}  // namespace

TTransPreview::TTransPreview(fw::TWindow* parent, const RECT& rect, int transparency)
    : TWindow(parent), transparency_(std::clamp(transparency, pie::kSolidTip, pie::kInvisibleTip)) {
    Attr().style = WS_CHILD | WS_VISIBLE;
    Attr().exStyle = WS_EX_CLIENTEDGE;
    Attr().x = rect.left;
    Attr().y = rect.top;
    Attr().width = rect.right - rect.left;
    Attr().height = rect.bottom - rect.top;
}

void TTransPreview::FillWindowClass(WNDCLASSEXA& wc) const {
    fw::TWindow::FillWindowClass(wc);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
}

void TTransPreview::SetupWindow() {
    MakeImages();
    Blend();
}

void TTransPreview::MakeImages() {
    RECT client{};
    GetClientRect(GetHandle(), &client);
    width_ = client.right;
    height_ = client.bottom;
    background_.reset();
    foreground_.reset();
    result_.reset();
    if (width_ <= 0 || height_ <= 0) return;
    background_.emplace(width_, -height_, 24);
    foreground_.emplace(width_, -height_, 24);
    result_.emplace(width_, -height_, 24);
    if (!*background_ || !*foreground_ || !*result_) {
        background_.reset();
        foreground_.reset();
        result_.reset();
        return;
    }
    const std::size_t stride = static_cast<std::size_t>(background_->BytesPerRow());
    FillWash(BitsOf(*background_), width_, height_, stride);
    std::memcpy(BitsOf(*foreground_), BitsOf(*background_), stride * static_cast<std::size_t>(height_));

    // The tip: the tooltip colour outlined in black, 5 pixels in from every edge.
    if (width_ <= 2 * kTipInset || height_ <= 2 * kTipInset) return;
    fw::ClientDC screen(nullptr);
    fw::MemoryDC dc(CreateCompatibleDC(screen.Get()));
    fw::SelectGuard bitmap(dc.Get(), foreground_->Handle());
    fw::SelectGuard brush(dc.Get(), GetSysColorBrush(COLOR_INFOBK));
    fw::SelectGuard pen(dc.Get(), GetStockObject(BLACK_PEN));
    Rectangle(dc.Get(), kTipInset, kTipInset, width_ - kTipInset, height_ - kTipInset);
    GdiFlush();
}

void TTransPreview::Blend() {
    if (!result_) return;
    const std::size_t stride = static_cast<std::size_t>(result_->BytesPerRow());
    std::memcpy(BitsOf(*result_), BitsOf(*background_), stride * static_cast<std::size_t>(height_));
    pie::BlendTip(BitsOf(*result_), BitsOf(*foreground_), width_, height_, stride, transparency_);
}

void TTransPreview::SetTransparency(int transparency) {
    transparency_ = std::clamp(transparency, pie::kSolidTip, pie::kInvisibleTip);
    Blend();
    if (GetHandle()) {
        InvalidateRect(GetHandle(), nullptr, FALSE);
        UpdateWindow(GetHandle());
    }
}

void TTransPreview::Paint(HDC dc) const {
    if (!result_) return;
    fw::MemoryDC memory(CreateCompatibleDC(dc));
    fw::SelectGuard bitmap(memory.Get(), result_->Handle());
    BitBlt(dc, 0, 0, width_, height_, memory.Get(), 0, 0, SRCCOPY);
}

LRESULT TTransPreview::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_PAINT) {
        fw::PaintDC dc(GetHandle());
        Paint(dc.Get());
        return 0;
    }
    if (msg == WM_PRINTCLIENT) {
        Paint(reinterpret_cast<HDC>(wParam));
        return 0;
    }
    return TWindow::HandleMessage(msg, wParam, lParam);
}

}  // namespace options
