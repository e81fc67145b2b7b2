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
// Reading takes larger pieces: a folder's records are decoded straight from the buffer.
constexpr std::size_t kReadBufferSize = 1024 * 1024;

// Bytes from memory, or from a file through a buffer. The reader looks ahead of its position (Ensure) and
// consumes what it has decoded (Skip); bytes looked at stay in place until consumed.
class ByteInput {
public:
    explicit ByteInput(std::string_view data) : pos_(data.data()), end_(data.data() + data.size()) {}
    // `size`: the file's length when known, else 0 (Remaining then counts only what is at hand).
    ByteInput(std::FILE* file, std::uintmax_t size) : file_(file), buffer_(kReadBufferSize), size_(size) {
        pos_ = end_ = buffer_.data();
    }

    // Whether `count` bytes from the position are at hand, reading on as needed. The buffer grows only when
    // the bytes already at hand and not consumed fill it, so its size follows what the file really holds.
    bool Ensure(std::size_t count) { return static_cast<std::size_t>(end_ - pos_) >= count || Fill(count); }
    // The bytes at hand; valid until the next Ensure.
    const unsigned char* Data() const { return reinterpret_cast<const unsigned char*>(pos_); }
    void Skip(std::size_t count) { pos_ += count; }
    // Bytes still to come: a bound for how many records the rest of the input can hold.
    std::uintmax_t Remaining() const { return Buffered() + (size_ > taken_ ? size_ - taken_ : 0); }

private:
    std::size_t Buffered() const { return static_cast<std::size_t>(end_ - pos_); }

