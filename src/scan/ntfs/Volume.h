// What the file-table reader needs of a volume: its size and reads of N bytes at an offset. The Win32
// side opens a raw volume ("\\.\X:"); tests, benchmarks and the fuzzer read an image file or memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <span>
#include <string>

namespace scan::ntfs {

class Volume {
public:
    virtual ~Volume() = default;
    // Bytes the volume holds; reads past it fail.
    virtual std::uint64_t Size() const = 0;
    // Reads exactly `length` bytes at `offset`; false when any of them cannot be read.
    virtual bool Read(std::uint64_t offset, void* buffer, std::size_t length) = 0;
};

// A volume held in memory (tests and the fuzzer).
class MemoryVolume final : public Volume {
public:
    explicit MemoryVolume(std::span<const std::uint8_t> bytes) noexcept : bytes_(bytes) {}
    std::uint64_t Size() const override { return bytes_.size(); }
    bool Read(std::uint64_t offset, void* buffer, std::size_t length) override {
        if (offset > bytes_.size() || length > bytes_.size() - offset) return false;
        if (length != 0) std::memcpy(buffer, bytes_.data() + offset, length);
        return true;
    }

private:
    std::span<const std::uint8_t> bytes_;
};

// An image file, read with the C library (both toolchains). Open() false when it cannot be opened.
class ImageVolume final : public Volume {
public:
    ImageVolume() = default;
    ImageVolume(const ImageVolume&) = delete;
    ImageVolume& operator=(const ImageVolume&) = delete;
    ~ImageVolume() override;

    bool Open(const std::string& path);
    std::uint64_t Size() const override { return size_; }
    bool Read(std::uint64_t offset, void* buffer, std::size_t length) override;

private:
    std::FILE* file_ = nullptr;
    std::uint64_t size_ = 0;
};

}  // namespace scan::ntfs
