// Cluster-size detection: bytes per allocation unit of the volume holding a path, 0 when not known.
// Nothing is cached per volume.
//
// Win32 order: the volume is what GetVolumePathNameW names for the path (a drive root, a share, a mounted
// folder); when it names none, the answer is 0. The Windows 95 family asks its drive service; otherwise
// FAT and CDFS ask GetDiskFreeSpaceA, and every other file system reads the boot sector of "\\.\X:" when
// the volume is the drive root X:\. When the boot sector cannot be read (ordinary users cannot open the
// volume; Wine cannot read it), makes no sense or is not the volume's, GetDiskFreeSpaceA on the volume
// answers instead. POSIX builds answer with the file system's fundamental block size.
#pragma once

#include "scan/VolumeQueries.h"

#include <array>
#include <cstdint>
#include <string>

namespace scan {

// `path`: a folder on the volume, such as a scan root ("C:\Data\", "\\server\share\dir\").
std::uint32_t DetectClusterSize(const std::string& path, const VolumeQueries& queries);

// Against the running system (Win32: SystemVolumeQueries(); POSIX: statvfs of `path`).
std::uint32_t DetectClusterSize(const std::string& path);

// Bytes per sector (16-bit little-endian at byte 11) times sectors per cluster (byte 13); 0 unless the
// product is a usable cluster size.
std::uint32_t ClusterSizeFromBootSector(const std::array<std::uint8_t, 512>& sector);

// A cluster size the model can use: a power of two of at least 512 bytes; anything else becomes 0.
std::uint32_t UsableClusterSize(std::uint64_t bytes);

}  // namespace scan
