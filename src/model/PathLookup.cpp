// Path splitting and the folder and file look-ups over a DirInfo tree (declared in DirInfo.h). Walks go top
// down one level per path component, so they need no recursion.
#include "model/DirInfo.h"

#include "model/AsciiCase.h"

namespace model {
namespace {

constexpr auto EqualsIgnoringCase = EqualIgnoringAsciiCase;

// The relative path of a full path below `root`, or false when the path does not start with the root's
// name and a backslash.
bool RelativePart(const DirInfo& root, std::string_view fullPath, std::string_view& relative) {
    const std::size_t n = root.name.size();
    if (fullPath.size() < n + 1 || fullPath[n] != '\\' || !EqualsIgnoringCase(fullPath.substr(0, n), root.name))
        return false;
    relative = fullPath.substr(n + 1);
    return true;
}

}  // namespace

std::vector<std::string> SplitPath(std::string_view text, std::size_t rootLength) {
    std::vector<std::string> components;
    if (text.empty()) return components;
    std::size_t position = 0;
    if (rootLength != 0) {
        if (text.size() < rootLength + 1) return components;
        components.emplace_back(text.substr(0, rootLength));
        position = rootLength + 1;
    }
    for (;;) {
        const std::size_t backslash = text.find('\\', position);
        if (backslash == std::string_view::npos) break;
        components.emplace_back(text.substr(position, backslash - position));
        position = backslash + 1;
    }
    return components;
}

const DirInfo* FindDir(const DirInfo& root, std::string_view relativePath) {
    const DirInfo* current = &root;
    for (const std::string& component : SplitPath(relativePath, 0)) {
        const DirInfo* match = nullptr;
        for (const DirInfo& sub : current->subdirs) {
            if (EqualsIgnoringCase(sub.name, component)) {
                match = &sub;
                break;
            }
        }
        if (!match) return nullptr;
        current = match;
    }
    return current;
}

DirInfo* FindDir(DirInfo& root, std::string_view relativePath) {
    return const_cast<DirInfo*>(FindDir(static_cast<const DirInfo&>(root), relativePath));
}

const DirInfo* FindDirByPath(const DirInfo& root, std::string_view fullPath) {
    std::string_view relative;
    if (!RelativePart(root, fullPath, relative)) return nullptr;
    return FindDir(root, relative);
}

DirInfo* FindDirByPath(DirInfo& root, std::string_view fullPath) {
    return const_cast<DirInfo*>(FindDirByPath(static_cast<const DirInfo&>(root), fullPath));
}

const FileInfo* FindFileByPath(const DirInfo& root, std::string_view fullPath) {
    std::string_view relative;
    if (!RelativePart(root, fullPath, relative)) return nullptr;
    const std::size_t lastBackslash = relative.rfind('\\');
    const std::string_view folderPart =
        lastBackslash == std::string_view::npos ? std::string_view{} : relative.substr(0, lastBackslash + 1);
    const std::string_view fileName =
        lastBackslash == std::string_view::npos ? relative : relative.substr(lastBackslash + 1);
    const DirInfo* folder = FindDir(root, folderPart);
    if (!folder) return nullptr;
    for (const FileInfo& file : folder->files) {
        if (EqualsIgnoringCase(file.name, fileName)) return &file;
    }
    return nullptr;
}

}  // namespace model
