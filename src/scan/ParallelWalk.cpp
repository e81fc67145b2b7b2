// The directory walk on several workers (see ParallelWalk.h for the protocol).
#include "scan/ParallelWalk.h"

#include <algorithm>
#include <atomic>
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

// A folder begun and not yet finished. Parents outlive their children here, so the chain up to the root
// is always there to compose a path from and to finish totals along.
struct Folder {
    model::DirInfo* dir = nullptr;
    Folder* parent = nullptr;
    std::uint32_t depth = 0;
    std::uint64_t serial = 0;  // tells a recycled record from the one a worker remembers
    // The folder's own listing plus its subfolders not yet finished; the worker that takes it to 0
    // finishes the folder.
    std::atomic<std::uint32_t> pending{1};
};

// What the workers share: the queue and the pool of folder records behind one lock.
class Shared {
public:
    explicit Shared(model::DirInfo& root) {
        std::lock_guard lock(mutex_);
        queue_.push_back(Allocate(root, nullptr));
    }

    // The next folder to list, or null when the walk is over (finished, stopped or failed). Returns the
    // worker's finished records to the pool on the way.
    Folder* Take(std::vector<Folder*>& finished) {
        std::unique_lock lock(mutex_);
        spare_.insert(spare_.end(), finished.begin(), finished.end());
        finished.clear();
        while (queue_.empty() && !complete_ && !stopping_) {
            ++waiting_;
            wake_.wait(lock);
            --waiting_;
        }
        if (complete_ || stopping_) return nullptr;
        Folder* folder = queue_.back();
        queue_.pop_back();
        return folder;
    }

    // Queues the subfolders `enter` of `parent` (indexes into its subdirs), so that the first is taken
    // next: the walk then goes down in the single walk's order and keeps its queue short.
    void Queue(Folder& parent, const std::vector<std::size_t>& enter) {
        std::lock_guard lock(mutex_);
        for (auto index = enter.rbegin(); index != enter.rend(); ++index)
            queue_.push_back(Allocate(parent.dir->subdirs[*index], &parent));
        // The worker that queued them takes one itself next.
        if (waiting_ > 0 && enter.size() > 1) {
            if (enter.size() > 2)
                wake_.notify_all();
            else
                wake_.notify_one();
        }
    }

    void Complete() { End(complete_); }
    void Stop() { End(stopping_); }
    void Fail(std::exception_ptr failure) {
        {
            std::lock_guard lock(mutex_);
            if (!failure_) failure_ = std::move(failure);
        }
        Stop();
    }

    // After every worker has returned.
    bool IsComplete() const noexcept { return complete_; }
    std::exception_ptr Failure() const { return failure_; }

private:
    Folder* Allocate(model::DirInfo& dir, Folder* parent) {
        Folder* folder;
        if (!spare_.empty()) {
            folder = spare_.back();
            spare_.pop_back();
        } else {
            folder = &pool_.emplace_back();
        }
        folder->dir = &dir;
        folder->parent = parent;
        folder->depth = parent ? parent->depth + 1 : 0;
        folder->serial = ++serial_;
        folder->pending.store(1, std::memory_order_relaxed);
        return folder;
    }

    void End(bool& flag) {
        std::lock_guard lock(mutex_);
        flag = true;
        wake_.notify_all();
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    std::vector<Folder*> queue_;  // taken from the back
    std::deque<Folder> pool_;     // records never move, so pointers to them stay valid
    std::vector<Folder*> spare_;
    std::uint64_t serial_ = 0;
    unsigned waiting_ = 0;
    bool complete_ = false;
    bool stopping_ = false;
    std::exception_ptr failure_;
};

// One worker's walk: takes folders until the walk is over.
class Worker {
public:
    Worker(Shared& shared, DirLister& lister, std::uint32_t clusterSize, ScanCounters& counters,
           WalkControl& control, const std::string& rootPath)
        : shared_(shared), lister_(lister), clusterSize_(clusterSize), counters_(counters), control_(control),
          rootPath_(rootPath) {}

