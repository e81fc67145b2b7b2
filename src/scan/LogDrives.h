// The logical drives that can be scanned, in letter order, with their type and, for fixed drives, the
// volume label; and the display text the path box and the "Root" menu show for each. Built once (on the
// user-interface thread) and never refreshed.
#pragma once

#include "scan/VolumeQueries.h"

#include <string>
#include <vector>

namespace scan {

class LogDrives {
public:
    struct DriveInfo {
        char letter = 0;    // upper case
        int type = 0;       // GetDriveTypeA: 2 removable, 3 fixed, 4 remote, 5 CD-ROM, 6 RAM disk
        std::string label;  // fixed drives only
    };

#ifdef _WIN32
    LogDrives();  // enumerates the system's drives
#endif
    explicit LogDrives(const VolumeQueries& queries);

    int Count() const noexcept { return static_cast<int>(drives_.size()); }
    // Letter case is ignored.
    bool Contains(char letter) const noexcept;
    // Out-of-range indices give "" / 0 / "".
    std::string LetterAt(int index) const;
    int TypeAt(int index) const noexcept;
    std::string DisplayTextAt(int index) const;

    const std::vector<DriveInfo>& Drives() const noexcept { return drives_; }

private:
    bool InRange(int index) const noexcept { return index >= 0 && index < Count(); }

    std::vector<DriveInfo> drives_;
};

// "C: [Fixed] SYSTEM", "E: [CD-ROM]".
std::string DriveDisplayText(const LogDrives::DriveInfo& drive);

}  // namespace scan
