// The headless scanner's run (see HeadlessScan.h).
#include "headless/HeadlessScan.h"

#include "KelvaranVersion.h"
#include "headless/CompareReport.h"
#include "headless/ScanArguments.h"
#include "headless/ScanReport.h"
#include "model/DataFile.h"
#include "scan/DataFileOutput.h"
#include "scan/ScanRoot.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <optional>
#include <thread>

namespace headless {
namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// Stops the scan on an interrupt, and once its file cannot be written.
class InterruptControl final : public scan::WalkControl {
public:
    InterruptControl(const std::atomic<bool>& interrupted, const scan::DataFileOutput& output)
        : interrupted_(interrupted), output_(output) {}
    bool StopRequested() const override { return interrupted_.load(std::memory_order_relaxed) || output_.Failed(); }
    void PausePoint() override {}

private:
    const std::atomic<bool>& interrupted_;
    const scan::DataFileOutput& output_;
};

// Rewrites one line on the terminal: at once, then once a second until stopped; stopping clears the line
// so the next text starts on a clean one.
class ProgressDisplay {
public:
    ProgressDisplay(std::FILE* err, const scan::ScanCounters& counters, Clock::time_point start)
        : err_(err), counters_(counters), start_(start), thread_([this] { Run(); }) {}
    ~ProgressDisplay() { Stop(); }
    ProgressDisplay(const ProgressDisplay&) = delete;
    ProgressDisplay& operator=(const ProgressDisplay&) = delete;

    void Stop() {
        {
            std::lock_guard lock(mutex_);
            if (stopped_) return;
            stopped_ = true;
        }
        wake_.notify_one();
        thread_.join();
        if (shownLength_ != 0) std::fprintf(err_, "\r%*s\r", static_cast<int>(shownLength_), "");
        std::fflush(err_);
    }

private:
    void Run() {
        std::unique_lock lock(mutex_);
        for (;;) {
            const ScanFigures figures{counters_.foldersFound.load(std::memory_order_relaxed),
                                      counters_.filesFound.load(std::memory_order_relaxed),
                                      counters_.bytesFound.load(std::memory_order_relaxed)};
            const std::string line = ProgressLine(figures, SecondsSince(start_));
            // Blanks cover what a longer line before left on the screen.
            const int pad = shownLength_ > line.size() ? static_cast<int>(shownLength_ - line.size()) : 0;
            std::fprintf(err_, "\r%s%*s", line.c_str(), pad, "");
            std::fflush(err_);
            shownLength_ = std::max(shownLength_, line.size());
            // The first line is drawn even when the scan has already ended: a short scan shows its figures.
            if (wake_.wait_for(lock, std::chrono::seconds(1), [this] { return stopped_; })) break;
        }
    }

    std::FILE* err_;
    const scan::ScanCounters& counters_;
    Clock::time_point start_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopped_ = false;
    std::size_t shownLength_ = 0;
    std::thread thread_;  // last: starts once everything above is set
};

void Message(std::FILE* err, const std::string& text) {
    std::fprintf(err, "kelvaran-scan: %s\n", text.c_str());
    std::fflush(err);
}

// Whether `output` can be created, before a scan that may take hours: the data file is written beside it
// under a temporary name that nothing has yet, which is tried and removed again.
std::string CannotWrite(const std::string& output) {
    const std::string partial = model::FreeTemporaryName(output, model::PathTaken);
    if (partial.empty()) return "every temporary name beside it is taken";
    std::FILE* probe = std::fopen(partial.c_str(), "wb");
    if (!probe) return std::strerror(errno);
    std::fclose(probe);
    std::remove(partial.c_str());
    return {};
}

}  // namespace

int RunScan(const std::vector<std::string>& words, ScanSystem& system, const std::atomic<bool>& interrupted,
            std::FILE* out, std::FILE* err) {
    if (IsCompareCommand(words)) return RunCompare(words, out, err);
    const ParsedArguments parsed = ParseScanArguments(words);
    switch (parsed.action) {
    case ParsedArguments::Action::kHelp: std::fputs(UsageText().c_str(), out); return kExitDone;
    case ParsedArguments::Action::kVersion:
        std::fputs("kelvaran-scan " KELVARAN_VERSION_TEXT "\n", out);
        return kExitDone;
    case ParsedArguments::Action::kBad:
        Message(err, parsed.error);
        std::fputs("\n", err);
        std::fputs(UsageText().c_str(), err);
        return kExitBadArguments;
    case ParsedArguments::Action::kScan: break;
    }
    const ScanOptions& options = parsed.options;

    const ResolvedRoot root = system.ResolveRoot(options.root);
    if (!root.error.empty()) {
        Message(err, "cannot read " + options.root + ": " + root.error);
        return kExitFailed;
    }
    if (const std::string reason = CannotWrite(options.output); !reason.empty()) {
        Message(err, "cannot write " + options.output + ": " + reason);
        return kExitFailed;
    }
    std::uint32_t clusterSize = options.clusterSize ? *options.clusterSize : system.DetectClusterSize(root);
    if (!model::IsValidClusterSize(clusterSize)) clusterSize = 0;  // the data file carries no other

    const Clock::time_point start = Clock::now();
    scan::ScanCounters counters;
    scan::DataFileOutput::Totals written;
    std::string failure;
    const scan::ScanSource source{system.Lister(),
                                  root.walkPath,
                                  root.rootName,
                                  clusterSize,
                                  options.threads,
                                  [&](const std::string&, model::DirInfo& tree, scan::ScanCounters& found,
                                      scan::WalkControl& control, std::uint32_t cluster) {
                                      return system.ReadFileTable(root, tree, found, control, cluster);
                                  }};
    const bool replaced = model::WriteDataFile(
        options.output, clusterSize,
        [&](model::DataFileWriter& writer) {
            scan::DataFileOutput output(writer, clusterSize, [&system](std::string_view listed, std::string& stored) {
                return system.StoredName(listed, stored);
            });
            InterruptControl control(interrupted, output);
            std::optional<ProgressDisplay> progress;
            if (!options.quiet && system.ErrorStreamIsTerminal()) progress.emplace(err, counters, start);
            const bool complete = scan::ScanRoot(source, counters, control, output);
            written = output.Written();
            // An interrupt after the last folder still keeps the target as it was.
            return complete && !interrupted.load();
        },
        [&failure](const std::string& text) { failure = text; },
        [&](const std::string& from, const std::string& to) {
            // The last moment an interrupt can still keep the target as it was.
            return !interrupted.load() && system.ReplaceTarget(from, to);
        });
    if (!replaced) {
        if (interrupted.load() || failure.empty()) {
            Message(err, "interrupted; " + options.output + " was not written");
            return kExitInterrupted;
        }
        Message(err, failure);
        return kExitFailed;
    }
    if (!options.quiet) {
        const ScanSummary summary{root.rootName,     written.folders, written.files,       written.bytes,
                                  written.allocated, clusterSize,     SecondsSince(start), options.output};
        Message(err, SummaryLine(summary));
    }
    return kExitDone;
}

}  // namespace headless
