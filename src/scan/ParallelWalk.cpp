// The directory walk (see ParallelWalk.h for the protocol).
#include "scan/ParallelWalk.h"

#include "scan/TreeOutput.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace scan {

namespace {

// A folder from the moment its parent's listing names it until it and everything below it have been handed
// on. Parents outlive their children here, so the chain up to the root is always there to compose a path
// from. The folders known form one list in pre-order, whose labels order the folders waiting to be listed
// in constant time at any depth.
struct Folder {
    enum class State : std::uint8_t { kQueued, kListing, kListed, kHandedOn, kSpare };

    std::string name;
    Folder* parent = nullptr;
    Folder* firstChild = nullptr;  // set once listed
    Folder* nextSibling = nullptr;
    Folder* before = nullptr;  // its neighbours among the folders known, in pre-order
    Folder* after = nullptr;
    std::uint64_t order = 0;  // grows along that list
    std::uint32_t depth = 0;
    std::uint64_t serial = 0;  // tells a recycled record from the one a worker remembers
    State state = State::kQueued;
    std::size_t entries = 0;  // records in `listing`, while it waits to be handed on
    model::DirInfo listing;   // kListed: its own entries, for the output
};

// A heap whose top is the folder earliest in pre-order.
bool Later(const Folder* a, const Folder* b) noexcept { return a->order > b->order; }

struct Subfolder {
    std::string name;
    bool enter;  // false for a link
};

// What the workers share, behind one lock: the folders to list, the folder that comes next, and the pool
// of folder records.
class Shared {
public:
    Shared(ScanOutput& output, std::string_view rootName) : output_(output), lookAhead_(output.LookAhead()) {
        std::lock_guard lock(mutex_);
        next_ = first_ = Allocate(std::string(rootName), nullptr);
        Queue(next_);
    }

    // The next folder to list, or null when the walk is over for this worker (handed on, stopped or
    // failed). On the way it hands on every folder ready to go, unless another worker is doing so.
    Folder* Take() {
        std::unique_lock lock(mutex_);
        for (;;) {
            if (failure_) return nullptr;
            if (!handingOn_ && next_ && next_->state == Folder::State::kListed) {
                HandOn(lock);
                continue;
            }
            if (!next_ || stopping_) return nullptr;
            if (!queue_.empty() && (held_ < lookAhead_ || queue_.front() == next_)) {
                std::pop_heap(queue_.begin(), queue_.end(), Later);
                Folder* folder = queue_.back();
                queue_.pop_back();
                folder->state = Folder::State::kListing;
                return folder;
            }
            ++waiting_;
            wake_.wait(lock);
            --waiting_;
        }
    }

    // `folder` has been listed into `listing`; its subfolders, in listing order, are named in `subfolders`
    // (whose names are taken).
    void Listed(Folder& folder, model::DirInfo& listing, std::vector<Subfolder>& subfolders) {
        std::lock_guard lock(mutex_);
        folder.entries = listing.files.size() + listing.subdirs.size();
        folder.listing = std::move(listing);
        folder.state = Folder::State::kListed;
        held_ += folder.entries;
        Folder** link = &folder.firstChild;
        std::size_t queued = 0;
        Order(folder, subfolders.size());
        std::uint64_t order = folder.order;
        Folder* previous = &folder;
        for (std::size_t i = 0; i < subfolders.size(); ++i) {
            Folder* child = Allocate(std::move(subfolders[i].name), &folder);
            *link = child;
            link = &child->nextSibling;
            // Pre-order: the children come right after the folder, before whatever came after it.
            child->order = order += orderStep_;
            child->before = previous;
            child->after = previous->after;
            if (child->after) child->after->before = child;
            previous->after = child;
            previous = child;
            if (subfolders[i].enter) {
                Queue(child);
                ++queued;
            } else {
                child->state = Folder::State::kListed;  // a link is handed on empty
            }
        }
        // The worker that queued them takes one itself next, unless it hands this folder on first.
        const std::size_t forOthers = &folder == next_ || queued == 0 ? queued : queued - 1;
        if (waiting_ > 0 && forOthers > 0) {
            if (forOthers > 1)
                wake_.notify_all();
            else
                wake_.notify_one();
        }
    }

    void Stop() {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        wake_.notify_all();
    }

