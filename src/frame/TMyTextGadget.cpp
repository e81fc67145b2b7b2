#include "frame/TMyTextGadget.h"

namespace frame {

void TMyTextGadget::SetMarked(bool marked) {
    if (marked == marked_) return;
    marked_ = marked;
    Invalidate();
}

}  // namespace frame
