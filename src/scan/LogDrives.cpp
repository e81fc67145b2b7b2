// Drive enumeration and display texts over VolumeQueries.
#include "scan/LogDrives.h"

#include <cctype>

namespace scan {

namespace {
constexpr int kRemovable = 2, kFixed = 3, kRemote = 4, kCdRom = 5, kRamDisk = 6;

const char* TypeSuffix(int type) noexcept {
    switch (type) {
    case kRemovable: return " [Removable]";
    case kFixed: return " [Fixed]";
    case kRemote: return " [Remote]";
    case kCdRom: return " [CD-ROM]";
    case kRamDisk: return " [RAM Disk]";
    default: return "";
    }
}
}  // namespace

LogDrives::LogDrives(const VolumeQueries& queries) {
    const std::uint32_t mask = queries.LogicalDrives();
    static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    for (int bit = 0; bit < 26; ++bit) {
        if (!(mask & (std::uint32_t{1} << bit))) continue;
        DriveInfo drive;
        drive.letter = kLetters[bit];
        const std::string root{drive.letter, ':', '\\'};
        drive.type = static_cast<int>(queries.DriveType(root));
        switch (drive.type) {
        case kFixed:
            // Only fixed volumes are asked for a label: the others may spin up media or wait on a network.
            if (!queries.VolumeLabel(root, drive.label)) drive.label.clear();
            break;
        case kRemovable:
        case kRemote:
        case kCdRom:
        case kRamDisk: break;
        default:  // 0 unknown, 1 no root folder, or anything unexpected
            continue;
        }
        drives_.push_back(std::move(drive));
    }
}

bool LogDrives::Contains(char letter) const noexcept {
    const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
    for (const DriveInfo& drive : drives_)
        if (drive.letter == upper) return true;
    return false;
}

std::string LogDrives::LetterAt(int index) const {
    return InRange(index) ? std::string(1, drives_[index].letter) : std::string();
}

int LogDrives::TypeAt(int index) const noexcept { return InRange(index) ? drives_[index].type : 0; }

std::string LogDrives::DisplayTextAt(int index) const {
    return InRange(index) ? DriveDisplayText(drives_[index]) : std::string();
}

std::string DriveDisplayText(const LogDrives::DriveInfo& drive) {
    std::string text{drive.letter, ':'};
    text += TypeSuffix(drive.type);
    if (!drive.label.empty()) {
        text += ' ';
        text += drive.label;
    }
    return text;
}

}  // namespace scan
