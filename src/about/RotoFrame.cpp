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
    DrawRotoRows(picture, source, picture, destination, phase, step, angle, scale);
}

PixelPos RotoSourceInto(int x, int y, const RotoPicture& from, const RotoPicture& to, double angle,
                        double scale) noexcept {
    if (to.width == from.width || to.width <= 0) return RotoSource(x, y, from.width, from.height, angle, scale);
    // One pixel of the frame is from.width / to.width pixels of the picture.
    const double k = scale * from.width / to.width;
    const double c = std::cos(angle) * k, d = std::sin(angle) * k;
    const int dx = x - to.width / 2, dy = y - to.height / 2;
    const int sx = from.width / 2 + static_cast<int>(std::floor(c * dx - d * dy));
    const int sy = from.height / 2 + static_cast<int>(std::floor(d * dx + c * dy));
    return {std::clamp(sx, 0, std::max(from.width - 1, 0)), std::clamp(sy, 0, std::max(from.height - 1, 0))};
}

void DrawRotoRows(const RotoPicture& from, const std::uint8_t* source, const RotoPicture& to, std::uint8_t* destination,
                  int phase, int step, double angle, double scale) noexcept {
    if (step <= 0) return;
    for (int y = phase; y < to.height; y += step) {
        std::uint8_t* row = destination + static_cast<std::ptrdiff_t>(y) * to.rowBytes;
        for (int x = 0; x < to.width; ++x) {
            const PixelPos at = RotoSourceInto(x, y, from, to, angle, scale);
            std::memcpy(row + 2 * x, source + static_cast<std::ptrdiff_t>(at.y) * from.rowBytes + 2 * at.x, 2);
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
