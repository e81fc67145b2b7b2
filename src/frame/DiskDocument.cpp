#include "frame/DiskDocument.h"

#include "frame/Navigation.h"
#include "model/AsciiCase.h"

#include <algorithm>
#include <utility>

namespace frame {

DiskDocument::DiskDocument(std::string rootName, unsigned firstRecentId, MRUPaths::StoreFactory openRecentStore)
    : root_(rootName), recent_(firstRecentId, std::move(openRecentStore)) {
    current_ = RootPath();
    history_.Reset(current_);
}

void DiskDocument::AddObserver(model::DocumentObserver& observer) { observers_.push_back(&observer); }

void DiskDocument::RemoveObserver(model::DocumentObserver& observer) noexcept { std::erase(observers_, &observer); }

template <class Event>
void DiskDocument::Tell(Event event) {
    // A copy: an observer may leave the list while it is told (a dialog that closes).
    const std::vector<model::DocumentObserver*> observers = observers_;
    for (model::DocumentObserver* observer : observers)
        if (std::find(observers_.begin(), observers_.end(), observer) != observers_.end()) event(*observer);
}

std::string DiskDocument::RootPath() const { return root_.name + "\\"; }

std::optional<std::string_view> DiskDocument::RelativeOf(std::string_view fullPath) const {
    const std::size_t n = root_.name.size();
    if (fullPath.size() < n + 1 || fullPath[n] != '\\' ||
        !model::EqualIgnoringAsciiCase(fullPath.substr(0, n), root_.name))
        return std::nullopt;
    return fullPath.substr(n + 1);
}

void DiskDocument::AdoptTree(model::DirInfo&& tree, std::uint32_t clusterSize, bool resetHistory) {
    Adopt(std::move(tree), clusterSize, resetHistory, false);
}

void DiskDocument::Adopt(model::DirInfo&& tree, std::uint32_t clusterSize, bool resetHistory, bool fromDataFile) {
    comparison_.reset();
    AdoptScannedTree(root_, std::move(tree), clusterSize);
    clusterSize_ = clusterSize;
    fromDataFile_ = fromDataFile;
    current_ = RootPath();
    if (resetHistory) history_.Reset(current_);
    Tell([](model::DocumentObserver& observer) { observer.TreeReplaced(); });
}

bool DiskDocument::Import(const std::string& path, const DataFileReader& read) {
    model::DirInfo tree;
    std::uint32_t clusterSize = 0;
    if (!read(path, tree, clusterSize)) return false;
    Adopt(std::move(tree), clusterSize, true, true);
    return true;
}

bool DiskDocument::ReplaceFolder(const std::string& folderPath, model::DirInfo&& scanned, std::uint32_t clusterSize) {
    const auto relative = RelativeOf(folderPath);
    if (!relative || !ReplaceFolderContents(root_, *relative, std::move(scanned), clusterSize)) return false;
    comparison_.reset();
    clusterSize_ = clusterSize;
    Tell([&folderPath](model::DocumentObserver& observer) { observer.FolderReplaced(folderPath); });
    return true;
}

void DiskDocument::SetClusterSize(std::uint32_t clusterSize) {
    model::RecomputeTotals(root_, clusterSize);
    clusterSize_ = clusterSize;
}

model::SizeKind DiskDocument::AllowedMode(model::SizeKind mode) const noexcept {
    return ModeAvailable(mode, clusterSize_) ? mode : model::kLogicalSize;
}

bool DiskDocument::RemoveItem(const std::string& itemPath) {
    const auto relative = RelativeOf(itemPath);
    if (!relative || !model::RemoveItem(root_, *relative, clusterSize_)) return false;
    if (comparison_) comparison_->Rematch(root_);
    const std::string folderPath =
        itemPath.substr(0, itemPath.size() - relative->size()) + std::string(model::FolderOfItem(*relative));
    // The current folder is the removed folder or lies inside it when the removed path begins it.
    const bool isFolder = itemPath.back() == '\\';
    if (isFolder && current_.size() >= itemPath.size() &&
        model::EqualIgnoringAsciiCase(std::string_view(current_).substr(0, itemPath.size()), itemPath))
        NavigateTo(folderPath);
    Tell([&](model::DocumentObserver& observer) { observer.ItemRemoved(itemPath, folderPath); });
    return true;
}

bool DiskDocument::AddToTotals(const std::string& folderPath, const model::TotalsDelta& delta, bool local) {
    const auto relative = RelativeOf(folderPath);
    if (!relative || !model::AddToTotals(root_, *relative, delta, local)) return false;
    if (comparison_) comparison_->Rematch(root_);
    return true;
}

void DiskDocument::StartComparison(model::DirInfo&& earlier, std::uint32_t earlierClusterSize) {
    comparison_ = std::make_unique<compare::TreeComparison>(root_, std::move(earlier), earlierClusterSize);
    Tell([](model::DocumentObserver& observer) { observer.ComparisonChanged(); });
}

std::optional<ItemChange> DiskDocument::ChangeOf(std::string_view itemPath) const {
    if (!comparison_) return std::nullopt;
    const auto relative = RelativeOf(itemPath);
    if (!relative) return std::nullopt;
    const auto index = compare::IndexOf(root_, *relative);
    if (!index || *index >= comparison_->EntryCount()) return std::nullopt;
    using compare::SizeChange;
    if (relative->empty() || relative->back() == '\\') {
        const model::DirInfo* folder = model::FindDirByPath(root_, itemPath);
        if (!folder) return std::nullopt;
        const compare::ItemState then = comparison_->Folder(*index);
        return ItemChange{SizeChange::Between(then.earlierSize, folder->deepSize),
                          SizeChange::Between(then.earlierLocal, folder->localSize), then.isNew};
    }
    const model::FileInfo* file = model::FindFileByPath(root_, itemPath);
    if (!file) return std::nullopt;
    const compare::ItemState then = comparison_->File(*index);
    const SizeChange change = SizeChange::Between(then.earlierSize, file->size);
    return ItemChange{change, change, then.isNew};
}

void DiskDocument::EndComparison() {
    if (!comparison_) return;
    comparison_.reset();
    Tell([](model::DocumentObserver& observer) { observer.ComparisonChanged(); });
}

void DiskDocument::NavigateTo(const std::string& path) {
    current_ = path;
    history_.Go(path);
}

bool DiskDocument::Back() {
    if (!history_.Back()) return false;
    current_ = history_.Current();
    return true;
}

bool DiskDocument::Forward() {
    if (!history_.Forward()) return false;
    current_ = history_.Current();
    return true;
}

std::optional<std::string> DiskDocument::ParentPath() const { return ParentFolder(root_.name, current_); }

bool DiskDocument::GoParent() {
    const auto parent = ParentPath();
    if (parent) NavigateTo(*parent);
    return parent.has_value();
}

void DiskDocument::ShowRoot() { current_ = RootPath(); }

}  // namespace frame
