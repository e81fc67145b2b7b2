// Progress and summary texts of the headless scanner (see ScanReport.h).
#include "headless/ScanReport.h"

#include "model/SizeText.h"

#include <cstdio>

namespace headless {

std::string ElapsedText(double seconds) {
    const auto total = seconds > 0 ? static_cast<std::uint64_t>(seconds) : 0;
    char text[32];
    if (total >= 3600)
        std::snprintf(text, sizeof text, "%llu:%02u:%02u", static_cast<unsigned long long>(total / 3600),
                      static_cast<unsigned>(total / 60 % 60), static_cast<unsigned>(total % 60));
    else
        std::snprintf(text, sizeof text, "%u:%02u", static_cast<unsigned>(total / 60),
                      static_cast<unsigned>(total % 60));
    return text;
}

std::string ProgressLine(const ScanFigures& figures, double seconds) {
    return "folders " + model::FormatCount(figures.folders) + "  files " + model::FormatCount(figures.files) +
           "  bytes " + model::FormatSize(figures.bytes) + "  elapsed " + ElapsedText(seconds);
}

std::string SummaryLine(const ScanSummary& s) {
    char time[32];
    std::snprintf(time, sizeof time, "%.1f s", s.seconds);
    std::string line = "scanned " + s.rootName + " in " + time + ": " + model::FormatCount(s.folders) + " folders, " +
                       model::FormatCount(s.files) + " files, " + model::FormatSize(s.logicalBytes);
    if (s.clusterSize != 0)
        line += " (" + model::FormatSize(s.allocatedBytes) + " allocated in " + std::to_string(s.clusterSize) +
                "-byte clusters)";
    else
        line += " (cluster size not known)";
    return line + "; written to " + s.output;
}

}  // namespace headless
