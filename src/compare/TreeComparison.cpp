// Matching the live tree with the earlier one (see TreeComparison.h). One walk over the live tree with an
// explicit stack, pre-order for the index and post-order for what is gone below each folder.
#include "compare/TreeComparison.h"

#include "model/AsciiCase.h"
#include "model/SizeText.h"

#include <algorithm>
#include <limits>

namespace compare {
namespace {

constexpr std::uint32_t kNone = std::numeric_limits<std::uint32_t>::max();

std::uint64_t SaturatedAdd(std::uint64_t a, std::uint64_t b) noexcept {
    return a > std::numeric_limits<std::uint64_t>::max() - b ? std::numeric_limits<std::uint64_t>::max() : a + b;
}
std::uint32_t SaturatedAdd(std::uint32_t a, std::uint64_t b) noexcept {
    const std::uint64_t sum = std::uint64_t{a} + std::min<std::uint64_t>(b, kNone);
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(sum, kNone));
}

void Add(Gone& into, const Gone& more) noexcept {
    into.bytes = SaturatedAdd(into.bytes, more.bytes);
    into.files = SaturatedAdd(into.files, more.files);
    into.folders = SaturatedAdd(into.folders, more.folders);
}

// Order of names ignoring ASCII letter case, bytes unsigned.
bool FoldedLess(std::string_view a, std::string_view b) noexcept {
    const std::size_t length = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < length; ++i) {
        const auto ca = static_cast<unsigned char>(model::AsciiLower(a[i]));
        const auto cb = static_cast<unsigned char>(model::AsciiLower(b[i]));
        if (ca != cb) return ca < cb;
    }
    return a.size() < b.size();
}

// Pairs two sibling lists by name: match[i] is the earlier record of live record i, or kNone; used[k]
// tells whether earlier record k was taken. Equal names ignoring case pair in listing order.
class Pairing {
public:
    template <class Record>
    void Pair(const model::RecordList<Record>& live, const model::RecordList<Record>* earlier, std::uint32_t* match) {
        const std::size_t n = live.size(), m = earlier ? earlier->size() : 0;
        used_.assign(m, 0);
        std::fill(match, match + n, kNone);
        // Two scans of one folder usually list it alike: pair the common run of identical names directly.
        std::size_t same = 0;
        while (same < n && same < m && live[same].name.view() == (*earlier)[same].name.view()) {
            match[same] = static_cast<std::uint32_t>(same);
            used_[same] = 1;
            ++same;
        }
        if (same == n || same == m) return;
        liveOrder_.clear();
        earlierOrder_.clear();
        for (std::size_t i = same; i < n; ++i) liveOrder_.push_back(static_cast<std::uint32_t>(i));
        for (std::size_t k = same; k < m; ++k) earlierOrder_.push_back(static_cast<std::uint32_t>(k));
        auto byName = [](const model::RecordList<Record>& list) {
            return [&list](std::uint32_t a, std::uint32_t b) { return FoldedLess(list[a].name, list[b].name); };
        };
        std::stable_sort(liveOrder_.begin(), liveOrder_.end(), byName(live));
        std::stable_sort(earlierOrder_.begin(), earlierOrder_.end(), byName(*earlier));
        std::size_t i = 0, k = 0;
        while (i < liveOrder_.size() && k < earlierOrder_.size()) {
            const std::string_view a = live[liveOrder_[i]].name, b = (*earlier)[earlierOrder_[k]].name;
            if (FoldedLess(a, b)) {
                ++i;
            } else if (FoldedLess(b, a)) {
                ++k;
            } else {
                match[liveOrder_[i++]] = earlierOrder_[k];
                used_[earlierOrder_[k++]] = 1;
            }
        }
    }
    bool Used(std::size_t earlierIndex) const noexcept { return used_[earlierIndex] != 0; }

private:
    std::vector<char> used_;
    std::vector<std::uint32_t> liveOrder_, earlierOrder_;
};

}  // namespace

std::int64_t SizeChange::Clamped() const noexcept {
    constexpr auto kMax = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    if (!shrunk) return static_cast<std::int64_t>(std::min(amount, kMax));
    if (amount > kMax) return std::numeric_limits<std::int64_t>::min();
    return -static_cast<std::int64_t>(amount);
}

std::string FormatChange(SizeChange change) {
    if (change.Zero()) return model::FormatSize(0);
    // Appended rather than prefixed: GCC 12 takes `"+" + text` for an overlapping copy (-Wrestrict).
    std::string text(1, change.shrunk ? '-' : '+');
    text += model::FormatSize(change.amount);
    return text;
}

std::optional<std::size_t> IndexOf(const model::DirInfo& root, std::string_view relativePath) {
    std::size_t index = 0;
    const model::DirInfo* at = &root;
    std::size_t pos = 0;
    while (pos < relativePath.size()) {
        const std::size_t slash = relativePath.find('\\', pos);
        if (slash == std::string_view::npos) {
            const std::string_view name = relativePath.substr(pos);
            for (std::size_t j = 0; j < at->files.size(); ++j)
                if (model::EqualIgnoringAsciiCase(at->files[j].name, name)) return index + 1 + j;
            return std::nullopt;
        }
        const std::string_view name = relativePath.substr(pos, slash - pos);
        std::size_t offset = index + 1 + at->files.size();
        const model::DirInfo* found = nullptr;
        for (const model::DirInfo& sub : at->subdirs) {
            if (model::EqualIgnoringAsciiCase(sub.name, name)) {
                found = &sub;
                break;
            }
            offset += EntriesIn(sub);
        }
        if (!found) return std::nullopt;
        index = offset;
        at = found;
        pos = slash + 1;
    }
    return index;
}

