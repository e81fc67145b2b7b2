#include "frame/ControlBarCommands.h"

namespace frame {

std::optional<unsigned> ModeCommand(int selectedIndex, unsigned firstModeId) {
    if (selectedIndex < 0 || selectedIndex > 2) return std::nullopt;
    return firstModeId + static_cast<unsigned>(selectedIndex);
}

int DriveImageIndex(int driveType) {
    switch (driveType) {
    case 2: return 1;  // removable
    case 3: return 2;  // fixed
    case 4: return 3;  // remote
    case 5: return 4;  // CD-ROM
    case 6: return 5;  // RAM disk
    default: return 0;
    }
}

std::optional<unsigned> PathBoxChoice::ClosedUp(int selectedIndex, unsigned firstDriveId) const {
    if (!pending_ || selectedIndex < 0) return std::nullopt;
    return firstDriveId + static_cast<unsigned>(selectedIndex);
}

}  // namespace frame
