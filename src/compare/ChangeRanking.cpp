// Ranked lists of a comparison (see ChangeRanking.h): a bounded heap of the best so far, fed by one
// pre-order walk of the live tree with an explicit stack.
#include "compare/ChangeRanking.h"

#include "model/AsciiCase.h"

#include <algorithm>
#include <queue>

namespace compare {
namespace {

struct Candidate {
    std::uint64_t key;
    std::size_t order;  // pre-order position: the earlier wins a tie
    RankedItem item;
};

// Worse candidates first, so the heap's top is the one to give way.
struct Worse {
    bool operator()(const Candidate& a, const Candidate& b) const noexcept {
        return a.key != b.key ? a.key > b.key : a.order < b.order;
    }
};

class Ranker {
public:
    explicit Ranker(std::size_t count) : count_(count) {}

    // Offers an item; `path` composes its path and is called only when the item is kept.
    template <class Path>
    void Offer(std::uint64_t key, bool isDir, std::uint64_t then, std::uint64_t now, Path path) {
        if (count_ == 0) return;
        const std::size_t order = order_++;
        if (heap_.size() == count_) {
            const Candidate& worst = heap_.top();
            if (key < worst.key || (key == worst.key && order > worst.order)) return;
            heap_.pop();
        }
        heap_.push({key, order, {path(), isDir, then, now, SizeChange::Between(then, now)}});
    }

    std::vector<RankedItem> Take() {
        std::vector<Candidate> all;
        all.reserve(heap_.size());
        while (!heap_.empty()) {
            all.push_back(heap_.top());
            heap_.pop();
        }
        std::vector<RankedItem> items;
        items.reserve(all.size());
        for (auto it = all.rbegin(); it != all.rend(); ++it) items.push_back(std::move(it->item));
        return items;
    }

private:
    std::size_t count_;
    std::size_t order_ = 0;
    std::priority_queue<Candidate, std::vector<Candidate>, Worse> heap_;
};

// Whether an item in the folder `parent` (its path below the root) is in the query's scope.
bool InScope(std::string_view parent, const RankingQuery& query) noexcept {
    if (parent.size() < query.scope.size()) return false;
    if (!query.recurse && parent.size() != query.scope.size()) return false;
    return model::EqualIgnoringAsciiCase(parent.substr(0, query.scope.size()), query.scope);
}

}  // namespace

std::vector<RankedItem> Rank(const model::DirInfo& live, const TreeComparison& comparison, const RankingQuery& query) {
    Ranker ranker(query.count);
    const bool changes = query.ranking == Ranking::kGrowth || query.ranking == Ranking::kShrink;
    const bool wantShrink = query.ranking == Ranking::kShrink;
    auto offerChange = [&](SizeChange change, bool isDir, std::uint64_t then, std::uint64_t now, auto path) {
        if (change.Zero() || change.shrunk != wantShrink) return;
        ranker.Offer(change.amount, isDir, then, now, path);
    };

    struct Frame {
        const model::DirInfo* folder;
        const model::DirInfo* then;  // matched earlier folder, or null
        std::size_t next;            // next subfolder
        std::size_t nextIndex;       // its index
        std::size_t livePath;        // lengths of the two paths of this folder
        std::size_t earlierPath;
    };
    std::string livePath = live.name + "\\";
    std::string earlierPath = comparison.Earlier().name + "\\";
    const std::size_t liveRoot = livePath.size();
    const std::size_t earlierRoot = earlierPath.size();
    std::vector<Frame> stack;
    std::vector<char> used;

    // `parentPath`: the length of the live path of the folder's parent.
    auto enter = [&](const model::DirInfo& folder, std::size_t index, std::size_t parentPath) {
        const model::DirInfo* then = comparison.EarlierFolder(index);
        const std::size_t firstSub = index + 1 + folder.files.size();
        const bool filesInScope = InScope(std::string_view(livePath).substr(liveRoot), query);
        if (changes && index != 0 &&
            InScope(std::string_view(livePath).substr(liveRoot, parentPath - liveRoot), query)) {
            const std::uint64_t before = then ? then->deepSize : 0;
            offerChange(SizeChange::Between(before, folder.deepSize), true, before, folder.deepSize,
                        [&] { return livePath; });
        }
        for (std::size_t j = 0; j < folder.files.size(); ++j) {
            const model::FileInfo& file = folder.files[j];
            const model::FileInfo* was = comparison.EarlierFile(index + 1 + j);
            auto path = [&] { return livePath + file.name; };
            if (!filesInScope) break;
            if (changes && !query.foldersOnly) {
                const std::uint64_t before = was ? was->size : 0;
                offerChange(SizeChange::Between(before, file.size), false, before, file.size, path);
            } else if (query.ranking == Ranking::kNewFiles && !was) {
                ranker.Offer(file.size, false, 0, file.size, path);
            }
        }
        if (query.ranking == Ranking::kGone && then &&
            InScope(std::string_view(earlierPath).substr(earlierRoot), query)) {
            used.assign(then->files.size(), 0);
            for (std::size_t j = 0; j < folder.files.size(); ++j)
                if (const model::FileInfo* was = comparison.EarlierFile(index + 1 + j))
                    used[static_cast<std::size_t>(was - then->files.data())] = 1;
            for (std::size_t k = 0; k < then->files.size(); ++k)
                if (!used[k])
                    ranker.Offer(then->files[k].size, false, then->files[k].size, 0,
                                 [&] { return earlierPath + then->files[k].name; });
            used.assign(then->subdirs.size(), 0);
            std::size_t subIndex = firstSub;
            for (const model::DirInfo& sub : folder.subdirs) {
                if (const model::DirInfo* was = comparison.EarlierFolder(subIndex))
                    used[static_cast<std::size_t>(was - then->subdirs.data())] = 1;
                subIndex += EntriesIn(sub);
            }
            for (std::size_t k = 0; k < then->subdirs.size(); ++k)
                if (!used[k])
                    ranker.Offer(then->subdirs[k].deepSize, true, then->subdirs[k].deepSize, 0,
                                 [&] { return earlierPath + then->subdirs[k].name + "\\"; });
        }
        stack.push_back({&folder, then, 0, firstSub, livePath.size(), earlierPath.size()});
    };

    enter(live, 0, liveRoot);
    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.next == top.folder->subdirs.size()) {
            stack.pop_back();
            continue;
        }
        const model::DirInfo& sub = top.folder->subdirs[top.next++];
        const std::size_t index = top.nextIndex;
        top.nextIndex += EntriesIn(sub);
        livePath.resize(top.livePath);
        livePath.append(sub.name).push_back('\\');
        earlierPath.resize(top.earlierPath);
        if (const model::DirInfo* was = comparison.EarlierFolder(index)) earlierPath.append(was->name).push_back('\\');
        enter(sub, index, top.livePath);  // may move the stack: `top` is not used after this
    }
    return ranker.Take();
}

}  // namespace compare
