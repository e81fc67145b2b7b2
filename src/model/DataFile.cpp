// Data file writer and reader (see DataFile.h). Both walk the tree with an explicit stack, so neither the
// depth of a tree nor of a file reaches the call stack.
#include "model/DataFile.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

namespace model {
namespace {

constexpr std::size_t kBufferSize = 64 * 1024;

// Bytes from memory, or from a file through a fixed buffer.
class ByteInput {
public:
    explicit ByteInput(std::string_view data) : pos_(data.data()), end_(data.data() + data.size()) {}
    // `size`: the file's length when known, else 0 (Remaining then counts only what is buffered).
    ByteInput(std::FILE* file, std::uintmax_t size) : file_(file), buffer_(kBufferSize), size_(size) {}

    bool ReadByte(unsigned char& byte) {
        if (pos_ == end_ && !Refill()) return false;
        byte = static_cast<unsigned char>(*pos_++);
        return true;
    }

    bool Read(void* destination, std::size_t count) {
        auto* out = static_cast<char*>(destination);
        while (count > 0) {
            if (pos_ == end_ && !Refill()) return false;
            const std::size_t chunk = std::min(count, static_cast<std::size_t>(end_ - pos_));
            std::memcpy(out, pos_, chunk);
            pos_ += chunk;
            out += chunk;
            count -= chunk;
        }
        return true;
    }

    // Appends `count` bytes to `text`, growing it only by what is actually there.
    bool Append(std::string& text, std::size_t count) {
        while (count > 0) {
            if (pos_ == end_ && !Refill()) return false;
            const std::size_t chunk = std::min(count, static_cast<std::size_t>(end_ - pos_));
            text.append(pos_, chunk);
            pos_ += chunk;
            count -= chunk;
        }
        return true;
    }

    // Bytes at hand without another read: a safe bound for how many records can follow right now.
    std::size_t Buffered() const { return static_cast<std::size_t>(end_ - pos_); }
    // Bytes still to come: a bound for how many records the rest of the input can hold.
    std::uintmax_t Remaining() const { return Buffered() + (size_ > taken_ ? size_ - taken_ : 0); }

private:
    bool Refill() {
        if (!file_) return false;
        const std::size_t got = std::fread(buffer_.data(), 1, buffer_.size(), file_);
        taken_ += got;
        pos_ = buffer_.data();
        end_ = pos_ + got;
        return got > 0;
    }

    const char* pos_ = nullptr;
    const char* end_ = nullptr;
    std::FILE* file_ = nullptr;
    std::vector<char> buffer_;
    std::uintmax_t size_ = 0;
    std::uintmax_t taken_ = 0;  // bytes read from the file so far
};

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using UniqueFile = std::unique_ptr<std::FILE, FileCloser>;

// ---- reading ----

class TreeReader {
public:
    explicit TreeReader(ByteInput& in) : in_(in) {}

    DecodeResult Read(DirInfo& root, std::uint32_t& clusterSize) {
        char magic[8];
        if (!in_.Read(magic, sizeof magic) || std::string_view(magic, sizeof magic) != kDataFileMagic)
            return DecodeResult::kNotDataFile;
        unsigned char cluster[4];
        std::uint32_t newCluster = 0;
        if (in_.Read(cluster, 4)) {
            newCluster = cluster[0] | (cluster[1] << 8) | (cluster[2] << 16) | (std::uint32_t{cluster[3]} << 24);
            if (!IsValidClusterSize(newCluster)) newCluster = 0;
        }
        DirInfo tree;
        std::string name;
        std::uint32_t fileCount = 0, dirCount = 0;
        if (!ReadFolderHead(name, tree.sortKey, fileCount, dirCount)) return DecodeResult::kNotDataFile;
        tree.name = name;
        const bool complete = ReadBody(tree, fileCount, dirCount);
        root = std::move(tree);
        clusterSize = newCluster;
        return complete ? DecodeResult::kComplete : DecodeResult::kDamaged;
    }

private:
    bool ReadPacked(std::uint64_t& value, unsigned maxBytes) {
        unsigned char count = 0;
        if (!in_.ReadByte(count) || count > maxBytes) return false;
        unsigned char bytes[8];
        if (!in_.Read(bytes, count)) return false;
        value = 0;
        for (unsigned i = count; i-- > 0;) value = (value << 8) | bytes[i];
        return true;
    }

