#include "frame/ComparisonColouring.h"

namespace frame {

pie::ColourMethod ComparisonColouring::Start(pie::ColourMethod current) noexcept {
    if (current != pie::kGrowth) previous_ = current;
    return pie::kGrowth;
}

pie::ColourMethod ComparisonColouring::End(pie::ColourMethod current) noexcept {
    const std::optional<pie::ColourMethod> previous = previous_;
    previous_.reset();
    return previous && current == pie::kGrowth ? *previous : current;
}

pie::ColourMethod ComparisonColouring::ToStore(pie::ColourMethod current) const noexcept {
    return previous_ && current == pie::kGrowth ? *previous_ : current;
}

}  // namespace frame
