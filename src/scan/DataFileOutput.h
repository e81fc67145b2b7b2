// The scan output that writes a data file while the walk goes on (ScanOutput.h): each folder's record goes
// to a model::DataFileWriter as soon as the folder is handed on, so the tree is never held whole and the
// memory stays the walk's bounded look-ahead. The file is the one the model writes for the same tree.
// Portable.
//
// Calling protocol: construct over a writer (see model::WriteDataFile's producer form) and the cluster size
// the file carries; hand it to ScanRoot; then read Written(). Failed() may be read from any thread while the
// scan runs, so that the walk's control can stop a scan whose file cannot be written.
#pragma once

#include "model/DataFile.h"
#include "model/DirInfo.h"
#include "scan/ScanOutput.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace scan {

class DataFileOutput final : public ScanOutput {
public:
    // The name a folder or file below the root is stored under where it differs from the name listed:
    // true, with `stored` set.
    using NameFilter = std::function<bool(std::string_view listed, std::string& stored)>;

    // What went to the file, as the root's deep totals of the tree would count it.
    struct Totals {
        std::uint32_t folders = 0;  // below the root
        std::uint32_t files = 0;
        std::uint64_t bytes = 0;      // logical
        std::uint64_t allocated = 0;  // in clusters of the cluster size (0 when it is not known)
    };

    DataFileOutput(model::DataFileWriter& writer, std::uint32_t clusterSize, NameFilter filter = {})
        : writer_(writer), clusterSize_(clusterSize), filter_(std::move(filter)) {}

    void Folder(std::string_view name, model::DirInfo& listing) override;
    void WholeTree(model::DirInfo& tree) override;
    // About a megabyte of listings ahead of the file: enough to keep the workers busy.
    std::size_t LookAhead() const noexcept override { return 16384; }

    const Totals& Written() const noexcept { return totals_; }
    // The writer failed (a write, or a name too long for the file): nothing more is written.
    bool Failed() const noexcept { return failed_.load(std::memory_order_relaxed); }

private:
    void Write(std::string_view name, const model::RecordList<model::FileInfo>& files, std::size_t subfolders,
               std::int32_t sortKey);
    std::string_view Stored(std::string_view listed, std::string& scratch) const;

    model::DataFileWriter& writer_;
    std::uint32_t clusterSize_;
    NameFilter filter_;
    Totals totals_;
    bool started_ = false;  // the root has been written
    std::atomic<bool> failed_{false};
    std::string folderName_, fileName_;  // scratch for filtered names
};

}  // namespace scan
