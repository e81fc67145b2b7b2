// ImageVolume: an image file read through stdio with 64-bit seeks (see Volume.h).
#include "scan/ntfs/Volume.h"

#include <cstdio>

namespace scan::ntfs {

namespace {
bool Seek(std::FILE* file, std::uint64_t offset, int whence) {
#ifdef _WIN32
    return _fseeki64(file, static_cast<long long>(offset), whence) == 0;
#else
    return fseeko(file, static_cast<off_t>(offset), whence) == 0;
#endif
}

std::uint64_t Tell(std::FILE* file) {
#ifdef _WIN32
    return static_cast<std::uint64_t>(_ftelli64(file));
#else
    return static_cast<std::uint64_t>(ftello(file));
#endif
}
}  // namespace

ImageVolume::~ImageVolume() {
    if (file_) std::fclose(file_);
}

bool ImageVolume::Open(const std::string& path) {
    if (file_) std::fclose(file_);
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_ || !Seek(file_, 0, SEEK_END)) return false;
    size_ = Tell(file_);
    return true;
}

bool ImageVolume::Read(std::uint64_t offset, void* buffer, std::size_t length) {
    if (!file_ || offset > size_ || length > size_ - offset) return false;
    return Seek(file_, offset, SEEK_SET) && std::fread(buffer, 1, length, file_) == length;
}

}  // namespace scan::ntfs
