// The headless scanner's texts on the standard error stream: the progress line (rewritten in place at most
// once a second on a terminal) and the summary line at the end. Pure functions of the figures.
#pragma once

#include <cstdint>
#include <string>

namespace headless {

struct ScanFigures {
    std::uint32_t folders = 0;
    std::uint32_t files = 0;
    std::uint64_t bytes = 0;  // logical, or allocated when the cluster size is known (as the walk counts)
};

// Elapsed time as m:ss, or h:mm:ss from one hour on; seconds are truncated.
std::string ElapsedText(double seconds);

// "folders 1,234  files 56,789  bytes 1.2 GB  elapsed 0:05"
std::string ProgressLine(const ScanFigures& figures, double seconds);

// What the finished scan found, for the line after it: root name, counts, the logical total and (with a
// cluster size) the allocated total, the time taken and the file written.
struct ScanSummary {
    std::string rootName;
    std::uint32_t folders = 0;
    std::uint32_t files = 0;
    std::uint64_t logicalBytes = 0;
    std::uint64_t allocatedBytes = 0;
    std::uint32_t clusterSize = 0;
    double seconds = 0;
    std::string output;
};
std::string SummaryLine(const ScanSummary& summary);

}  // namespace headless
