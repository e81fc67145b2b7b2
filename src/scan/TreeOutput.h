// The scan output that builds the tree in memory (ScanOutput.h): each folder's lists are moved into its
// record, and a folder's totals are finished once its last subfolder has come. Portable.
//
// Calling protocol: construct over the root record (named, expected empty); hand it to the walk or to
// ScanRoot; read the tree once the scan has returned. A stopped scan leaves the folders that came, and
// the folders still open without their totals.
#pragma once

#include "model/DirInfo.h"
#include "scan/ScanOutput.h"

#include <cstddef>
#include <limits>
#include <string_view>
#include <vector>

namespace scan {

class TreeOutput final : public ScanOutput {
public:
    explicit TreeOutput(model::DirInfo& root) noexcept : root_(root) {}

    void Folder(std::string_view name, model::DirInfo& listing) override;
    void WholeTree(model::DirInfo& tree) override;
    // The tree holds every listing in the end anyway: the walk may list as far ahead as it likes.
    std::size_t LookAhead() const noexcept override { return std::numeric_limits<std::size_t>::max(); }

private:
    struct Open {
        model::DirInfo* dir;
        std::size_t next;  // of its subfolders, the one that comes next
    };
    model::DirInfo& root_;
    std::vector<Open> open_;  // the folders whose subfolders have not all come, root first
    bool started_ = false;
};

}  // namespace scan