    bool ReadPacked32(std::uint32_t& value) {
        std::uint64_t wide = 0;
        if (!ReadPacked(wide, 4)) return false;
        value = static_cast<std::uint32_t>(wide);
        return true;
    }

    // Replaces `name` with the next stored name.
    bool ReadName(std::string& name) {
        unsigned char length[2];
        if (!in_.Read(length, 2)) return false;
        name.clear();
        return in_.Append(name, length[0] | (std::size_t{length[1]} << 8));
    }

    bool ReadFolderHead(std::string& name, std::int32_t& sortKey, std::uint32_t& fileCount, std::uint32_t& dirCount) {
        std::uint32_t key = 0;
        if (!ReadPacked32(fileCount) || !ReadPacked32(dirCount) || !ReadPacked32(key) || !ReadName(name))
            return false;
        sortKey = static_cast<std::int32_t>(key);
        return true;
    }

    // Appends the complete file records. They gather in scratch space first, so that the folder's list is
    // made once at its final size, and only as large as what was actually read.
    bool ReadFiles(DirInfo& dir, std::uint32_t count) {
        pending_.clear();
        names_.clear();
        bool complete = true;
        std::size_t stored = 0;
        for (std::uint32_t i = 0; i < count; ++i) {
            PendingFile file;
            std::uint64_t size = 0;
            std::uint32_t sortKey = 0;
            unsigned char length[2];
            if (!ReadPacked(size, 8) || !ReadPacked32(sortKey) || !in_.Read(length, 2)) {
                complete = false;
                break;
            }
            file.size = size;
            file.sortKey = static_cast<std::int32_t>(sortKey);
            file.start = names_.size();
            file.length = length[0] | (std::size_t{length[1]} << 8);
            if (!in_.Append(names_, file.length)) {
                complete = false;
                break;
            }
            stored += Name::StoredSize(file.length);
            pending_.push_back(file);
        }
        dir.files.reserve(pending_.size(), stored);
        for (const PendingFile& file : pending_)
            dir.files.emplace_back(std::string_view(names_).substr(file.start, file.length), file.size, file.sortKey);
        return complete;
    }

    // The smallest stored folder record: three packed counts of at least one byte, a two-byte name length.
    static constexpr std::uintmax_t kMinFolderBytes = 5;
    // Room for names reserved per reserved folder; a folder whose names take more grows its list.
    static constexpr std::size_t kReservedNameBytes = 16;

    struct Frame {
        DirInfo* dir;
        std::uint32_t remaining;  // subfolders still to read
        std::uint32_t reserved;   // room reserved in its list and not used yet
    };

    // Opens `dir` with `declared` subfolders to come. Its list gets room for them up front (one list made,
    // instead of one per doubling, each moving every folder so far), but never more than the rest of the
    // input could fill together with the room other open folders already hold: a file that declares
    // more than it has costs memory in proportion to its size only.
    Frame Open(DirInfo& dir, std::uint32_t declared) {
        const std::uintmax_t room = in_.Remaining() / kMinFolderBytes;
        const std::uintmax_t free = room > reserved_ ? room - reserved_ : 0;
        const auto grant = static_cast<std::uint32_t>(std::min<std::uintmax_t>(declared, free));
        if (grant < 2) return {&dir, declared, 0};
        dir.subdirs.reserve(grant, std::size_t{grant} * kReservedNameBytes);
        reserved_ += grant;
        return {&dir, declared, grant};
    }

