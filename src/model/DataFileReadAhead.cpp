// Reading a data file ahead on another thread (see DataFileReadAhead.h).
#include "model/DataFileReadAhead.h"

#include <utility>

namespace model {

DataFileReadAhead::~DataFileReadAhead() {
    if (outcome_.valid()) outcome_.wait();
}

void DataFileReadAhead::Start(std::string path) {
    if (outcome_.valid()) return;
    path_ = std::move(path);
    outcome_ = std::async(std::launch::async, [path = path_] {
        Outcome outcome;
        outcome.result = ReadDataFileWhole(path, outcome.tree, outcome.clusterSize,
                                           [&outcome](const std::string& text) { outcome.messages.push_back(text); });
        return outcome;
    });
}

std::optional<DecodeResult> DataFileReadAhead::Take(const std::string& path, DirInfo& root, std::uint32_t& clusterSize,
                                                    const ErrorReporter& report) {
    if (!outcome_.valid() || path != path_) return std::nullopt;
    Outcome outcome = outcome_.get();  // rethrows what the read threw; either way the read is taken
    for (const std::string& message : outcome.messages) report(message);
    // Like the read itself: on kNotDataFile the caller's tree and cluster size stay as they were.
    if (outcome.result != DecodeResult::kNotDataFile) {
        root = std::move(outcome.tree);
        clusterSize = outcome.clusterSize;
    }
    return outcome.result;
}

}  // namespace model