    void Fail(std::exception_ptr failure) {
        std::lock_guard lock(mutex_);
        if (!failure_) failure_ = std::move(failure);
        stopping_ = true;
        wake_.notify_all();
    }

    // After every worker has returned.
    bool IsComplete() const noexcept { return next_ == nullptr && !failure_; }
    std::exception_ptr Failure() const { return failure_; }

    // After every worker has returned from a walk that did not complete: takes the folders listed and never
    // handed on out of the counters again.
    void Uncount(ScanCounters& counters, std::uint32_t clusterSize) const {
        std::uint32_t files = 0, folders = 0;
        std::uint64_t bytes = 0;
        for (const Folder& folder : pool_) {
            if (folder.state != Folder::State::kListed) continue;
            files += static_cast<std::uint32_t>(folder.listing.files.size());
            folders += static_cast<std::uint32_t>(folder.listing.subdirs.size());
            for (const model::FileInfo& file : folder.listing.files) bytes += CountedBytes(file.size, clusterSize);
        }
        counters.filesFound.fetch_sub(files, std::memory_order_relaxed);
        counters.foldersFound.fetch_sub(folders, std::memory_order_relaxed);
        counters.bytesFound.fetch_sub(bytes, std::memory_order_relaxed);
    }

private:
    Folder* Allocate(std::string name, Folder* parent) {
        Folder* folder;
        if (!spare_.empty()) {
            folder = spare_.back();
            spare_.pop_back();
        } else {
            folder = &pool_.emplace_back();
        }
        folder->name = std::move(name);
        folder->parent = parent;
        folder->firstChild = nullptr;
        folder->nextSibling = nullptr;
        folder->before = folder->after = nullptr;
        folder->order = 0;
        folder->depth = parent ? parent->depth + 1 : 0;
        folder->serial = ++serial_;
        folder->state = Folder::State::kQueued;
        folder->entries = 0;
        return folder;
    }

    // Makes room for `count` labels right after `folder` and sets orderStep_ to their spacing. When the gap
    // to the next folder is used up (each level of a deep chain takes a part of it), the labels of every
    // folder known are spread out evenly again, in the same order.
    void Order(Folder& folder, std::size_t count) {
        if (count == 0) return;
        auto gap = [&] { return (folder.after ? folder.after->order : kLastOrder) - folder.order; };
        if (gap() / (count + 1) == 0) {
            std::uint64_t known = count;
            for (const Folder* f = first_; f; f = f->after) ++known;
            const std::uint64_t spacing = kLastOrder / (known + 1);
            std::uint64_t label = 0;
            for (Folder* f = first_; f; f = f->after) f->order = label += spacing;
        }
        orderStep_ = gap() / (count + 1);
    }

    void Queue(Folder* folder) {
        queue_.push_back(folder);
        std::push_heap(queue_.begin(), queue_.end(), Later);
    }

    // Hands on the folder that comes next and each one after it that is ready. The output is called
    // without the lock: meanwhile no other worker hands on, and none touches a folder handed on.
    void HandOn(std::unique_lock<std::mutex>& lock) {
        handingOn_ = true;
        while (!failure_ && next_ && next_->state == Folder::State::kListed) {
            Folder* folder = next_;
            folder->state = Folder::State::kHandedOn;
            const bool wasFull = held_ >= lookAhead_;
            held_ -= folder->entries;
            lock.unlock();
            {
                // Unlocked until the record is returned, however the output returns.
                struct Relock {
                    std::unique_lock<std::mutex>& lock;
                    ~Relock() { lock.lock(); }
                } relock{lock};
                output_.Folder(folder->name, folder->listing);
                folder->listing = model::DirInfo();  // what the output left is freed outside the lock
            }
            Advance(folder);
            if (waiting_ > 0 && ((wasFull && held_ < lookAhead_) || !next_)) wake_.notify_all();
        }
        handingOn_ = false;
    }

    // After `folder` was handed on: the folder that comes next, and the records of folders now handed on
    // with everything below them back to the pool.
    void Advance(Folder* folder) {
        if (folder->firstChild) {
            next_ = folder->firstChild;
            return;
        }
        while (folder) {
            Folder* sibling = folder->nextSibling;
            Folder* parent = folder->parent;
            (folder->before ? folder->before->after : first_) = folder->after;
            if (folder->after) folder->after->before = folder->before;
            folder->state = Folder::State::kSpare;
            spare_.push_back(folder);
            if (sibling) {
                next_ = sibling;
                return;
            }
            folder = parent;
        }
        next_ = nullptr;
    }