    bool ReadBody(DirInfo& root, std::uint32_t fileCount, std::uint32_t dirCount) {
        if (!ReadFiles(root, fileCount)) return false;
        // Frames point only at ancestors of the folder being filled; their lists do not grow meanwhile.
        std::vector<Frame> stack{Open(root, dirCount)};
        bool complete = true;
        std::string name;
        while (!stack.empty()) {
            Frame& top = stack.back();
            if (top.remaining == 0) {
                // The folder is complete: its subfolder list need not keep room for more.
                reserved_ -= top.reserved;
                top.dir->subdirs.shrink_to_fit();
                stack.pop_back();
                continue;
            }
            --top.remaining;
            std::int32_t sortKey = 0;
            std::uint32_t childFiles = 0, childDirs = 0;
            // The child would sit below the deepest level, or its head is cut short.
            if (stack.size() > kMaxTreeDepth || !ReadFolderHead(name, sortKey, childFiles, childDirs)) {
                complete = false;
                break;
            }
            if (top.reserved > 0) {
                --top.reserved;
                --reserved_;
            }
            DirInfo& added = top.dir->subdirs.emplace_back(name);
            added.sortKey = sortKey;
            if (!ReadFiles(added, childFiles)) {
                complete = false;
                break;
            }
            stack.push_back(Open(added, childDirs));
        }
        // A damaged file keeps what was read; the lists left open give back their room as well, innermost
        // first, since shrinking a list moves the folders in it.
        for (auto frame = stack.rbegin(); frame != stack.rend(); ++frame) frame->dir->subdirs.shrink_to_fit();
        return complete;
    }

    struct PendingFile {
        std::uint64_t size;
        std::int32_t sortKey;
        std::size_t start;
        std::size_t length;
    };

