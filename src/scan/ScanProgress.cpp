#include "scan/ScanProgress.h"

#include "model/SizeText.h"

#include <cstdio>

namespace scan {

bool IsDriveRoot(std::string_view rootPath) noexcept { return rootPath.size() == 3; }

ProgressPlan PlanProgress(std::optional<std::uint64_t> usedBytes) noexcept {
    ProgressPlan plan;
    if (!usedBytes) return plan;
    plan.enabled = true;
    if (*usedBytes <= 0xFFFF) {
        plan.divisor = 0;
        plan.rangeMax = static_cast<int>(*usedBytes);
    } else {
        plan.divisor = *usedBytes / 1000;
        plan.rangeMax = 1000;
    }
    return plan;
}

int ProgressPosition(std::uint64_t bytesFound, std::uint64_t divisor) noexcept {
    if (divisor != 0) return static_cast<int>(static_cast<std::uint32_t>(bytesFound / divisor));
    return static_cast<int>(static_cast<std::uint32_t>(bytesFound));
}

std::string ElapsedText(std::uint32_t elapsedMs) {
    char text[32];
    std::snprintf(text, sizeof text, "%u:%02u", static_cast<unsigned>(elapsedMs / 60000),
                  static_cast<unsigned>((elapsedMs / 1000) % 60));
    return text;
}

std::string CountersText(std::uint32_t folders, std::uint32_t files, std::uint64_t bytes) {
    return model::FormatCount(folders) + "\r\n" + model::FormatCount(files) + "\r\n" + model::FormatCount(bytes);
}

}  // namespace scan
