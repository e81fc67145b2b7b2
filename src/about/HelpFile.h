// Where the help file is: "Kelvaran.chm" in the program's own folder. Once found, the path is kept for
// the rest of the run (the viewer gets it even if the file goes away); until then every request looks
// again. Portable; the Win32 help display (Help.h) supplies the module path and the existence check.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace about {

inline constexpr const char* kHelpFileName = "Kelvaran.chm";

// The module path cut after its last backslash, followed by the help file's name.
std::string HelpPathBeside(std::string_view modulePath);

class HelpFileLocator {
public:
    using Exists = std::function<bool(const std::string& path)>;

    // The help file's path, or empty when it has never been found.
    const std::string& Locate(std::string_view modulePath, const Exists& exists);

private:
    std::string found_;
};

}  // namespace about
