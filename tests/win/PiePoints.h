// Where a test points the mouse on a rendered pie: the middle of a segment named by its path relative to the
// current folder ("" the centre), read from the rings the renderer recorded.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "pie/PieRenderer.h"

namespace test_support {

inline POINT SegmentMiddle(const pie::PieRenderer& renderer, const std::string& relative) {
    if (relative.empty()) return {renderer.CentreX(), renderer.CentreY() + 5};
    const auto& areas = renderer.Areas();
    for (int k = 0; k < areas.RingCount(); ++k)
        for (std::size_t i = 0; i < areas.Ring(k).size(); ++i)
            if (areas.PathOf(k, i) == relative) {
                const auto& s = areas.Ring(k)[i];
                const double angle = (s.start + s.end) / 2;
                // Files fill the outer two thirds of their ring.
                const double radius = (areas.Radii()[k] + 2.0 * areas.Radii()[k + 1]) / 3;
                return {static_cast<int>(renderer.CentreX() + radius * std::cos(angle)),
                        static_cast<int>(renderer.CentreY() + radius * std::sin(angle))};
            }
    ADD_FAILURE() << "no segment " << relative;
    return {0, 0};
}

}  // namespace test_support
