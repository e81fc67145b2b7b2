#include "frame/CommandLine.h"

namespace frame {

void RepairTrailingQuote(std::string& argument) {
    if (!argument.empty() && argument.back() == '"') argument.back() = '\\';
}

}  // namespace frame
