// Tip measuring, drawing and off-screen composition.
#include "pie/TipBackBuffer.h"

#include "fw/Utf8.h"

#include <algorithm>

namespace pie {

TipSize GdiTextMeasure::LineSize(TipFont font, std::string_view line) {
    fw::SelectGuard fontGuard(dc_, font == TipFont::kName ? fonts_.name : fonts_.info);
    SIZE size{};
    if (line.empty()) {
        TEXTMETRICA metrics{};
        GetTextMetricsA(dc_, &metrics);
        return {0, metrics.tmHeight};
    }
    // Measured and drawn through the wide functions: the narrow ones read the font's code page, not UTF-8.
    const std::wstring wide = fw::Utf8ToWide(line);
    GetTextExtentPoint32W(dc_, wide.c_str(), static_cast<int>(wide.size()), &size);
    return {size.cx, size.cy};
}

template <class T>
bool DrawTip(HDC dc, const TipParser<T>& parser, int x, int y, TipFonts fonts) {
    const TipSize size = parser.Size();
    {
        fw::SelectGuard pen(dc, GetStockObject(BLACK_PEN));
        fw::SelectGuard brush(dc, GetStockObject(DC_BRUSH));
        const COLORREF oldBrush = SetDCBrushColor(dc, GetSysColor(COLOR_INFOBK));
        Rectangle(dc, x, y, x + size.width, y + size.height);
        SetDCBrushColor(dc, oldBrush);
    }
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
    if (parser.ShowName()) {
        fw::SelectGuard font(dc, fonts.name);
        const std::wstring name = fw::Utf8ToWide(parser.Name());
        TextOutW(dc, x + 2, y + 2, name.c_str(), static_cast<int>(name.size()));
    }
    if (parser.ShowInfo()) {
        fw::SelectGuard font(dc, fonts.info);
        const int top = y + 2 + (parser.ShowName() ? parser.NameSize().height : 0);
        RECT clip{};
        GetClipBox(dc, &clip);
        const std::vector<int>& tops = parser.LineTops();
        const std::vector<std::string_view> lines = SplitTipLines(parser.Info());
        // The first line that ends below the clip box's top, up to the first that starts below its bottom.
        const auto first = std::upper_bound(tops.begin() + 1, tops.end(), static_cast<int>(clip.top) - top);
        for (auto it = first; it != tops.end() && top + *(it - 1) < clip.bottom; ++it) {
            const auto index = static_cast<std::size_t>(it - tops.begin() - 1);
            if (index >= lines.size()) break;
            const std::wstring line = fw::Utf8ToWide(lines[index]);
            TextOutW(dc, x + 2, top + *(it - 1), line.c_str(), static_cast<int>(line.size()));
        }
    }
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
    return true;
}

template bool DrawTip(HDC, const TipParser<model::DirInfo>&, int, int, TipFonts);
template bool DrawTip(HDC, const TipParser<model::FileInfo>&, int, int, TipFonts);

bool TipSurfaces::Ensure(int width, int height) {
    if (tip_ && pie_ && *tip_ && *pie_ && width <= width_ && height <= height_) return true;
    width_ = std::max(width, width_);
    height_ = std::max(height, height_);
    tip_.emplace(width_, -height_, 24);
    pie_.emplace(width_, -height_, 24);
    if (*tip_ && *pie_) return true;
    tip_.reset();
    pie_.reset();
    width_ = height_ = 0;
    return false;
}

TipBackBuffer::TipBackBuffer(int transparency, HDC source, const fw::Rect& area, TipSurfaces& surfaces)
    : transparency_(transparency), source_(source), rect_(area), dc_(CreateCompatibleDC(source)), surfaces_(surfaces) {
    if (!dc_ || rect_.IsEmpty()) return;
    const int w = rect_.Width(), h = rect_.Height();
    HBITMAP target = nullptr;
    if (transparency_ == 0) {
        bitmap_.Reset(CreateCompatibleBitmap(source, w, h));
        target = bitmap_.Get();
    } else if (surfaces_.Ensure(w, h)) {
        target = surfaces_.TipImage().Handle();
    }
    if (!target) return;
    original_ = SelectObject(dc_.Get(), target);
    BitBlt(dc_.Get(), 0, 0, w, h, source_, rect_.left, rect_.top, SRCCOPY);
    ready_ = true;
}

TipBackBuffer::~TipBackBuffer() {
    if (original_) SelectObject(dc_.Get(), original_);
}

void TipBackBuffer::Blend() {
    if (!ready_ || transparency_ == 0) return;
    const int w = rect_.Width(), h = rect_.Height();
    fw::Dib& pie = surfaces_.PieImage();
    SelectObject(dc_.Get(), pie.Handle());
    BitBlt(dc_.Get(), 0, 0, w, h, source_, rect_.left, rect_.top, SRCCOPY);
    GdiFlush();
    // Both DIBs are top-down and equally wide: the area is the top-left part of each.
    BlendTip(static_cast<std::uint8_t*>(pie.Bits()), static_cast<const std::uint8_t*>(surfaces_.TipImage().Bits()), w,
             h, static_cast<std::size_t>(pie.BytesPerRow()), transparency_);
}

void TipBackBuffer::CopyTo(HDC target) const {
    if (!ready_) return;
    GdiFlush();
    BitBlt(target, rect_.left, rect_.top, rect_.Width(), rect_.Height(), dc_.Get(), 0, 0, SRCCOPY);
}

}  // namespace pie
