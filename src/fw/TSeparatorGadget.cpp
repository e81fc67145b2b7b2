#include "fw/TSeparatorGadget.h"

namespace fw {

void TSeparatorGadget::Paint(HDC dc) const {
    if (!line_) return;
    RECT line = Bounds();
    line.left = (line.left + line.right) / 2 - 1;
    line.right = line.left + 2;
    DrawEdge(dc, &line, EDGE_ETCHED, BF_LEFT);
}

}  // namespace fw
