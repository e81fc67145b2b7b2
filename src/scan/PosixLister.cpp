// opendir/readdir/fstatat lister and the statvfs cluster size of native builds.
#ifndef _WIN32

#include "scan/PosixLister.h"

#include "scan/ClusterSize.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>

namespace scan {

namespace {
class PosixListing final : public DirListing {
public:
    PosixListing(DIR* dir, dev_t device) noexcept : dir_(dir), device_(device) {}
    ~PosixListing() override { closedir(dir_); }
    PosixListing(const PosixListing&) = delete;
    PosixListing& operator=(const PosixListing&) = delete;

    bool Next(DirEntry& entry) override {
        while (const dirent* item = readdir(dir_)) {
            entry.name = item->d_name;
            entry.isDirectory = entry.isReparsePoint = false;
            entry.size = 0;
            if (entry.name == "." || entry.name == "..") return true;
            struct stat info;
            if (fstatat(dirfd(dir_), item->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) continue;  // vanished
            if (S_ISDIR(info.st_mode)) {
                entry.isDirectory = true;
                entry.isReparsePoint = info.st_dev != device_;
            } else if (S_ISLNK(info.st_mode)) {
                struct stat target;
                if (fstatat(dirfd(dir_), item->d_name, &target, 0) == 0 && S_ISDIR(target.st_mode))
                    entry.isDirectory = entry.isReparsePoint = true;
                else
                    entry.size = static_cast<std::uint64_t>(info.st_size);
            } else {
                entry.size = static_cast<std::uint64_t>(info.st_size);
            }
            return true;
        }
        return false;
    }

private:
    DIR* dir_;
    dev_t device_;
};
}  // namespace

std::unique_ptr<DirListing> PosixLister::Open(const std::string& path) {
    // The root "/" reaches here as an empty path (its name has the trailing separator removed).
    DIR* dir = opendir(path.empty() ? "/" : path.c_str());
    if (!dir) return nullptr;
    struct stat info;
    if (fstat(dirfd(dir), &info) != 0) {
        closedir(dir);
        return nullptr;
    }
    return std::make_unique<PosixListing>(dir, info.st_dev);
}

std::uint32_t DetectClusterSize(const std::string& root) {
    struct statvfs info;
    if (statvfs(root.empty() ? "/" : root.c_str(), &info) != 0) return 0;
    return UsableClusterSize(info.f_frsize != 0 ? info.f_frsize : info.f_bsize);
}

}  // namespace scan

#endif