    // Never throws: a failure stops every worker and is kept for the caller.
    void Run() noexcept {
        try {
            while (Folder* folder = shared_.Take(finished_)) {
                control_.PausePoint();
                if (control_.StopRequested()) {
                    shared_.Stop();
                    return;
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
                path_ += chain_[level].folder->dir->name;
            }
            chain_[level].length = path_.size();
        }
    }

    void List(Folder& folder) {
        ComposePath(folder);
        model::DirInfo& dir = *folder.dir;
        enter_.clear();
        if (std::unique_ptr<DirListing> listing = lister_.Open(path_)) {
            // The entries gather here first, so that the folder's arrays are made once at their size:
            // arrays grown entry by entry and then shrunk leave holes in the heap between workers.
            std::size_t files = 0, folders = 0, fileNameBytes = 0, folderNameBytes = 0;
            for (;;) {
                if (taken_ == entries_.size()) entries_.emplace_back();
                DirEntry& entry = entries_[taken_];
                if (!listing->Next(entry)) break;
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
            listing.reset();
            dir.files.reserve(files, fileNameBytes);
            dir.subdirs.reserve(folders, folderNameBytes);
            for (std::size_t i = 0; i < taken_; ++i) {
                DirEntry& entry = entries_[i];
                if (entry.isDirectory) {
                    dir.subdirs.emplace_back(std::move(entry.name));
                    if (!entry.isReparsePoint) enter_.push_back(dir.subdirs.size() - 1);
                } else {
                    dir.localSize += entry.size;
                    dir.files.emplace_back(std::move(entry.name), entry.size, 0);
                }
            }
            // A buffer that a huge folder grew is not kept for the rest of the walk.
            if (taken_ > kEntriesKept) std::vector<DirEntry>().swap(entries_);
            taken_ = 0;
        }
        if (!enter_.empty()) {
            folder.pending.fetch_add(static_cast<std::uint32_t>(enter_.size()), std::memory_order_relaxed);
            shared_.Queue(folder, enter_);
        }
        Release(folder);
    }

    // Adds what this worker has found since it last did to the shared counters. Workers that added every
    // entry there would fight over one cache line; the display reads it once a second.
    void Count() noexcept {
        if (tally_.files) counters_.filesFound.fetch_add(tally_.files, std::memory_order_relaxed);
        if (tally_.folders) counters_.foldersFound.fetch_add(tally_.folders, std::memory_order_relaxed);
        if (tally_.bytes) counters_.bytesFound.fetch_add(tally_.bytes, std::memory_order_relaxed);
        tally_ = {};
    }

    // Drops one pending count of `folder`; the last one finishes it, and so on up the chain.
    void Release(Folder& folder) {
        Folder* current = &folder;
        while (current->pending.fetch_sub(1, std::memory_order_acq_rel) == 1) {
            FinishTotals(*current->dir);
            finished_.push_back(current);
            current = current->parent;
            if (!current) {
                shared_.Complete();
                return;
            }
        }
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
    std::vector<Known> chain_;          // the folders of path_, root first
    std::vector<std::size_t> enter_;    // subfolders of the folder being listed that are to be entered
    std::vector<DirEntry> entries_;     // the folder being listed; its first taken_ are in use
    std::size_t taken_ = 0;
    std::vector<Folder*> finished_;     // back to the pool at the next Take
    Tally tally_;                       // found and not yet counted
};

}  // namespace

unsigned DefaultWorkerCount() noexcept {
    return std::clamp(std::thread::hardware_concurrency(), 1u, 8u);
}

ParallelWalker::ParallelWalker(DirLister& lister, std::uint32_t clusterSize, ScanCounters& counters,
                               WalkControl& control, unsigned workers) noexcept
    : lister_(lister), clusterSize_(clusterSize), counters_(counters), control_(control),
      workers_(workers != 0 ? workers : DefaultWorkerCount()) {}

bool ParallelWalker::Walk(model::DirInfo& root, const std::string& path) {
    Shared shared(root);
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
        Worker worker(shared, lister_, clusterSize_, counters_, control_, path);
        worker.Run();
    };
    threads.reserve(workers_ - 1);
    for (unsigned i = 1; i < workers_; ++i) {
        try {
            threads.emplace_back([&] {
                try {
                    control_.WorkerStarted();
                } catch (...) {
                    shared.Fail(std::current_exception());
                }
                body();
                control_.WorkerEnded();
            });
        } catch (const std::system_error&) {
            break;  // the system refused another thread: the walk goes on with those it has
        }
    }
    body();
    for (std::thread& thread : threads) thread.join();
    threads.clear();
    if (std::exception_ptr failure = shared.Failure()) std::rethrow_exception(failure);
    return shared.IsComplete();
}

bool WalkTree(DirLister& lister, std::uint32_t clusterSize, ScanCounters& counters, WalkControl& control,
              unsigned workers, model::DirInfo& root, const std::string& path) {
    if (workers == 0) workers = DefaultWorkerCount();
    if (workers == 1) {
        std::string scratch = path;
        return Walker(lister, clusterSize, counters, control).Walk(root, scratch);
    }
    return ParallelWalker(lister, clusterSize, counters, control, workers).Walk(root, path);
}

}  // namespace scan
