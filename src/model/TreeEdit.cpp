#include "model/TreeEdit.h"

#include "model/AsciiCase.h"

#include <string>
#include <vector>

namespace model {
namespace {

// The folders from the root down to `relativeFolder`, or nothing when a component names no subfolder.
std::vector<DirInfo*> FolderChain(DirInfo& root, std::string_view relativeFolder) {
    std::vector<DirInfo*> chain{&root};
    for (const std::string& component : SplitPath(relativeFolder, 0)) {
        DirInfo* match = nullptr;
        for (DirInfo& sub : chain.back()->subdirs) {
            if (EqualIgnoringAsciiCase(sub.name, component)) {
                match = &sub;
                break;
            }
        }
        if (!match) return {};
        chain.push_back(match);
    }
    return chain;
}

void Add(const std::vector<DirInfo*>& chain, const TotalsDelta& delta, bool local) {
    for (DirInfo* folder : chain) {
        folder->deepFiles += delta.files;
        folder->deepDirs += delta.dirs;
        folder->deepSize += delta.size;
        folder->deepAlloc += delta.alloc;
    }
    if (local) {
        chain.back()->localSize += delta.size;
        chain.back()->localAlloc += delta.alloc;
    }
}

template <class T>
T* FindChild(RecordList<T>& list, std::string_view name) {
    for (T& record : list)
        if (EqualIgnoringAsciiCase(record.name, name)) return &record;
    return nullptr;
}

template <class T>
void Erase(RecordList<T>& list, const T* record) {
    erase_if(list, [record](const T& candidate) { return &candidate == record; });
}

}  // namespace

TotalsDelta TotalsDelta::Negated() const noexcept {
    return {0u - files, 0u - dirs, std::uint64_t{0} - size, std::uint64_t{0} - alloc};
}

TotalsDelta ContributionOf(const DirInfo& folder) noexcept {
    return {folder.deepFiles, folder.deepDirs + 1u, folder.deepSize, folder.deepAlloc};
}

TotalsDelta ContributionOf(const FileInfo& file, std::uint32_t clusterSize) noexcept {
    return {1u, 0u, file.size, AllocatedSize(file.size, clusterSize)};
}

bool AddToTotals(DirInfo& root, std::string_view relativeFolder, const TotalsDelta& delta, bool local) {
    const std::vector<DirInfo*> chain = FolderChain(root, relativeFolder);
    if (chain.empty()) return false;
    Add(chain, delta, local);
    return true;
}

std::string_view FolderOfItem(std::string_view relativePath) noexcept {
    std::string_view path = relativePath;
    if (!path.empty() && path.back() == '\\') path.remove_suffix(1);
    const std::size_t backslash = path.rfind('\\');
    return backslash == std::string_view::npos ? std::string_view{} : relativePath.substr(0, backslash + 1);
}

bool RemoveItem(DirInfo& root, std::string_view relativePath, std::uint32_t clusterSize) {
    const std::string_view folderPart = FolderOfItem(relativePath);
    const bool isFolder = !relativePath.empty() && relativePath.back() == '\\';
    std::string_view name = relativePath.substr(folderPart.size());
    if (isFolder) name.remove_suffix(1);
    if (name.empty()) return false;
    const std::vector<DirInfo*> chain = FolderChain(root, folderPart);
    if (chain.empty()) return false;
    DirInfo& folder = *chain.back();
    if (isFolder) {
        const DirInfo* sub = FindChild(folder.subdirs, name);
        if (!sub) return false;
        Add(chain, ContributionOf(*sub).Negated(), false);
        Erase(folder.subdirs, sub);
    } else {
        const FileInfo* file = FindChild(folder.files, name);
        if (!file) return false;
        Add(chain, ContributionOf(*file, clusterSize).Negated(), true);
        Erase(folder.files, file);
    }
    return true;
}

}  // namespace model
