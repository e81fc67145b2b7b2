#include "fw/Rect.h"

#include <gtest/gtest.h>

namespace {

using fw::Oversize;
using fw::Rect;

TEST(Rect, AWindowIsPulledIntoTheWorkAreaTheLeastDistance) {
    const Rect area{0, 0, 1280, 994};
    const Rect left{-1920, -200, 0, 880};  // a monitor left of the primary one, higher up
    struct Case {
        const char* what;
        Rect rect, area, kept, shrunk;  // the result for Oversize::KeepSize, and for Oversize::Shrink
    };
    const Case cases[] = {
        {"inside", {100, 100, 700, 500}, area, {100, 100, 700, 500}, {100, 100, 700, 500}},
        {"off to the lower right", {3000, 2000, 3600, 2400}, area, {680, 594, 1280, 994}, {680, 594, 1280, 994}},
        {"off to the upper left", {-900, -700, -300, -300}, area, {0, 0, 600, 400}, {0, 0, 600, 400}},
        {"partly off two edges", {1000, -50, 1600, 350}, area, {680, 0, 1280, 400}, {680, 0, 1280, 400}},
        {"on the edge", {680, 594, 1280, 994}, area, {680, 594, 1280, 994}, {680, 594, 1280, 994}},
        {"as large as the area", {5, 5, 1285, 999}, area, area, area},
        {"wider than the area", {-100, 100, 1400, 300}, area, {0, 100, 1500, 300}, {0, 100, 1280, 300}},
        {"taller than the area", {200, 900, 700, 2100}, area, {200, 0, 700, 1200}, {200, 0, 700, 994}},
        {"larger both ways", {-10, 0, 2000, 1200}, area, {0, 0, 2010, 1200}, area},
        {"into an area at negative coordinates", {100, 50, 500, 350}, left, {-400, 50, 0, 350}, {-400, 50, 0, 350}},
        {"already on another monitor's area",
         {1500, 10, 1700, 110},
         {1280, 0, 2560, 1024},
         {1500, 10, 1700, 110},
         {1500, 10, 1700, 110}},
        {"the area is not known", {3000, 2000, 3600, 2400}, {}, {3000, 2000, 3600, 2400}, {3000, 2000, 3600, 2400}},
        {"the area is inverted",
         {3000, 2000, 3600, 2400},
         {10, 10, 5, 50},
         {3000, 2000, 3600, 2400},
         {3000, 2000, 3600, 2400}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fw::PullIntoArea(c.rect, c.area, Oversize::KeepSize), c.kept) << c.what;
        EXPECT_EQ(fw::PullIntoArea(c.rect, c.area, Oversize::Shrink), c.shrunk) << c.what;
    }
}

}  // namespace
