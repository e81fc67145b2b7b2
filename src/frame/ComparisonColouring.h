// Which colouring method the pie shows around a comparison with an earlier scan: Growth while one is on,
// the method from before once it ends, and never Growth stored on exit when the program chose it itself.
// TDiskView keeps one for the whole run and asks it whenever a comparison starts or ends.
//
//   settings.colourMethod = colouring.Start(settings.colourMethod);   // a comparison began
//   settings.colourMethod = colouring.End(settings.colourMethod);     // it ended (on request, a scan)
//   stored.colourMethod = colouring.ToStore(settings.colourMethod);   // on exit
#pragma once

#include "pie/PieSettings.h"

#include <optional>

namespace frame {

class ComparisonColouring {
public:
    // Growth; the method shown before is remembered unless it was Growth already (chosen by the user, or
    // by a comparison this one replaces, whose remembered method stays).
    pie::ColourMethod Start(pie::ColourMethod current) noexcept;
    // The remembered method when the pie still shows the Growth chosen at the start; a method the user
    // chose meanwhile stays. Nothing is remembered afterwards.
    pie::ColourMethod End(pie::ColourMethod current) noexcept;
    // What the settings store should keep for `current`.
    pie::ColourMethod ToStore(pie::ColourMethod current) const noexcept;

private:
    std::optional<pie::ColourMethod> previous_;
};

}  // namespace frame
