#include "about/Help.h"

#include "about/HTMLHelp.h"
#include "about/HelpFile.h"
#include <vector>

namespace about {
namespace {
bool FileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}
}  // namespace

std::string ModulePath() {
    // A path cut at the buffer's end would name another folder: grow the buffer until it fits.
    for (DWORD size = MAX_PATH; size <= 32768; size *= 2) {
        std::vector<char> buffer(size);
        const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), size);
        if (length == 0) return {};
        if (length < size) return std::string(buffer.data(), length);
    }
    return {};
}

void ShowHelp(HWND owner, const std::string& topic, const fw::Interaction& ui) {
    static HelpFileLocator locator;
    const std::string& path = locator.Locate(ModulePath(), FileExists);
    if (path.empty()) {
        ui.ShowMessage(nullptr, "Could not locate help file", "Kelvaran", MB_OK | MB_ICONERROR);
        return;
    }
    const std::string fileAndTopic = path + topic;
    if (ui.helpViewer)
        ui.helpViewer(owner, fileAndTopic);
    else
        tv::HTMLHelp::Instance().Display(owner, fileAndTopic);
}

}  // namespace about
