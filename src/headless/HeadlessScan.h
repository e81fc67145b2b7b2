// The headless scanner's run, apart from the system it runs on: parse the command line, resolve the root,
// scan it (the volume's file table where the system can read one, else the folder walk, on as many
// workers as asked for; the lister's Open is then called from all of them at once) while it writes the
// data file beside the target folder by folder (a walked tree is never held whole), rename the file only
// when complete, and report on the error stream. The two programs (ScanMainPosix.cpp, ScanMainWin32.cpp)
// supply a ScanSystem and the interrupt flag their signal or console handler sets; tests supply fakes.
//
// Calling protocol: RunScan once per process, on its main thread; `interrupted` may be set from any thread
// or a signal handler at any time. The return value is the process's exit status (the k... constants).
#pragma once

#include "model/DirInfo.h"
#include "scan/DirLister.h"
#include "scan/Walk.h"
#include "scan/ntfs/FileTable.h"

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace headless {

inline constexpr int kExitDone = 0;
inline constexpr int kExitFailed = 1;         // ROOT cannot be read, or OUTPUT cannot be written
inline constexpr int kExitBadArguments = 2;   // with a message naming the argument and the usage text
inline constexpr int kExitInterrupted = 130;  // as shells report an end by Ctrl+C; OUTPUT untouched

struct ResolvedRoot {
    std::string walkPath;  // what the lister opens for the root: no trailing separator ("C:", "" for /)
    std::string rootName;  // the root record's name in the data file
    std::string error;     // not empty: the root cannot be listed, and why
};

class ScanSystem {
public:
    virtual scan::DirLister& Lister() = 0;
    // Makes the user's ROOT absolute and normal, names it, and checks that it can be listed.
    virtual ResolvedRoot ResolveRoot(const std::string& root) = 0;
    // The cluster size of the volume holding the root; 0 when not known.
    virtual std::uint32_t DetectClusterSize(const ResolvedRoot& root) = 0;
    // The tree from the volume's file table, where the system can read it; kUnavailable walks the folders.
    virtual scan::ntfs::ReadResult ReadFileTable(const ResolvedRoot& /*root*/, model::DirInfo& /*tree*/,
                                                 scan::ScanCounters& /*counters*/, scan::WalkControl& /*control*/,
                                                 std::uint32_t /*clusterSize*/) {
        return scan::ntfs::ReadResult::kUnavailable;
    }
    // The name a folder or file below the root is stored under, where it differs from the name listed:
    // true, with `stored` set. Called as each is written, from any of the walk's workers, one at a time.
    virtual bool StoredName(std::string_view /*listed*/, std::string& /*stored*/) { return false; }
    // Moves the finished file over the target in one step; false when the system refuses.
    virtual bool ReplaceTarget(const std::string& from, const std::string& to) = 0;
    // True when the error stream is a terminal (progress is shown only there).
    virtual bool ErrorStreamIsTerminal() = 0;

protected:
    ~ScanSystem() = default;
};

// `words`: the arguments after the program name, UTF-8. Usage and version go to `out`; progress,
// summary and errors to `err`.
int RunScan(const std::vector<std::string>& words, ScanSystem& system, const std::atomic<bool>& interrupted,
            std::FILE* out, std::FILE* err);

}  // namespace headless
