// A data file read on a thread of its own while the program is still making its windows, so that the
// start-up import finds the tree (mostly) read when it comes to it:
//
//     DataFileReadAhead ahead;
//     ahead.Start(path);                                   // as early as the path is known
//     ...
//     if (const auto result = ahead.Take(path, tree, clusterSize, report)) ...   // else read as usual
//
// Take gives exactly what ReadDataFileWhole on the calling thread would: the same result, tree and cluster
// size, the same texts to `report` (held back until then, so boxes still come from the thread that shows
// them), and what the read threw is thrown again there.
#pragma once

#include "model/DataFile.h"

#include <cstdint>
#include <future>
#include <optional>
#include <string>
#include <vector>

namespace model {

class DataFileReadAhead {
public:
    DataFileReadAhead() = default;
    DataFileReadAhead(const DataFileReadAhead&) = delete;
    DataFileReadAhead& operator=(const DataFileReadAhead&) = delete;
    // Waits for a read still running: the tree it builds must not outlive its owner unseen.
    ~DataFileReadAhead();

    // Starts reading `path`; ignored while an earlier read was not taken.
    void Start(std::string path);
    // The read of `path` started here, waited for and handed over once; empty for any other path, before
    // Start and after the read was taken.
    std::optional<DecodeResult> Take(const std::string& path, DirInfo& root, std::uint32_t& clusterSize,
                                     const ErrorReporter& report);

private:
    struct Outcome {
        DecodeResult result = DecodeResult::kNotDataFile;
        DirInfo tree;
        std::uint32_t clusterSize = 0;
        std::vector<std::string> messages;
    };

    std::string path_;
    std::future<Outcome> outcome_;
};

}  // namespace model
