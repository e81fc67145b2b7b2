// The Win32 side of the file-table reader: a Volume over a raw volume or an image file, read with
// ReadFile at sector-aligned offsets, and the entry the scan thread calls for a root folder.
#pragma once

#include "fw/Handles.h"
#include "model/DirInfo.h"
#include "scan/Walk.h"
#include "scan/ntfs/FileTable.h"
#include "scan/ntfs/Volume.h"

#include <windows.h>

#include <cstdint>
#include <string>

namespace scan::ntfs {

class Win32Volume final : public Volume {
public:
    // `path`: "\\.\C:", "\\?\Volume{...}" or an image file. False when it cannot be opened for reading
    // (a raw volume needs administrator rights).
    bool Open(const std::wstring& path);
    std::uint64_t Size() const override { return size_; }
    bool Read(std::uint64_t offset, void* buffer, std::size_t length) override;

private:
    struct FreePages {
        void operator()(void* p) const noexcept { VirtualFree(p, 0, MEM_RELEASE); }
    };
    fw::FileHandle file_;
    std::uint64_t size_ = 0;
    // Raw volumes only read whole sectors into aligned memory: every read goes through these pages.
    std::unique_ptr<std::uint8_t, FreePages> pages_;
    std::size_t pageBytes_ = 0;
};

// Reads the tree below `rootPath` ("C:\", "C:\Data\", UTF-8) from its volume's file table into `root`
// (named by the caller, empty). kUnavailable when the root is not a folder on a local NTFS volume that
// this process may open raw, or when the volume turns out damaged: the caller then walks the folders.
ReadResult ScanFromFileTable(const std::string& rootPath, model::DirInfo& root, ScanCounters& counters,
                             WalkControl& control, std::uint32_t clusterSize);

}  // namespace scan::ntfs