TreeComparison::TreeComparison(const model::DirInfo& live, model::DirInfo earlier, std::uint32_t earlierClusterSize)
    : earlier_(std::move(earlier)), earlierCluster_(earlierClusterSize) {
    Match(live);
}

void TreeComparison::Rematch(const model::DirInfo& live) { Match(live); }

void TreeComparison::Match(const model::DirInfo& live) {
    // Fresh totals give back the earlier counts a previous match replaced.
    model::RecomputeTotals(earlier_, earlierCluster_);
    std::vector<Slot>().swap(slots_);
    slots_.reserve(EntriesIn(live));

    struct Frame {
        const model::DirInfo* live;
        model::DirInfo* earlier;  // null: new
        std::size_t slot;
        std::size_t next;        // next subfolder to enter
        std::size_t matchStart;  // its subfolders' partners in `subMatches`
        Gone gone;
    };
    std::vector<Frame> stack;
    std::vector<std::uint32_t> fileMatches, subMatches;  // subMatches: one run per open folder
    Pairing pairing;

    auto enter = [&](const model::DirInfo& folder, model::DirInfo* then) {
        Frame frame{&folder, then, slots_.size(), 0, subMatches.size(), {}};
        slots_.push_back({then, 0});
        fileMatches.resize(folder.files.size());
        pairing.Pair(folder.files, then ? &then->files : nullptr, fileMatches.data());
        for (std::size_t j = 0; j < folder.files.size(); ++j)
            slots_.push_back({fileMatches[j] == kNone ? nullptr : &then->files[fileMatches[j]], 0});
        if (then) {
            for (std::size_t k = 0; k < then->files.size(); ++k)
                if (!pairing.Used(k)) Add(frame.gone, {then->files[k].size, 1, 0});
        }
        subMatches.resize(frame.matchStart + folder.subdirs.size());
        pairing.Pair(folder.subdirs, then ? &then->subdirs : nullptr, subMatches.data() + frame.matchStart);
        if (then) {
            for (std::size_t k = 0; k < then->subdirs.size(); ++k) {
                if (pairing.Used(k)) continue;
                const model::DirInfo& went = then->subdirs[k];
                Add(frame.gone, {went.deepSize, went.deepFiles, SaturatedAdd(went.deepDirs, 1)});
            }
        }
        stack.push_back(frame);
    };

    enter(live, &earlier_);
    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.next < top.live->subdirs.size()) {
            const std::size_t k = top.next++;
            const std::uint32_t partner = subMatches[top.matchStart + k];
            model::DirInfo* then = partner == kNone ? nullptr : &top.earlier->subdirs[partner];
            enter(top.live->subdirs[k], then);  // may move the stack: `top` is not used after this
            continue;
        }
        const Frame done = top;
        stack.pop_back();
        slots_[done.slot].goneBytes = done.gone.bytes;
        if (done.earlier) {
            done.earlier->deepFiles = done.gone.files;
            done.earlier->deepDirs = done.gone.folders;
        }
        subMatches.resize(done.matchStart);
        if (!stack.empty()) Add(stack.back().gone, done.gone);
    }
}

ItemState TreeComparison::Folder(std::size_t index) const {
    const Slot& slot = slots_[index];
    const auto* then = static_cast<const model::DirInfo*>(slot.earlier);
    if (!then) return {true, 0, 0, 0, {}};
    return {false, then->deepSize, then->deepAlloc, then->localSize, {slot.goneBytes, then->deepFiles, then->deepDirs}};
}

ItemState TreeComparison::File(std::size_t index) const {
    const auto* then = EarlierFile(index);
    if (!then) return {true, 0, 0, 0, {}};
    return {false, then->size, model::AllocatedSize(then->size, earlierCluster_), then->size, {}};
}

std::uint64_t TreeComparison::EarlierValue(std::size_t index, bool isDir, int mode) const {
    if (isDir) {
        const model::DirInfo* then = EarlierFolder(index);
        return then ? model::SizeOf(*then, mode, earlierCluster_) : 0;
    }
    const model::FileInfo* then = EarlierFile(index);
    return then ? model::SizeOf(*then, mode, earlierCluster_) : 0;
}

SizeChange TreeComparison::Change(std::size_t index, const model::DirInfo& live, int mode,
                                  std::uint32_t liveClusterSize) const {
    return SizeChange::Between(EarlierValue(index, true, mode), model::SizeOf(live, mode, liveClusterSize));
}

SizeChange TreeComparison::Change(std::size_t index, const model::FileInfo& live, int mode,
                                  std::uint32_t liveClusterSize) const {
    return SizeChange::Between(EarlierValue(index, false, mode), model::SizeOf(live, mode, liveClusterSize));
}

}  // namespace compare
