// Cluster-size detection: bytes per allocation unit of the volume holding `root`, 0 when not known.
// Callers pass the volume root (the path up to and including its first backslash, e.g. "C:\"); the first
// character names the drive. Nothing is cached per volume.
//
// Win32 order: the Windows 95 family asks its drive service; otherwise FAT and CDFS ask
// GetDiskFreeSpaceA, and every other file system reads the boot sector of "\\.\X:". When the boot sector
// cannot be read (ordinary users cannot open the volume; Wine cannot read it) or makes no sense,
// GetDiskFreeSpaceA answers instead. POSIX builds answer with the file system's fundamental block size.
#pragma once

#include "scan/VolumeQueries.h"

#include <array>
#include <cstdint>
#include <string>

namespace scan {

std::uint32_t DetectClusterSize(const std::string& root, const VolumeQueries& queries);

// Against the running system (Win32: SystemVolumeQueries(); POSIX: statvfs of `root`).
std::uint32_t DetectClusterSize(const std::string& root);

// Bytes per sector (16-bit little-endian at byte 11) times sectors per cluster (byte 13); 0 unless the
// product is a usable cluster size.
std::uint32_t ClusterSizeFromBootSector(const std::array<std::uint8_t, 512>& sector);

// A cluster size the model can use: a power of two of at least 512 bytes; anything else becomes 0.
std::uint32_t UsableClusterSize(std::uint64_t bytes);

}  // namespace scan
