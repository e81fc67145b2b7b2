// The commands the tool bar's two boxes turn into, and the drive pictures of the path box. Pure parts of
// TMyControlBar: the path box posts a drive command only when the user moved its selection while the list
// was open; the mode box posts one command per choice of a mode.
#pragma once

#include <optional>

namespace frame {

// firstId + index for entries 0, 1 and 2; nothing for any other index (-1: no selection).
std::optional<unsigned> ModeCommand(int selectedIndex, unsigned firstModeId);

// The picture of a drive type in the drive image strip: removable 1, fixed 2, remote 3, CD-ROM 4, RAM disk
// 5, anything else 0.
int DriveImageIndex(int driveType);

// The path box between opening its list and closing it.
class PathBoxChoice {
public:
    void DroppedDown() noexcept { pending_ = false; }
    // A selection change or a confirmed selection (CBN_SELCHANGE, CBN_SELENDOK).
    void SelectionMoved() noexcept { pending_ = true; }
    // The list closed with `selectedIndex` selected: the drive command when the selection moved meanwhile.
    std::optional<unsigned> ClosedUp(int selectedIndex, unsigned firstDriveId) const;

private:
    bool pending_ = false;
};

}  // namespace frame
