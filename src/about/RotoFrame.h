// The arithmetic of the About box's banner animation (TRotoWnd), apart from any window: which source pixel
// each destination pixel of a turned and zoomed frame shows, the drawing of a quarter of the rows per
// frame, the idle animation's angle and scale, and the angle and scale that follow the pointer.
//
// Pictures are 16-bit pixels in rows of `rowBytes` bytes, stored as bitmaps store them (bottom-up), so a
// growing angle turns the picture clockwise on the screen.
#pragma once

#include <cstdint>

namespace about {

struct PixelPos {
    int x = 0, y = 0;
    friend bool operator==(const PixelPos&, const PixelPos&) = default;
};

// Source of destination pixel (x, y) in a width x height picture turned by `angle` (radians) about its
// centre and sampled with `scale` (1 natural size, larger shrinks, smaller magnifies); clamped into the
// picture.
PixelPos RotoSource(int x, int y, int width, int height, double angle, double scale) noexcept;

struct RotoPicture {
    int width = 0, height = 0, rowBytes = 0;
};

// Draws the rows y with y % step == phase of `destination` from `source`.
void DrawRotoRows(const RotoPicture& picture, const std::uint8_t* source, std::uint8_t* destination, int phase,
                  int step, double angle, double scale) noexcept;

// Source of destination pixel (x, y) when the frame `to` is larger (or smaller) than the picture `from`:
// the frame shows the whole picture at its own size, turned and sampled as RotoSource does. With equal
// sizes the same as RotoSource.
PixelPos RotoSourceInto(int x, int y, const RotoPicture& from, const RotoPicture& to, double angle,
                        double scale) noexcept;

// DrawRotoRows into a frame of another size: the banner drawn for a display of a higher DPI.
void DrawRotoRows(const RotoPicture& from, const std::uint8_t* source, const RotoPicture& to, std::uint8_t* destination,
                  int phase, int step, double angle, double scale) noexcept;

// The idle animation: rests almost still near angle 0, then now and then makes one quick turn.
class RotoAnimation {
public:
    static constexpr int kRowStep = 4;

    double Angle() const noexcept { return angle_; }
    // Advances the angle by `random` (0..99) steps, wrapping past a full turn.
    void Tick(int random) noexcept;
    // 1 at angle 0, 4 at angle pi.
    double Scale() const noexcept;
    // The row phase of the next frame: 0, 1, 2, 3, 0, ... (the first frame draws phase 0).
    int NextPhase() noexcept;

private:
    double angle_ = 0.0;
    int phase_ = kRowStep - 1;
};

struct AngleScale {
    double angle = 0.0, scale = 0.0;
};

// The pointer at (px, py) from the client centre: the picture's right-hand side turns to face it, at its
// natural size when the pointer is a quarter of the banner's width away.
AngleScale FollowPointer(int px, int py, int bannerWidth) noexcept;

}  // namespace about