    ScanOutput& output_;
    const std::size_t lookAhead_;
    std::mutex mutex_;
    std::condition_variable wake_;
    static constexpr std::uint64_t kLastOrder = ~std::uint64_t{0};
    std::vector<Folder*> queue_;  // folders to list, a heap by pre-order
    Folder* first_ = nullptr;     // of the folders known, in pre-order
    std::uint64_t orderStep_ = 0;
    Folder* next_ = nullptr;  // the folder to hand on next; null once the root and all below it are
    bool handingOn_ = false;
    std::size_t held_ = 0;     // entries of folders listed and not yet handed on
    std::deque<Folder> pool_;  // records never move, so pointers to them stay valid
    std::vector<Folder*> spare_;
    std::uint64_t serial_ = 0;
    unsigned waiting_ = 0;
    bool stopping_ = false;
    std::exception_ptr failure_;
};

// One worker's walk: takes folders until the walk is over.
class Worker {
public:
    Worker(Shared& shared, DirLister& lister, std::uint32_t clusterSize, ScanCounters& counters, WalkControl& control,
           const std::string& rootPath)
        : shared_(shared), lister_(lister), clusterSize_(clusterSize), counters_(counters), control_(control),
          rootPath_(rootPath) {}

    // Never throws: a failure stops every worker and is kept for the caller.
    void Run() noexcept {
        try {
            while (Folder* folder = shared_.Take()) {
                control_.PausePoint();
                if (control_.StopRequested()) {
                    shared_.Stop();
                    continue;  // hands on what is ready, then ends
                }
                List(*folder);
            }
        } catch (...) {
            shared_.Fail(std::current_exception());
        }
    }

private:
    // The path of `folder` in path_. Usually its parent was listed here just before, so one name is
    // appended; otherwise the names below the deepest ancestor this worker still knows are.
    void ComposePath(const Folder& folder) {
        const Folder* known = folder.parent;
        while (known && !(known->depth < chain_.size() && chain_[known->depth].folder == known &&
                          chain_[known->depth].serial == known->serial))
            known = known->parent;
        std::size_t depth = 0;
        if (known) {
            depth = known->depth + 1;
            path_.resize(chain_[known->depth].length);
        } else {
            path_ = rootPath_;
        }
        chain_.resize(folder.depth + 1);
        // The folders below `known` down to `folder`, each the parent of the next.
        const Folder* step = &folder;
        for (std::size_t level = folder.depth + 1; level-- > depth;) {
            chain_[level] = {step, step->serial, 0};
            step = step->parent;
        }
        for (std::size_t level = depth; level <= folder.depth; ++level) {
            if (level > 0) {
                path_ += lister_.Separator();
                path_ += chain_[level].folder->name;
            }
            chain_[level].length = path_.size();
        }
    }

    void List(Folder& folder) {
        ComposePath(folder);
        model::DirInfo listing;
        subfolders_.clear();
        if (std::unique_ptr<DirListing> opened = lister_.Open(path_)) {
            // The entries gather here first, so that the folder's arrays are made once at their size:
            // arrays grown entry by entry and then shrunk leave holes in the heap between workers.
            std::size_t files = 0, folders = 0, fileNameBytes = 0, folderNameBytes = 0;
            for (;;) {
                if (taken_ == entries_.size()) entries_.emplace_back();
                DirEntry& entry = entries_[taken_];
                if (!opened->Next(entry)) break;
                if (IsDotOrDotDot(entry.name)) continue;
                ++taken_;
                if (entry.isDirectory) {
                    ++folders;
                    folderNameBytes += model::Name::StoredSize(entry.name.size());
                    ++tally_.folders;
                } else {
                    ++files;
                    fileNameBytes += model::Name::StoredSize(entry.name.size());
                    ++tally_.files;
                    tally_.bytes += CountedBytes(entry.size, clusterSize_);
                }
                if (++tally_.entries == kEntriesPerCount) Count();
                control_.PausePoint();
            }
            Count();
            opened.reset();
            listing.files.reserve(files, fileNameBytes);
            listing.subdirs.reserve(folders, folderNameBytes);
            subfolders_.reserve(folders);
            for (std::size_t i = 0; i < taken_; ++i) {
                const DirEntry& entry = entries_[i];
                if (entry.isDirectory) {
                    listing.subdirs.emplace_back(entry.name);
                    subfolders_.push_back({entry.name, !entry.isReparsePoint});
                } else {
                    listing.localSize += entry.size;
                    listing.files.emplace_back(entry.name, entry.size, 0);
                }
            }
            // A buffer that a huge folder grew is not kept for the rest of the walk.
            if (taken_ > kEntriesKept) std::vector<DirEntry>().swap(entries_);
            if (subfolders_.size() > kEntriesKept) std::vector<Subfolder>().swap(subfolders_);
            taken_ = 0;
        }
        shared_.Listed(folder, listing, subfolders_);
    }

