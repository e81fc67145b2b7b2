#include "about/RotoFrame.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

namespace about {

namespace {
constexpr double kTwoPi = 2.0 * std::numbers::pi;
}

PixelPos RotoSource(int x, int y, int width, int height, double angle, double scale) noexcept {
    const int cx = width / 2, cy = height / 2;
    const double c = std::cos(angle) * scale, d = std::sin(angle) * scale;
    const int sx = cx + static_cast<int>(c * (x - cx) - d * (y - cy));
    const int sy = cy + static_cast<int>(d * (x - cx) + c * (y - cy));
    return {std::clamp(sx, 0, std::max(width - 1, 0)), std::clamp(sy, 0, std::max(height - 1, 0))};
}

void DrawRotoRows(const RotoPicture& picture, const std::uint8_t* source, std::uint8_t* destination, int phase,
                  int step, double angle, double scale) noexcept {
    if (step <= 0) return;
    for (int y = phase; y < picture.height; y += step) {
        std::uint8_t* row = destination + static_cast<std::ptrdiff_t>(y) * picture.rowBytes;
        for (int x = 0; x < picture.width; ++x) {
            const PixelPos from = RotoSource(x, y, picture.width, picture.height, angle, scale);
            std::memcpy(row + 2 * x, source + static_cast<std::ptrdiff_t>(from.y) * picture.rowBytes + 2 * from.x, 2);
        }
    }
}

void RotoAnimation::Tick(int random) noexcept {
    const double k = (angle_ >= 0.3 && angle_ <= kTwoPi - 0.3) ? 0.005 : 0.0002;
    angle_ += random * k;
    if (angle_ > kTwoPi) angle_ -= kTwoPi;
}

double RotoAnimation::Scale() const noexcept { return 4.0 - 3.0 * (std::cos(angle_) + 1.0) / 2.0; }

int RotoAnimation::NextPhase() noexcept {
    if (++phase_ >= kRowStep) phase_ = 0;
    return phase_;
}

AngleScale FollowPointer(int px, int py, int bannerWidth) noexcept {
    const double angle = (px == 0 && py == 0) ? 0.0 : std::atan2(py, px);
    const int quarter = bannerWidth / 4;
    const double t = quarter > 0 ? std::hypot(px, py) / quarter : 0.0;
    return {angle, t == 0.0 ? 0.0 : 1.0 / t};
}

}  // namespace about