    std::vector<PendingFile> pending_;
    std::string names_;
    std::uintmax_t reserved_ = 0;  // room reserved in the open folders' lists, in folders
    ByteInput& in_;
};

}  // namespace

bool IsValidClusterSize(std::uint32_t value) {
    return value >= 512 && value <= 65536 && (value & (value - 1)) == 0;
}

DataFileWriter::DataFileWriter(Sink sink, std::uint32_t clusterSize) : sink_(std::move(sink)) {
    buffer_.reserve(kBufferSize);
    Put(kDataFileMagic.data(), kDataFileMagic.size());
    const unsigned char cluster[4] = {
        static_cast<unsigned char>(clusterSize), static_cast<unsigned char>(clusterSize >> 8),
        static_cast<unsigned char>(clusterSize >> 16), static_cast<unsigned char>(clusterSize >> 24)};
    Put(cluster, 4);
}

void DataFileWriter::Put(const void* data, std::size_t count) {
    if (!ok_) return;
    buffer_.append(static_cast<const char*>(data), count);
    if (buffer_.size() >= kBufferSize) Finish();
}

void DataFileWriter::PutPacked(std::uint64_t value) {
    unsigned char bytes[9];
    unsigned char count = 0;
    while (value != 0) {
        bytes[1 + count++] = static_cast<unsigned char>(value & 0xFF);
        value >>= 8;
    }
    bytes[0] = count;
    Put(bytes, 1u + count);
}

void DataFileWriter::PutName(std::string_view name) {
    if (name.size() > kMaxStoredNameLength) {
        ok_ = false;
        return;
    }
    const unsigned char length[2] = {static_cast<unsigned char>(name.size() & 0xFF),
                                     static_cast<unsigned char>(name.size() >> 8)};
    Put(length, 2);
    Put(name.data(), name.size());
}

void DataFileWriter::Folder(std::string_view name, std::size_t files, std::size_t subfolders, std::int32_t sortKey) {
    PutPacked(static_cast<std::uint32_t>(files));
    PutPacked(static_cast<std::uint32_t>(subfolders));
    PutPacked(static_cast<std::uint32_t>(sortKey));
    PutName(name);
}

void DataFileWriter::File(std::string_view name, std::uint64_t size, std::int32_t sortKey) {
    PutPacked(size);
    PutPacked(static_cast<std::uint32_t>(sortKey));
    PutName(name);
}

void DataFileWriter::Tree(const DirInfo& root) {
    auto putFolder = [this](const DirInfo& dir) {
        Folder(dir.name, dir.files.size(), dir.subdirs.size(), dir.sortKey);
        for (const FileInfo& file : dir.files) File(file.name, file.size, file.sortKey);
    };
    putFolder(root);
    struct Frame {
        const DirInfo* dir;
        std::size_t next;
    };
    std::vector<Frame> stack{{&root, 0}};
    while (!stack.empty() && ok_) {
        Frame& top = stack.back();
        if (top.next == top.dir->subdirs.size()) {
            stack.pop_back();
            continue;
        }
        const DirInfo& child = top.dir->subdirs[top.next++];
        putFolder(child);
        stack.push_back({&child, 0});
    }
}

bool DataFileWriter::Finish() {
    if (ok_ && !buffer_.empty()) ok_ = sink_(buffer_.data(), buffer_.size());
    buffer_.clear();
    return ok_;
}

bool EncodeDataFile(std::uint32_t clusterSize, const DirInfo& root, std::string& bytes) {
    bytes.clear();
    DataFileWriter writer(
        [&bytes](const char* data, std::size_t count) {
            bytes.append(data, count);
            return true;
        },
        clusterSize);
    writer.Tree(root);
    return writer.Finish();
}

DecodeResult DecodeDataFile(std::string_view bytes, DirInfo& root, std::uint32_t& clusterSize) {
    ByteInput in(bytes);
    return TreeReader(in).Read(root, clusterSize);
}

bool ReplaceByRename(const std::string& from, const std::string& to) { return std::rename(from.c_str(), to.c_str()) == 0; }

bool PathTaken(const std::string& path) {
    // From UTF-8 explicitly: a plain string would be read in the system's narrow code page on Windows.
    const std::filesystem::path name(std::u8string(path.begin(), path.end()));
    std::error_code error;
    return std::filesystem::symlink_status(name, error).type() != std::filesystem::file_type::not_found;
}

std::string FreeTemporaryName(const std::string& path, const NameTaken& taken) {
    if (!taken(path + ".part")) return path + ".part";
    for (int number = 1; number <= kMaxTemporaryNumber; ++number) {
        std::string name = path + '.' + std::to_string(number) + ".part";
        if (!taken(name)) return name;
    }
    return {};
}

bool WriteDataFile(const std::string& path, std::uint32_t clusterSize, const DirInfo& root,
                   const ErrorReporter& report, const FileReplacer& replace, const NameTaken& taken) {
    return WriteDataFile(
        path, clusterSize,
        [&root](DataFileWriter& writer) {
            writer.Tree(root);
            return true;
        },
        report, replace, taken);
}

bool WriteDataFile(const std::string& path, std::uint32_t clusterSize, const DataFileProducer& produce,
                   const ErrorReporter& report, const FileReplacer& replace, const NameTaken& taken) {
    const std::string partial = FreeTemporaryName(path, taken);
    UniqueFile file(partial.empty() ? nullptr : std::fopen(partial.c_str(), "wb"));
    if (!file) {
        report("Could not open file " + path);
        return false;
    }
    // Removes the temporary file on every way out but success, a producer's exception included.
    struct Partial {
        const std::string& name;
        UniqueFile& file;
        bool keep = false;
        ~Partial() {
            file.reset();
            if (!keep) std::remove(name.c_str());
        }
    } guard{partial, file};
    // Every write and the close are checked: a full disk must not pass for a finished export.
    DataFileWriter writer([stream = file.get()](const char* data, std::size_t count) {
        return std::fwrite(data, 1, count, stream) == count;
    }, clusterSize);
    const bool complete = produce(writer);
    bool ok = writer.Finish();
    ok = std::fclose(file.release()) == 0 && ok;
    if (ok && !complete) return false;  // abandoned: nothing failed, so nothing to report
    guard.keep = ok && replace(partial, path);
    if (!guard.keep) report("Could not write to file " + path);
    return guard.keep;
}

bool ReadDataFile(const std::string& path, DirInfo& root, std::uint32_t& clusterSize, const ErrorReporter& report) {
    return ReadDataFileWhole(path, root, clusterSize, report) != DecodeResult::kNotDataFile;
}

DecodeResult ReadDataFileWhole(const std::string& path, DirInfo& root, std::uint32_t& clusterSize,
                               const ErrorReporter& report) {
    UniqueFile file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        report("Could not open file " + path);
        return DecodeResult::kNotDataFile;
    }
    std::error_code unknown;
    std::uintmax_t size = std::filesystem::file_size(std::filesystem::path(reinterpret_cast<const char8_t*>(path.c_str())), unknown);
    if (unknown) size = 0;
    ByteInput in(file.get(), size);
    const DecodeResult result = TreeReader(in).Read(root, clusterSize);
    if (result == DecodeResult::kNotDataFile) report("The specified file is not a valid data file\r\n\r\n" + path);
    return result;
}

}  // namespace model
