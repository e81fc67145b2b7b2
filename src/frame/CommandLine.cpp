#include "frame/CommandLine.h"

#include <cctype>

namespace frame {
namespace {
char Upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }
}  // namespace

void RepairTrailingQuote(std::string& argument) {
    if (!argument.empty() && argument.back() == '"') argument.back() = '\\';
}

StartupTarget DecideStartupTarget(std::string_view commandLinePath, bool autoscan, std::string_view autoscanFolder,
                                  std::string_view driveLetters,
                                  const std::function<PathKind(const std::string&)>& kindOf) {
    using Action = StartupTarget::Action;
    if (commandLinePath.empty()) {
        // An autoscan folder left empty in the settings names nothing to scan.
        if (autoscan && !autoscanFolder.empty()) return {Action::kScan, std::string(autoscanFolder), {}};
        return {};
    }
    std::string path(commandLinePath);
    const bool trailingBackslash = path.back() == '\\';
    if (trailingBackslash) path.pop_back();

    if (path.size() == 2 && path[1] == ':') {
        bool known = false;
        for (char letter : driveLetters) known = known || Upper(letter) == Upper(path[0]);
        if (!known) return {Action::kInvalidDrive, {}, "The specified drive is not valid:\r\n\r\n" + path};
        return {Action::kScan, path + '\\', {}};
    }
    switch (kindOf(path)) {
    case PathKind::kMissing:
        return {Action::kNotFound, {}, "The specified name is not a file or a directory:\r\n\r\n" + path};
    case PathKind::kFolder: return {Action::kScan, path + '\\', {}};
    case PathKind::kFile:
        if (trailingBackslash) return {};
        return {Action::kImport, path, {}};
    }
    return {};
}

std::optional<std::string> DataFileToImport(std::string_view commandLinePath,
                                            const std::function<PathKind(const std::string&)>& kindOf) {
    // Drives matter only to a bare "X:", and autoscan only without a path: neither is ever an import.
    StartupTarget target = DecideStartupTarget(commandLinePath, false, {}, {}, kindOf);
    if (target.action != StartupTarget::Action::kImport) return std::nullopt;
    return std::move(target.path);
}

}  // namespace frame
