#include "info/Statistics.h"

#include "model/FileTypes.h"
#include "model/SizeText.h"

#include <algorithm>
#include <limits>

namespace info {

const char* QueryText(int query) noexcept {
    static const char* const texts[kQueryCount] = {
        "Largest files",
        "Longest path names",
        "Deepest path names",
        "Directories with most file entries (local)",
        "Directories with most file entries (deep)",
        "Directories with most file bytes (local)",
        "Directories with most file bytes (deep)",
        "Directories with greatest wasted space (local)",
        "Largest file types",
        "Largest growth",
        "Largest shrink",
        "Largest new files",
        "Largest removed",
    };
    return query >= 0 && query < kQueryCount ? texts[query] : "";
}

int FieldWidth(int query) noexcept {
    static const int widths[kQueryCount] = {20, 3, 3, 10, 10, 20, 20, 20, 20, 20, 20, 20, 20};
    return query >= 0 && query < kQueryCount ? widths[query] : 0;
}

std::size_t CharacterCount(std::string_view text) noexcept {
    std::size_t count = 0;
    for (char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

std::uint32_t PathTable::Add(std::uint32_t parent, const model::Name& name) {
    nodes_.push_back({parent, &name});
    return static_cast<std::uint32_t>(nodes_.size() - 1);
}

std::string PathTable::Path(std::uint32_t folder, const model::Name* file, bool absolute) const {
    std::vector<const model::Name*> names;
    std::size_t length = (absolute ? basePath_.size() : 0) + (file ? file->size() : 0);
    for (std::uint32_t node = folder; node != kStart && node < nodes_.size(); node = nodes_[node].parent) {
        names.push_back(nodes_[node].name);
        length += nodes_[node].name->size() + 1;
    }
    std::string path;
    path.reserve(length);
    if (absolute) path = basePath_;
    for (auto name = names.rbegin(); name != names.rend(); ++name) path.append(**name) += '\\';
    if (file) path += *file;
    return path;
}

std::string StatResults::Path(std::size_t row, bool absolute) const {
    if (!changes.empty()) {
        if (row >= changes.size()) return {};
        const std::string& path = changes[row].path;
        return absolute ? path : path.substr(std::min(changesCut, path.size()));
    }
    if (row >= rows.size()) return {};
    const StatRow& r = rows[row];
    if (r.label >= 0)
        return static_cast<std::size_t>(r.label) < labels.size() ? labels[static_cast<std::size_t>(r.label)]
                                                                 : std::string();
    return paths.Path(r.folder, r.file ? &r.file->name : nullptr, absolute);
}

std::string StatResults::Value(std::size_t row) const {
    if (!changes.empty()) {
        if (row >= changes.size()) return {};
        const compare::RankedItem& item = changes[row];
        if (!signedValues) return ValueText(std::max(item.now, item.then), fieldWidth);  // one of them is 0
        // Aligned as the unsigned values are: the sign takes the blank before the digits.
        std::string text = ValueText(item.change.amount, fieldWidth);
        if (item.change.Zero()) return text;
        const char sign = item.change.shrunk ? '-' : '+';
        if (!text.empty() && text.front() == ' ')
            text[text.find_first_not_of(' ') - 1] = sign;
        else
            text.insert(text.begin(), sign);
        return text;
    }
    if (row >= rows.size()) return {};
    return ValueText(rows[row].key, fieldWidth);
}

template <class Key>
GenericCollector<Key>::GenericCollector(const model::DirInfo& start, int maxItems, bool visitFiles, bool recurse,
                                        std::string basePath)
    : start_(start), maxItems_(maxItems > 0 ? static_cast<std::size_t>(maxItems) : 0), visitFiles_(visitFiles),
      recurse_(recurse), paths_(std::move(basePath)) {}

template <class Key>
void GenericCollector<Key>::Offer(Key key, std::uint32_t folder, const model::FileInfo* file) {
    if (heap_.size() < maxItems_) {
        heap_.push_back({key, offered_++, folder, file});
        std::push_heap(heap_.begin(), heap_.end(), Later);
        return;
    }
    if (heap_.empty() || !(key > heap_.front().key)) return;
    // Full: the smallest goes, the earliest of equal smallest keys first, and the new entry takes its place.
    std::pop_heap(heap_.begin(), heap_.end(), Later);
    heap_.back() = {key, offered_++, folder, file};
    std::push_heap(heap_.begin(), heap_.end(), Later);
}

template <class Key>
std::uint32_t GenericCollector<Key>::NodeOf(std::size_t level) {
    std::size_t made = level;
    while (stack_[made].node == kUnmade) --made;  // level 0, the start folder, has its node
    for (; made < level; ++made) stack_[made + 1].node = paths_.Add(stack_[made].node, stack_[made + 1].dir->name);
    return stack_[level].node;
}

template <class Key>
void GenericCollector<Key>::Walk() {
    if (maxItems_ == 0) return;
    const std::string& base = paths_.BasePath();
    stack_.assign(1, {&start_, 0,
                      FolderRef{0, CharacterCount(base),
                                static_cast<std::size_t>(std::count(base.begin(), base.end(), '\\'))},
                      PathTable::kStart});
    if (visitFiles_) VisitFiles(start_, stack_.back().ref);
    while (!stack_.empty()) {
        Frame& top = stack_.back();
        if (top.next == top.dir->subdirs.size()) {
            stack_.pop_back();
            continue;
        }
        const model::DirInfo& sub = top.dir->subdirs[top.next++];
        const FolderRef ref{stack_.size(), top.ref.characters + CharacterCount(sub.name) + 1,
                            top.ref.backslashes +
                                static_cast<std::size_t>(std::count(sub.name.begin(), sub.name.end(), '\\')) + 1};
        stack_.push_back({&sub, 0, ref, kUnmade});
        VisitDir(sub, ref);
        if (!recurse_) {
            stack_.pop_back();
            continue;
        }
        if (visitFiles_) VisitFiles(sub, ref);
    }
}

template <class Key>
StatResults GenericCollector<Key>::TakeResults(int fieldWidth) {
    std::sort(heap_.begin(), heap_.end(), Later);  // ascending under Later: largest (key, order) first
    StatResults results;
    results.fieldWidth = fieldWidth;
    results.rows.reserve(heap_.size());
    for (const Entry& entry : heap_)
        results.rows.push_back({static_cast<std::uint64_t>(entry.key), entry.folder, entry.file});
    results.paths = std::move(paths_);
    heap_.clear();
    return results;
}

template class GenericCollector<std::uint64_t>;
template class GenericCollector<int>;

namespace {
int ClampedInt(std::uint64_t value) noexcept {
    return static_cast<int>(std::min<std::uint64_t>(value, std::numeric_limits<int>::max()));
}
}  // namespace

int PathLengthKey(const model::DirInfo&, const FolderRef& self, std::uint32_t) {
    return ClampedInt(self.characters - 1);
}
int PathDepthKey(const model::DirInfo&, const FolderRef& self, std::uint32_t) {
    return ClampedInt(self.backslashes - 1);
}
int LocalFilesKey(const model::DirInfo& dir, const FolderRef&, std::uint32_t) { return ClampedInt(dir.files.size()); }
int DeepFilesKey(const model::DirInfo& dir, const FolderRef&, std::uint32_t) { return ClampedInt(dir.deepFiles); }
std::uint64_t LocalBytesKey(const model::DirInfo& dir, const FolderRef&, std::uint32_t) { return dir.localSize; }
std::uint64_t DeepBytesKey(const model::DirInfo& dir, const FolderRef&, std::uint32_t) { return dir.deepSize; }

std::uint64_t LocalWasteKey(const model::DirInfo& dir, const FolderRef&, std::uint32_t clusterSize) {
    std::uint64_t waste = 0;
    for (const model::FileInfo& file : dir.files) waste += model::WastedSize(file.size, clusterSize);
    return waste;
}

const char* ProblemText(StatsProblem problem) noexcept {
    switch (problem) {
    case StatsProblem::kNone: return "";
    case StatsProblem::kMaxItems: return "Must specify a non-zero number of items";
    case StatsProblem::kFolder: return "Could not locate the specified dir.\r\nPlease enter a valid, full path.";
    case StatsProblem::kNoClusterSize: return "Cluster size unavailable\r\nCannot use this query";
    case StatsProblem::kNoQuery: return "Please select a query from the list";
    }
    return "";
}

int ParseMaxItems(std::string_view text, bool* clamped) noexcept {
    if (clamped) *clamped = false;
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return 0;
    text = text.substr(first, text.find_last_not_of(' ') - first + 1);
    std::uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return 0;
        value = std::min<std::uint64_t>(value * 10 + static_cast<std::uint64_t>(c - '0'),
                                        std::uint64_t{kMaxItemsLimit} + 1);
    }
    if (value > kMaxItemsLimit) {
        if (clamped) *clamped = true;
        return kMaxItemsLimit;
    }
    return static_cast<int>(value);
}

StatsScope ResolveFolder(const model::DirInfo& root, std::string_view typed) {
    StatsScope scope;
    if (typed.empty()) return scope;
    scope.basePath = typed;
    std::replace(scope.basePath.begin(), scope.basePath.end(), '/', '\\');
    if (scope.basePath.back() != '\\') scope.basePath += '\\';
    scope.start = model::FindDirByPath(root, scope.basePath);
    return scope;
}

StatsPlan PlanQuery(const StatsForm& form, const model::DirInfo& root, std::uint32_t clusterSize,
                    const compare::TreeComparison* comparison) {
    StatsPlan plan;
    plan.maxItems = ParseMaxItems(form.maxItems, &plan.maxItemsClamped);
    if (plan.maxItems == 0) {
        plan.problem = StatsProblem::kMaxItems;
        return plan;
    }
    plan.recurse = form.recurse;
    StatsScope scope = form.rootScope ? StatsScope{&root, root.name.str() + "\\"} : ResolveFolder(root, form.folder);
    plan.start = scope.start;
    plan.basePath = std::move(scope.basePath);
    if (!plan.start) {
        plan.problem = StatsProblem::kFolder;
        return plan;
    }
    plan.query = form.query;
    if (form.query == kMostWasteLocal && clusterSize == 0)
        plan.problem = StatsProblem::kNoClusterSize;
    else if (form.query < 0 || form.query >= OfferedQueryCount(comparison != nullptr))
        plan.problem = StatsProblem::kNoQuery;
    return plan;
}

namespace {
template <class Collector, class... Extra>
StatResults Collect(const StatsPlan& plan, Extra... extra) {
    Collector collector(*plan.start, plan.maxItems, plan.recurse, plan.basePath, extra...);
    collector.Walk();
    return collector.TakeResults(FieldWidth(plan.query));
}
}  // namespace

StatResults LargestTypes(const model::DirInfo& start, bool recurse, int maxItems) {
    const model::TypeTable table = model::ComputeTypeTable(start, recurse, 0);
    // Sizes and numbers only: a tree's random names can make millions of types, and the texts are read
    // only for ties.
    struct Ranked {
        std::uint64_t bytes;
        std::uint32_t index;
    };
    std::vector<Ranked> types(table.TypeCount());
    for (std::uint32_t index = 0; index < types.size(); ++index)
        types[index] = {table.TypeAt(index).totals.bytes, index};
    const std::size_t count = std::min(types.size(), static_cast<std::size_t>(std::max(maxItems, 0)));
    std::partial_sort(types.begin(), types.begin() + static_cast<std::ptrdiff_t>(count), types.end(),
                      [&table](const Ranked& a, const Ranked& b) {
                          return a.bytes != b.bytes ? a.bytes > b.bytes
                                                    : table.TypeAt(a.index).type < table.TypeAt(b.index).type;
                      });
    StatResults results;
    results.fieldWidth = FieldWidth(kLargestTypes);
    for (std::size_t i = 0; i < count; ++i) {
        results.labels.push_back(model::TypeDisplayName(table.TypeAt(types[i].index).type));
        results.rows.push_back({types[i].bytes, PathTable::kStart, nullptr, static_cast<std::int32_t>(i)});
    }
    return results;
}

namespace {
// The comparison's queries, limited to the plan's folder.
StatResults RankChanges(const StatsPlan& plan, const model::DirInfo& root, const compare::TreeComparison& comparison) {
    static constexpr compare::Ranking kRankings[] = {compare::Ranking::kGrowth, compare::Ranking::kShrink,
                                                     compare::Ranking::kNewFiles, compare::Ranking::kGone};
    compare::RankingQuery query;
    query.ranking = kRankings[plan.query - kLargestGrowth];
    query.count = static_cast<std::size_t>(plan.maxItems);
    // Root names hold backslashes when a folder was scanned as the root: the base path starts with the
    // root's name, whatever is typed after it.
    const std::size_t rootLength = std::min(root.name.size() + 1, plan.basePath.size());
    query.scope = std::string_view(plan.basePath).substr(rootLength);
    query.recurse = plan.recurse;
    StatResults results{FieldWidth(plan.query), {}, PathTable(plan.basePath)};
    results.changes = compare::Rank(root, comparison, query);
    results.signedValues = plan.query == kLargestGrowth || plan.query == kLargestShrink;
    // Removed items carry the earlier tree's root name.
    const std::size_t pathsRoot = plan.query == kLargestRemoved ? comparison.Earlier().name.size() + 1 : rootLength;
    results.changesCut = pathsRoot + query.scope.size();
    return results;
}
}  // namespace

StatResults RunQuery(const StatsPlan& plan, std::uint32_t clusterSize, const model::DirInfo* root,
                     const compare::TreeComparison* comparison) {
    if (plan.problem != StatsProblem::kNone || !plan.start) return {0, {}, PathTable(plan.basePath)};
    if (IsChangeQuery(plan.query)) {
        if (!root || !comparison) return {FieldWidth(plan.query), {}, PathTable(plan.basePath)};
        return RankChanges(plan, *root, *comparison);
    }
    switch (plan.query) {
    case kLargestFiles: return Collect<CollectLargeFiles>(plan);
    case kLongestPaths: return Collect<CollectLongPaths>(plan);
    case kDeepestPaths: return Collect<CollectDeepPaths>(plan);
    case kMostFilesLocal: return Collect<CollectManyFileDirs>(plan);
    case kMostFilesDeep: return Collect<CollectDeepManyFileDirs>(plan);
    case kMostBytesLocal: return Collect<CollectManyByteDirs>(plan);
    case kMostBytesDeep: return Collect<CollectDeepManyByteDirs>(plan);
    case kMostWasteLocal: return Collect<CollectBigWasteDirs>(plan, clusterSize);
    case kLargestTypes: {
        StatResults results = LargestTypes(*plan.start, plan.recurse, plan.maxItems);
        results.paths = PathTable(plan.basePath);
        return results;
    }
    }
    return {0, {}, PathTable(plan.basePath)};
}

std::string ValueText(std::uint64_t key, int width) {
    std::string digits = std::to_string(key);
    std::string text(digits.size() < static_cast<std::size_t>(std::max(width, 0))
                         ? static_cast<std::size_t>(width) - digits.size()
                         : 0,
                     ' ');
    text += digits;
    model::InsertGroupCommas(text);
    return text;
}

std::string SelectionText(const StatResults& results, const std::vector<std::size_t>& rows, bool absolute) {
    std::string text;
    for (std::size_t row : rows) {
        if (row >= results.Count()) continue;
        text.append(results.Path(row, absolute)).append("\r\n");
    }
    return text;
}

std::string FolderOfResult(std::string_view path) {
    const std::size_t backslash = path.rfind('\\');
    if (backslash != std::string_view::npos && backslash + 1 != path.size()) path = path.substr(0, backslash + 1);
    return std::string(path);
}

}  // namespace info