    bool Fill(std::size_t count) {
        if (!file_) return false;
        std::size_t held = Buffered();
        if (count > buffer_.size()) {
            std::vector<char> larger(std::max(count, 2 * buffer_.size()));
            std::memcpy(larger.data(), pos_, held);
            buffer_.swap(larger);
        } else {
            std::memmove(buffer_.data(), pos_, held);
        }
        pos_ = buffer_.data();
        end_ = pos_ + held;
        while (held < count) {
            const std::size_t got = std::fread(buffer_.data() + held, 1, buffer_.size() - held, file_);
            if (got == 0) return false;
            taken_ += got;
            held += got;
            end_ += got;
        }
        return true;
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

// A packed number at `p`, whose count byte was checked; moves `p` past it.
std::uint64_t TakePacked(const unsigned char*& p) {
    const unsigned count = *p++;
    std::uint64_t value = 0;
    for (unsigned i = count; i-- > 0;) value = (value << 8) | p[i];
    p += count;
    return value;
}

class TreeReader {
public:
    explicit TreeReader(ByteInput& in) : in_(in) {}

    DecodeResult Read(DirInfo& root, std::uint32_t& clusterSize) {
        if (!in_.Ensure(8) || std::string_view(reinterpret_cast<const char*>(in_.Data()), 8) != kDataFileMagic)
            return DecodeResult::kNotDataFile;
        in_.Skip(8);
        std::uint32_t newCluster = 0;
        if (in_.Ensure(4)) {
            const unsigned char* cluster = in_.Data();
            newCluster = cluster[0] | (cluster[1] << 8) | (cluster[2] << 16) | (std::uint32_t{cluster[3]} << 24);
            if (!IsValidClusterSize(newCluster)) newCluster = 0;
            in_.Skip(4);
        }
        DirInfo tree;
        std::string name;
        std::int32_t sortKey = 0;
        std::uint32_t fileCount = 0, dirCount = 0;
        if (!ReadFolderHead(name, sortKey, fileCount, dirCount)) return DecodeResult::kNotDataFile;
        tree.name = name;
        tree.sortKey = sortKey;
        const bool complete = ReadBody(tree, fileCount, dirCount);
        root = std::move(tree);
        clusterSize = newCluster;
        return complete ? DecodeResult::kComplete : DecodeResult::kDamaged;
    }

private:
    // Checks the packed number `at` bytes ahead of the position and moves `at` past it.
    bool LookPacked(std::size_t& at, unsigned maxBytes) {
        if (!in_.Ensure(at + 1)) return false;
        const unsigned count = in_.Data()[at];
        if (count > maxBytes || !in_.Ensure(at + 1 + count)) return false;
        at += 1 + count;
        return true;
    }

    // Checks the stored name `at` bytes ahead and moves `at` past it; `length` is its length.
    bool LookName(std::size_t& at, std::size_t& length) {
        if (!in_.Ensure(at + 2)) return false;
        length = in_.Data()[at] | (std::size_t{in_.Data()[at + 1]} << 8);
        if (!in_.Ensure(at + 2 + length)) return false;
        at += 2 + length;
        return true;
    }

    // Appends the folder's name to `names`; a head cut short or malformed consumes and appends nothing.
    bool ReadFolderHead(std::string& names, std::int32_t& sortKey, std::uint32_t& fileCount, std::uint32_t& dirCount) {
        std::size_t at = 0, length = 0;
        if (!LookPacked(at, 4) || !LookPacked(at, 4) || !LookPacked(at, 4) || !LookName(at, length)) return false;
        const unsigned char* p = in_.Data();
        fileCount = static_cast<std::uint32_t>(TakePacked(p));
        dirCount = static_cast<std::uint32_t>(TakePacked(p));
        sortKey = static_cast<std::int32_t>(static_cast<std::uint32_t>(TakePacked(p)));
        names.append(reinterpret_cast<const char*>(p + 2), length);
        in_.Skip(at);
        return true;
    }

    // Appends the complete file records. They are checked in place first, so that the folder's list is made
    // once at its final size, and only as large as what was actually there; then decoded from the buffer.
    bool ReadFiles(DirInfo& dir, std::uint32_t count) {
        std::size_t at = 0, stored = 0, length = 0;
        std::uint32_t whole = 0;
        for (; whole < count; ++whole) {
            if (!LookPacked(at, 8) || !LookPacked(at, 4) || !LookName(at, length)) break;
            stored += Name::StoredSize(length);
        }
        dir.files.reserve(whole, stored);
        const unsigned char* p = in_.Data();
        for (std::uint32_t i = 0; i < whole; ++i) {
            const std::uint64_t size = TakePacked(p);
            const auto sortKey = static_cast<std::int32_t>(static_cast<std::uint32_t>(TakePacked(p)));
            length = p[0] | (std::size_t{p[1]} << 8);
            dir.files.emplace_back(std::string_view(reinterpret_cast<const char*>(p + 2), length), size, sortKey);
            p += 2 + length;
        }
        in_.Skip(static_cast<std::size_t>(p - in_.Data()));
        return whole == count;
    }

    // The subfolders read so far of one open folder, without their names, which wait beside them: each
    // folder's list is made once, at its exact size, when the folder is complete.
    struct Level {
        std::vector<DirInfo> dirs;
        std::string names;
        std::vector<std::size_t> nameEnds;
    };

    Level& LevelAt(std::size_t depth) {
        if (levels_.size() <= depth) levels_.resize(depth + 1);
        return levels_[depth];
    }

    // The smallest stored folder record: three packed counts of at least one byte, a two-byte name length.
    static constexpr std::uintmax_t kMinFolderBytes = 5;

    // Room for the `declared` subfolders of a folder opened at `depth`, so a wide folder's records are not
    // copied at every doubling; but never more than the rest of the input could fill together with the
    // room the other open folders hold: a file that declares more than it has costs memory in proportion
    // to its size only.
    void Reserve(std::size_t depth, std::uint32_t declared) {
        std::vector<DirInfo>& dirs = LevelAt(depth).dirs;
        const std::uintmax_t room = in_.Remaining() / kMinFolderBytes;
        const std::uintmax_t free = room > reserved_ ? room - reserved_ : 0;
        const std::size_t wanted = static_cast<std::size_t>(std::min<std::uintmax_t>(declared, free));
        if (wanted <= dirs.capacity()) return;
        reserved_ += wanted - dirs.capacity();
        dirs.reserve(wanted);
    }

    // Hands the subfolders gathered in `level` to `dir`.
    static void Close(DirInfo& dir, Level& level) {
        std::size_t bytes = 0, start = 0;
        for (std::size_t end : level.nameEnds) {
            bytes += Name::StoredSize(end - start);
            start = end;
        }
        dir.subdirs.reserve(level.dirs.size(), bytes);
        start = 0;
        for (std::size_t i = 0; i < level.dirs.size(); ++i) {
            const std::size_t end = level.nameEnds[i];
            dir.subdirs.push_back(std::move(level.dirs[i]), std::string_view(level.names).substr(start, end - start));
            start = end;
        }
        level.dirs.clear();
        level.names.clear();
        level.nameEnds.clear();
    }

    struct Frame {
        DirInfo* dir;
        std::uint32_t remaining;  // subfolders still to read
    };

    bool ReadBody(DirInfo& root, std::uint32_t fileCount, std::uint32_t dirCount) {
        if (!ReadFiles(root, fileCount)) return false;
        // The open folder at depth d gathers its subfolders in levels_[d]. A frame points at the last folder
        // of its parent's level, which grows only after that folder is complete.
        std::vector<Frame> stack{{&root, dirCount}};
        Reserve(0, dirCount);
        bool complete = true;
        while (!stack.empty()) {
            Frame& top = stack.back();
            const std::size_t depth = stack.size() - 1;
            if (top.remaining == 0) {
                Close(*top.dir, LevelAt(depth));
                stack.pop_back();
                continue;
            }
            --top.remaining;
            Level& level = LevelAt(depth);
            std::int32_t sortKey = 0;
            std::uint32_t childFiles = 0, childDirs = 0;
            // The child would sit below the deepest level, or its head is cut short.
            if (stack.size() > kMaxTreeDepth || !ReadFolderHead(level.names, sortKey, childFiles, childDirs)) {
                complete = false;
                break;
            }
            level.nameEnds.push_back(level.names.size());
            DirInfo& added = level.dirs.emplace_back();
            added.sortKey = sortKey;
            if (!ReadFiles(added, childFiles)) {
                complete = false;
                break;
            }
            stack.push_back({&added, childDirs});
            Reserve(depth + 1, childDirs);
        }
        // A damaged file keeps what was read: the folders left open take their subfolders, innermost first.
        for (std::size_t depth = stack.size(); depth-- > 0;) Close(*stack[depth].dir, LevelAt(depth));
        return complete;
    }

    std::vector<Level> levels_;
    std::uintmax_t reserved_ = 0;  // folders' room taken by Reserve beyond what the levels held
    ByteInput& in_;
};

}  // namespace

bool IsValidClusterSize(std::uint32_t value) { return value >= 512 && value <= 65536 && (value & (value - 1)) == 0; }

DataFileWriter::DataFileWriter(Sink sink, std::uint32_t clusterSize) : sink_(std::move(sink)) {
    buffer_.reserve(kBufferSize);
    Put(kDataFileMagic.data(), kDataFileMagic.size());
    const unsigned char cluster[4] = {static_cast<unsigned char>(clusterSize),
                                      static_cast<unsigned char>(clusterSize >> 8),
                                      static_cast<unsigned char>(clusterSize >> 16),
                                      static_cast<unsigned char>(clusterSize >> 24)};
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

bool ReplaceByRename(const std::string& from, const std::string& to) {
    return std::rename(from.c_str(), to.c_str()) == 0;
}

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

bool WriteDataFile(const std::string& path, std::uint32_t clusterSize, const DirInfo& root, const ErrorReporter& report,
                   const FileReplacer& replace, const NameTaken& taken) {
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
    DataFileWriter writer([stream =
                               file.get()](const char* data,
                                           std::size_t count) { return std::fwrite(data, 1, count, stream) == count; },
                          clusterSize);
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
    std::uintmax_t size =
        std::filesystem::file_size(std::filesystem::path(reinterpret_cast<const char8_t*>(path.c_str())), unknown);
    if (unknown) size = 0;
    ByteInput in(file.get(), size);
    const DecodeResult result = TreeReader(in).Read(root, clusterSize);
    if (result == DecodeResult::kNotDataFile) report("The specified file is not a valid data file\r\n\r\n" + path);
    return result;
}

}  // namespace model
