// Reads a folder tree straight from an NTFS volume's file table instead of walking its folders: the boot
// sector, the file table's own data runs, the up-case table, then every record in one sequential pass.
//
// Calling protocol: ReadVolume(volume, path, root, counters, control, clusterSize) on the scanning thread.
// `path` names the folder to read, as components below the volume root (empty for the root itself);
// `root` is named by the caller and expected empty. The counters grow while the table is read (records
// seen) and end at the folder walk's values for the tree; the control is consulted between chunks of the
// table and while the tree is built. kUnavailable means the caller should walk the folders instead: the
// volume is not NTFS, cannot be read, its table is damaged beyond single records, or the path does not lead
// to a plain folder. The counters and `root` are then unspecified and must be reset by the caller.
#pragma once

#include "model/DirInfo.h"
#include "scan/Walk.h"
#include "scan/ntfs/FileTable.h"
#include "scan/ntfs/NtfsFormat.h"
#include "scan/ntfs/Volume.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace scan::ntfs {

ReadResult ReadVolume(Volume& volume, std::span<const std::u16string> path, model::DirInfo& root,
                      ScanCounters& counters, WalkControl& control, std::uint32_t clusterSize);

// Reads `length` bytes at byte `offset` of a non-resident attribute whose runs (sorted, contiguous) are
// given; sparse runs read as zeros. False when the range is not covered or the volume read fails.
bool ReadAttributeBytes(Volume& volume, std::span<const Run> runs, std::uint32_t clusterSize, std::uint64_t offset,
                        std::uint8_t* out, std::size_t length);

// Components of a relative folder path ("Data\Photos\" or "Data/Photos"), empty ones dropped. False when a
// component is "." or "..", which the file table cannot resolve.
bool SplitRelativePath(std::string_view path, std::vector<std::u16string>& components);

}  // namespace scan::ntfs
