// Tip placement, composition area and blend.
#include "pie/TipCompose.h"

#include "fw/DpiScale.h"

#include <algorithm>

namespace pie {

fw::Rect PlaceTip(int cursorX, int cursorY, TipSize size, int clientWidth, int clientHeight, int dpi) noexcept {
    // Below the pointer clear of its picture, or above it (lengths at 96 DPI).
    const int below = fw::ScaleFrom96(32, dpi), above = fw::ScaleFrom96(16, dpi);
    fw::Rect r;
    r.left = cursorX - size.width / 2;
    r.top = cursorY + below;
    r.right = r.left + size.width;
    r.bottom = r.top + size.height;
    if (clientHeight < r.bottom) {
        r.top = cursorY - size.height - above;
        r.bottom = cursorY - above;
    }
    if (r.left < 0) {
        r.right -= r.left;
        r.left = 0;
    } else if (r.right > clientWidth && clientWidth >= size.width) {
        const int shift = r.right - clientWidth;
        r.left -= shift;
        r.right -= shift;
    }
    return r;
}

TipComposition ComposeTip(const fw::Rect& previous, const fw::Rect& next) noexcept {
    TipComposition c;
    const bool overlap = !previous.IsZero() && previous.left < next.right && next.left < previous.right &&
                         previous.top < next.bottom && next.top < previous.bottom;
    if (!overlap) {
        c.area = next;
        return c;
    }
    c.area = {std::min(previous.left, next.left), std::min(previous.top, next.top),
              std::max(previous.right, next.right), std::max(previous.bottom, next.bottom)};
    c.originX = next.left - c.area.left;
    c.originY = next.top - c.area.top;
    c.previousCovered = true;
    return c;
}

fw::Rect ClipToClient(const fw::Rect& area, int width, int height) noexcept {
    fw::Rect r{std::max(area.left, 0), std::max(area.top, 0), std::min(area.right, width),
               std::min(area.bottom, height)};
    if (r.IsEmpty()) return {};
    return r;
}

void BlendTip(std::uint8_t* pie, const std::uint8_t* tip, int width, int height, std::size_t stride,
              int transparency) noexcept {
    const int t = std::clamp(transparency, kSolidTip, kInvisibleTip);
    struct Memo {
        int p = -1, q = -1, result = 0;
    } memo[3];
    for (int y = 0; y < height; ++y) {
        std::uint8_t* out = pie + static_cast<std::size_t>(y) * stride;
        const std::uint8_t* in = tip + static_cast<std::size_t>(y) * stride;
        for (int x = 0; x < width; ++x, out += 3, in += 3) {
            for (int c = 0; c < 3; ++c) {
                const int p = out[c], q = in[c];
                if (p == q) continue;
                Memo& m = memo[c];
                if (p != m.p || q != m.q) m = {p, q, (t * p + (255 - t) * q) / 255};
                out[c] = static_cast<std::uint8_t>(m.result);
            }
        }
    }
}

}  // namespace pie
