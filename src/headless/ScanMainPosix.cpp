// kelvaran-scan for Linux and other POSIX systems: the portable run (HeadlessScan.h) over the POSIX lister,
// the file system's block size as the cluster size, roots named after the machine (PosixNames.h), and
// SIGINT, SIGTERM and SIGHUP taken as a request to stop (a second one ends the process at once).
#include "headless/HeadlessScan.h"
#include "headless/PosixNames.h"
#include "model/DataFile.h"
#include "model/OutOfMemory.h"
#include "scan/ClusterSize.h"
#include "scan/PosixLister.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <exception>

#include <sys/stat.h>
#include <unistd.h>

namespace {

std::atomic<bool> interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

extern "C" void OnStopSignal(int) { interrupted.store(true); }

std::string CurrentFolder() {
    std::string folder(4096, '\0');
    while (!getcwd(folder.data(), folder.size())) {
        if (errno != ERANGE) return {};
        folder.resize(folder.size() * 2);
    }
    folder.resize(std::strlen(folder.c_str()));
    return folder;
}

std::string HostName() {
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0) return {};
    return name;
}

class PosixSystem final : public headless::ScanSystem {
public:
    scan::DirLister& Lister() override { return lister_; }

    headless::ResolvedRoot ResolveRoot(const std::string& root) override {
        headless::ResolvedRoot resolved;
        std::string path = root;
        if (!root.starts_with('/')) {
            const std::string current = CurrentFolder();
            if (current.empty()) {
                resolved.error = std::string("the current folder is gone: ") + std::strerror(errno);
                return resolved;
            }
            path = headless::AbsolutePosixPath(current, root);
        } else {
            path = headless::AbsolutePosixPath("/", root);
        }
        resolved.walkPath = path == "/" ? std::string() : path;  // the lister takes "" for "/"
        resolved.rootName = headless::PosixRootName(HostName(), path);
        struct stat info;
        if (stat(path.c_str(), &info) != 0) {
            resolved.error = std::strerror(errno);
        } else if (!S_ISDIR(info.st_mode)) {
            resolved.error = "not a folder";
        } else if (!lister_.Open(resolved.walkPath)) {
            resolved.error = std::strerror(errno);
        }
        return resolved;
    }

    std::uint32_t DetectClusterSize(const headless::ResolvedRoot& root) override {
        return scan::DetectClusterSize(root.walkPath);
    }

    bool StoredName(std::string_view listed, std::string& stored) override {
        return headless::StandInForBackslashes(listed, stored);
    }

    bool ReplaceTarget(const std::string& from, const std::string& to) override {
        return model::ReplaceByRename(from, to);
    }

    bool ErrorStreamIsTerminal() override { return isatty(STDERR_FILENO) == 1; }

private:
    scan::PosixLister lister_;
};

}  // namespace

int main(int argc, char** argv) {
    model::InstallOutOfMemoryHandler();
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    action.sa_flags = SA_RESETHAND;  // a second signal takes its default course
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);

    const std::vector<std::string> words(argv + 1, argv + argc);
    PosixSystem system;
    try {
        return headless::RunScan(words, system, interrupted, stdout, stderr);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "kelvaran-scan: %s\n", error.what());
        return headless::kExitFailed;
    }
}
