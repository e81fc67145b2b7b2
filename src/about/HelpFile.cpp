#include "about/HelpFile.h"

namespace about {

std::string HelpPathBeside(std::string_view modulePath) {
    const std::size_t slash = modulePath.find_last_of('\\');
    std::string path(slash == std::string_view::npos ? std::string_view() : modulePath.substr(0, slash + 1));
    return path + kHelpFileName;
}

const std::string& HelpFileLocator::Locate(std::string_view modulePath, const Exists& exists) {
    if (found_.empty() && !modulePath.empty()) {
        std::string candidate = HelpPathBeside(modulePath);
        if (exists(candidate)) found_ = std::move(candidate);
    }
    return found_;
}

}  // namespace about
