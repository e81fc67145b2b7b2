// The start-up check of the common controls library (version 4.71 or later wanted).
#pragma once

namespace frame {

// Loads and initialises the library; asks the user when it is older than 4.71. False: do not start.
bool CheckCommonControls();

// Version number as one value: major in the high word, minor in the low word.
constexpr unsigned long PackVersion(unsigned major, unsigned minor) { return (major << 16) | (minor & 0xFFFF); }

}  // namespace frame