    // Adds what this worker has found since it last did to the shared counters. Workers that added every
    // entry there would fight over one cache line; the display reads it once a second.
    void Count() noexcept {
        if (tally_.files) counters_.filesFound.fetch_add(tally_.files, std::memory_order_relaxed);
        if (tally_.folders) counters_.foldersFound.fetch_add(tally_.folders, std::memory_order_relaxed);
        if (tally_.bytes) counters_.bytesFound.fetch_add(tally_.bytes, std::memory_order_relaxed);
        tally_ = {};
    }

    static constexpr std::uint32_t kEntriesPerCount = 256;
    static constexpr std::size_t kEntriesKept = 65536;
    struct Tally {
        std::uint32_t entries = 0, files = 0, folders = 0;
        std::uint64_t bytes = 0;
    };

    struct Known {
        const Folder* folder;
        std::uint64_t serial;
        std::size_t length;  // of its path in path_
    };

    Shared& shared_;
    DirLister& lister_;
    std::uint32_t clusterSize_;
    ScanCounters& counters_;
    WalkControl& control_;
    const std::string& rootPath_;
    std::string path_;
    std::vector<Known> chain_;       // the folders of path_, root first
    std::vector<DirEntry> entries_;  // the folder being listed; its first taken_ are in use
    std::size_t taken_ = 0;
    std::vector<Subfolder> subfolders_;  // of the folder being listed
    Tally tally_;                        // found and not yet counted
};

}  // namespace

unsigned DefaultWorkerCount() noexcept { return std::clamp(std::thread::hardware_concurrency(), 1u, 8u); }

bool WalkFolders(DirLister& lister, std::uint32_t clusterSize, ScanCounters& counters, WalkControl& control,
                 unsigned workers, std::string_view rootName, const std::string& path, ScanOutput& output) {
    if (workers == 0) workers = DefaultWorkerCount();
    Shared shared(output, rootName);
    std::vector<std::thread> threads;
    // Every thread is joined on every way out; one still waiting for folders is told the walk is over.
    struct Joiner {
        Shared& shared;
        std::vector<std::thread>& threads;
        ~Joiner() {
            shared.Stop();
            for (std::thread& thread : threads) thread.join();
        }
    } joiner{shared, threads};
    auto body = [&] {
        Worker worker(shared, lister, clusterSize, counters, control, path);
        worker.Run();
    };
    threads.reserve(workers - 1);
    for (unsigned i = 1; i < workers; ++i) {
        try {
            threads.emplace_back([&] {
                try {
                    control.WorkerStarted();
                } catch (...) {
                    shared.Fail(std::current_exception());
                }
                body();
                control.WorkerEnded();
            });
        } catch (const std::system_error&) {
            break;  // the system refused another thread: the walk goes on with those it has
        }
    }
    body();
    for (std::thread& thread : threads) thread.join();
    threads.clear();
    if (std::exception_ptr failure = shared.Failure()) std::rethrow_exception(failure);
    if (shared.IsComplete()) return true;
    shared.Uncount(counters, clusterSize);
    return false;
}

bool WalkTree(DirLister& lister, std::uint32_t clusterSize, ScanCounters& counters, WalkControl& control,
              unsigned workers, model::DirInfo& root, const std::string& path) {
    TreeOutput output(root);
    const std::string rootName = root.name;
    return WalkFolders(lister, clusterSize, counters, control, workers, rootName, path, output);
}

}  // namespace scan
