// The start-up check of the common controls library (version 4.71 or later wanted). The library is
// loaded at run time (and its functions through a delay-load import), so that a system without it
// reaches our message instead of failing in the loader before the program starts.
#pragma once

#include "fw/Interaction.h"

namespace frame {

struct CommonControlsLibrary {
    bool found = false;
    unsigned long version = 0;  // PackVersion(major, minor); 0 when the library does not tell
};

// Version number as one value: major in the high word, minor in the low word.
constexpr unsigned long PackVersion(unsigned major, unsigned minor) { return (major << 16) | (minor & 0xFFFF); }

// Loads and initialises the system's library and reads its version. It stays loaded for the run.
CommonControlsLibrary LoadCommonControls();

// Tells the user what is wrong with the library: missing (an error), or older than 4.71 (a question).
// False: do not start.
bool CheckCommonControls(const CommonControlsLibrary& library, const fw::Interaction& ui);

}  // namespace frame
