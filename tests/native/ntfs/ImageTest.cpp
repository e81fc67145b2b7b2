// The file-table reader against real NTFS images made at test time (tools/make-ntfs-images.py, run by
// CTest's ntfs_images fixture into KELVARAN_NTFS_IMAGES): its tree must equal, record for record, the
// folder walk of the same image mounted read-only through ntfs-3g; damaged copies must give the tree less
// the damaged records, or "unavailable", never a crash.
//
// When the images could not be made (no root, no FUSE) every test here is skipped with the reason, and the
// program exits with 77 so that CTest reports it as skipped rather than passed.
#include "scan/Walk.h"
#include "scan/ntfs/NtfsReader.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <sstream>

namespace fs = std::filesystem;
using namespace scan::ntfs;

namespace {

struct NoControl final : scan::WalkControl {
    bool StopRequested() const override { return false; }
    void PausePoint() override {}
};

// Where the images are, or why there are none.
struct Images {
    fs::path dir;
    std::string skipReason;
    std::map<std::string, std::uint64_t> manifest;

    static const Images& Get() {
        static const Images images = [] {
            Images i;
            const char* env = std::getenv("KELVARAN_NTFS_IMAGES");
            if (!env) {
                i.skipReason = "KELVARAN_NTFS_IMAGES is not set (run through ctest, whose fixture makes the images)";
                return i;
            }
            i.dir = env;
            std::ifstream skip(i.dir / "SKIP");
            if (skip) {
                std::getline(skip, i.skipReason);
                i.skipReason = "NTFS images could not be made here: " + i.skipReason;
                return i;
            }
            std::ifstream manifest(i.dir / "manifest.txt");
            if (!manifest) i.skipReason = "no manifest.txt in " + i.dir.string() + " (the image fixture failed?)";
            std::string name;
            std::uint64_t value = 0;
            while (manifest >> name >> value) i.manifest[name] = value;
            return i;
        }();
        return images;
    }
};

#define REQUIRE_IMAGES()                                                                 \
    do {                                                                                 \
        if (!Images::Get().skipReason.empty()) GTEST_SKIP() << Images::Get().skipReason; \
    } while (0)

struct Read {
    ReadResult result = ReadResult::kUnavailable;
    model::DirInfo root;
    scan::ScanCounters counters;
};

void ReadImage(const fs::path& image, const std::string& relative, const std::string& rootName, Read& out) {
    ImageVolume volume;
    ASSERT_TRUE(volume.Open(image.string())) << image;
    std::vector<std::u16string> path;
    ASSERT_TRUE(SplitRelativePath(relative, path));
    out.root = model::DirInfo(rootName);
    NoControl control;
    out.result = ReadVolume(volume, path, out.root, out.counters, control, 4096);
}

// The image mounted read-only for the duration of a test.
class Mount {
public:
    explicit Mount(const fs::path& image) {
        dir_ = Images::Get().dir / ("mnt-" + image.stem().string());
        fs::create_directories(dir_);
        const std::string command = "ntfs-3g -o ro '" + image.string() + "' '" + dir_.string() + "'";
        mounted_ = std::system(command.c_str()) == 0;
    }
    ~Mount() {
        if (mounted_) std::system(("umount '" + dir_.string() + "'").c_str());
    }
    bool Mounted() const { return mounted_; }
    const fs::path& Dir() const { return dir_; }

private:
    fs::path dir_;
    bool mounted_ = false;
};

// The mounted image as a Windows folder listing shows it. The driver shows links as symbolic links;
// the listing shows them with their own attributes (from the driver's attribute attribute) and their own,
// empty, data: a folder link is a folder (not entered), a file link an empty file.
class WindowsViewLister final : public scan::DirLister {
    class Listing final : public scan::DirListing {
    public:
        explicit Listing(DIR* dir) : dir_(dir) {}
        ~Listing() override { closedir(dir_); }
        bool Next(scan::DirEntry& entry) override {
            while (const dirent* item = readdir(dir_)) {
                entry = scan::DirEntry{item->d_name};
                if (entry.name == "." || entry.name == "..") return true;
                struct stat info;
                if (fstatat(dirfd(dir_), item->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) {
                    ADD_FAILURE() << "cannot stat " << item->d_name;
                    continue;
                }
                if (S_ISLNK(info.st_mode)) {
                    std::uint32_t attributes = 0;
                    const int fd = dirfd(dir_);
                    const std::string path = "/proc/self/fd/" + std::to_string(fd) + "/" + item->d_name;
                    EXPECT_EQ(lgetxattr(path.c_str(), "system.ntfs_attrib", &attributes, 4), 4) << item->d_name;
                    entry.isDirectory = entry.isReparsePoint = (attributes & 0x10) != 0;
                } else if (S_ISDIR(info.st_mode)) {
                    entry.isDirectory = true;
                } else {
                    entry.size = static_cast<std::uint64_t>(info.st_size);
                }
                return true;
            }
            return false;
        }

    private:
        DIR* dir_;
    };

public:
    std::unique_ptr<scan::DirListing> Open(const std::string& path) override {
        DIR* dir = opendir(path.c_str());
        EXPECT_NE(dir, nullptr) << path;
        return dir ? std::make_unique<Listing>(dir) : nullptr;
    }
    char Separator() const override { return '/'; }
};

// The volume's up-case table as the NTFS tools read it.
std::vector<std::uint16_t> UpCaseOf(const fs::path& image) {
    std::vector<std::uint16_t> upcase;
    const std::string command = "ntfscat '" + image.string() + "' '$UpCase'";
    if (std::FILE* pipe = popen(command.c_str(), "r")) {
        std::uint8_t pair[2];
        while (std::fread(pair, 1, 2, pipe) == 2) upcase.push_back(static_cast<std::uint16_t>(pair[0] | pair[1] << 8));
        pclose(pipe);
    }
    EXPECT_EQ(upcase.size(), 65536u) << image;
    return upcase;
}

// Windows lists a folder in the order of its index, a B+ tree sorted by the up-case table; the driver
// returns the index root's entries first and then each index block, which is that order only while the
// folder fits one block. Sorts the walked tree into index order; returns how many folders changed.
std::size_t SortLikeTheIndex(model::DirInfo& root, std::span<const std::uint16_t> upcase) {
    std::size_t changed = 0;
    auto before = [&](std::string_view a, std::string_view b) {
        return CollateNames(Utf8ToUtf16(a), Utf8ToUtf16(b), upcase) < 0;
    };
    std::vector<model::DirInfo*> stack{&root};
    while (!stack.empty()) {
        model::DirInfo* dir = stack.back();
        stack.pop_back();
        const auto byName = [&](const auto& x, const auto& y) { return before(x.name, y.name); };
        if (!std::is_sorted(dir->files.begin(), dir->files.end(), byName) ||
            !std::is_sorted(dir->subdirs.begin(), dir->subdirs.end(), byName)) {
            ++changed;
            std::sort(dir->files.begin(), dir->files.end(), byName);
            std::sort(dir->subdirs.begin(), dir->subdirs.end(), byName);
        }
        for (model::DirInfo& sub : dir->subdirs) stack.push_back(&sub);
    }
    return changed;
}

void WalkMounted(const fs::path& folder, const std::string& rootName, model::DirInfo& root,
                 scan::ScanCounters& counters) {
    WindowsViewLister lister;
    NoControl control;
    root = model::DirInfo(rootName);
    std::string path = folder.string();
    scan::Walker walker(lister, 4096, counters, control);
    ASSERT_TRUE(walker.Walk(root, path));
}

// The first place two trees differ, as a readable path; empty when they are equal.
std::string FirstDifference(const model::DirInfo& a, const model::DirInfo& b) {
    struct Frame {
        const model::DirInfo* a;
        const model::DirInfo* b;
        std::string path;
    };
    std::vector<Frame> stack{{&a, &b, a.name.str()}};
    while (!stack.empty()) {
        const Frame f = stack.back();
        stack.pop_back();
        const std::size_t files = std::min(f.a->files.size(), f.b->files.size());
        for (std::size_t i = 0; i < files; ++i)
            if (!(f.a->files[i] == f.b->files[i]))
                return f.path + "/" + f.a->files[i].name + " (" + std::to_string(f.a->files[i].size) + ") vs " +
                       f.b->files[i].name + " (" + std::to_string(f.b->files[i].size) + ")";
        if (f.a->files.size() != f.b->files.size())
            return f.path + ": " + std::to_string(f.a->files.size()) + " vs " + std::to_string(f.b->files.size()) +
                   " files";
        const std::size_t dirs = std::min(f.a->subdirs.size(), f.b->subdirs.size());
        for (std::size_t i = 0; i < dirs; ++i) {
            if (f.a->subdirs[i].name != f.b->subdirs[i].name)
                return f.path + "/" + f.a->subdirs[i].name + "/ vs " + f.b->subdirs[i].name + "/";
            stack.push_back({&f.a->subdirs[i], &f.b->subdirs[i], f.path + "/" + f.a->subdirs[i].name});
        }
        if (f.a->subdirs.size() != f.b->subdirs.size())
            return f.path + ": " + std::to_string(f.a->subdirs.size()) + " vs " + std::to_string(f.b->subdirs.size()) +
                   " folders";
    }
    return a == b ? "" : "totals differ";
}

// Returns how many folders of the walk had to be put into index order.
std::size_t ExpectSameAsWalk(const fs::path& image, const std::string& relative) {
    std::size_t reordered = 0;
    const std::vector<std::uint16_t> upcase = UpCaseOf(image);  // before mounting: the tools need it alone
    Mount mount(image);
    EXPECT_TRUE(mount.Mounted()) << "ntfs-3g could not mount " << image;
    if (!mount.Mounted()) return 0;
    const std::string rootName = relative.empty() ? "X:" : "X:\\" + relative;
    Read read;
    ReadImage(image, relative, rootName, read);
    EXPECT_EQ(read.result, ReadResult::kComplete) << relative;

    std::string folder = relative;
    for (char& c : folder)
        if (c == '\\') c = '/';
    model::DirInfo walked;
    scan::ScanCounters counters;
    WalkMounted(mount.Dir() / folder, rootName, walked, counters);
    reordered = SortLikeTheIndex(walked, upcase);
    EXPECT_EQ(FirstDifference(read.root, walked), "") << image << " " << relative;
    EXPECT_TRUE(read.root == walked);
    EXPECT_EQ(read.counters.filesFound.load(), counters.filesFound.load());
    EXPECT_EQ(read.counters.foldersFound.load(), counters.foldersFound.load());
    EXPECT_EQ(read.counters.bytesFound.load(), counters.bytesFound.load());
    return reordered;
}

TEST(NtfsImage, WholeVolumeMatchesTheWalk) {
    REQUIRE_IMAGES();
    ExpectSameAsWalk(Images::Get().dir / "tree.img", "");
}

TEST(NtfsImage, FoldersBelowTheRootMatchTheWalk) {
    REQUIRE_IMAGES();
    for (const char* relative : {"links\\a", "attrlist", "many", "deep\\level0\\level1"})
        ExpectSameAsWalk(Images::Get().dir / "tree.img", relative);
    // Names whose order depends on the up-case table, in a folder of one index block: the driver's order
    // is the index's own, so the walk needs no sorting to match.
    EXPECT_EQ(ExpectSameAsWalk(Images::Get().dir / "tree.img", "unicode"), 0u);
}

TEST(NtfsImage, DeepChainMatchesTheWalk) {
    REQUIRE_IMAGES();
    ExpectSameAsWalk(Images::Get().dir / "deep.img", "");
    Read read;
    ReadImage(Images::Get().dir / "deep.img", "", "X:", read);
    EXPECT_EQ(read.root.deepDirs, Images::Get().manifest.at("deep-levels") + 1);  // with "chain"
}

TEST(NtfsImage, FragmentedTableMatchesTheWalk) {
    REQUIRE_IMAGES();
    ExpectSameAsWalk(Images::Get().dir / "fragmented.img", "");
}

TEST(NtfsImage, PathsResolveLikeTheSystemDoes) {
    REQUIRE_IMAGES();
    const fs::path image = Images::Get().dir / "tree.img";
    Read exact, otherCase;
    ReadImage(image, "links\\a", "X:\\links\\a", exact);
    ReadImage(image, "LINKS\\A\\", "X:\\links\\a", otherCase);
    ASSERT_EQ(otherCase.result, ReadResult::kComplete);
    EXPECT_TRUE(exact.root == otherCase.root);
    struct Case {
        const char* path;
        const char* why;
    };
    const Case unavailable[] = {
        {"missing", "no such folder"},
        {"sizes\\one", "a file, not a folder"},
        {"reparse\\junction", "a link: its target lies elsewhere"},
        {"links\\..\\links", "dot-dot component"},
    };
    for (const Case& c : unavailable) {
        ImageVolume volume;
        ASSERT_TRUE(volume.Open(image.string()));
        std::vector<std::u16string> path;
        if (!SplitRelativePath(c.path, path)) continue;  // refused before the volume is read
        model::DirInfo root("X:");
        scan::ScanCounters counters;
        NoControl control;
        EXPECT_EQ(ReadVolume(volume, path, root, counters, control, 0), ReadResult::kUnavailable) << c.why;
    }
}

// Reparse points of kinds the driver cannot show: the tree is written down here.
TEST(NtfsImage, OtherReparsePointsAreEntered) {
    REQUIRE_IMAGES();
    Read read;
    ReadImage(Images::Get().dir / "reparse.img", "", "X:", read);
    ASSERT_EQ(read.result, ReadResult::kComplete);
    std::vector<std::string> lines;
    struct Frame {
        const model::DirInfo* dir;
        std::string path;
    };
    std::vector<Frame> stack{{&read.root, ""}};
    while (!stack.empty()) {
        const Frame f = stack.back();
        stack.pop_back();
        for (const auto& file : f.dir->files) lines.push_back(f.path + file.name + " " + std::to_string(file.size));
        for (const auto& sub : f.dir->subdirs) {
            lines.push_back(f.path + sub.name + "/");
            stack.push_back({&sub, f.path + sub.name + "/"});
        }
    }
    std::sort(lines.begin(), lines.end());
    EXPECT_EQ(lines,
              (std::vector<std::string>{"entered-80000017/", "entered-80000017/inner 3", "entered-80000017/sub/",
                                        "entered-80000017/sub/x 5", "entered-9000001a/", "entered-9000001a/inner 3",
                                        "entered-9000001a/sub/", "entered-9000001a/sub/x 5", "file-80000017 11",
                                        "file-9000001a 11", "junction/", "plain 4"}));
}

// A sparse copy of an image that the test may damage; removed at the end.
class DamagedCopy {
public:
    explicit DamagedCopy(const fs::path& image) : path_(Images::Get().dir / ("damaged-" + image.filename().string())) {
        const std::string command = "cp --sparse=always '" + image.string() + "' '" + path_.string() + "'";
        EXPECT_EQ(std::system(command.c_str()), 0);
        file_ = std::fopen(path_.c_str(), "r+b");
    }
    ~DamagedCopy() {
        if (file_) std::fclose(file_);
        fs::remove(path_);
    }
    const fs::path& Path() const { return path_; }

    std::vector<std::uint8_t> Bytes(std::uint64_t offset, std::size_t length) {
        std::vector<std::uint8_t> bytes(length);
        fseeko(file_, static_cast<off_t>(offset), SEEK_SET);
        EXPECT_EQ(std::fread(bytes.data(), 1, length, file_), length);
        return bytes;
    }
    void Write(std::uint64_t offset, const std::vector<std::uint8_t>& bytes) {
        fseeko(file_, static_cast<off_t>(offset), SEEK_SET);
        EXPECT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), file_), bytes.size());
        std::fflush(file_);
    }

    // Byte offset of a file record, found through the table's own runs.
    std::uint64_t RecordOffset(std::uint64_t number) {
        BootSector boot;
        const auto sector = Bytes(0, 512);
        EXPECT_TRUE(ParseBootSector(sector, boot));
        auto record0 = Bytes(boot.mftCluster * boot.clusterSize, boot.recordSize);
        EXPECT_TRUE(ApplyFixups(record0));
        std::vector<Run> runs;
        RecordHeader header;
        ForEachAttribute(record0, header, [&](const Attribute& a) {
            if (a.type == kData && a.nonResident) DecodeRunList(a.mappingPairs, a.lowestVcn, boot.totalClusters, runs);
        });
        const std::uint64_t byte = number * boot.recordSize;
        for (const Run& run : runs)
            if (byte / boot.clusterSize >= run.vcn && byte / boot.clusterSize < run.vcn + run.length)
                return run.lcn * boot.clusterSize + (byte - run.vcn * boot.clusterSize);
        ADD_FAILURE() << "record " << number << " not mapped";
        return 0;
    }

    // Where each mapping pair of the file table's own data lies in the image, and the run it gives.
    struct Pair {
        std::uint64_t at;  // the pair's header byte
        Run run;
    };
    BootSector Boot() {
        BootSector boot;
        EXPECT_TRUE(ParseBootSector(Bytes(0, 512), boot));
        return boot;
    }

    std::vector<Pair> TablePairs() {
        const BootSector boot = Boot();
        const std::uint64_t record0 = boot.mftCluster * boot.clusterSize;
        const std::size_t data = AttributeOffset(0, kData);
        auto bytes = Bytes(record0, boot.recordSize);
        EXPECT_TRUE(ApplyFixups(bytes));
        std::size_t at = data + Le16(bytes.data() + data + 32);
        std::vector<Pair> pairs;
        std::uint64_t vcn = 0;
        std::int64_t lcn = 0;
        while (bytes[at] != 0) {
            const std::size_t lengthBytes = bytes[at] & 0x0F, offsetBytes = bytes[at] >> 4;
            std::uint64_t length = 0, delta = 0;
            for (std::size_t k = 0; k < lengthBytes; ++k) length |= std::uint64_t{bytes[at + 1 + k]} << 8 * k;
            for (std::size_t k = 0; k < offsetBytes; ++k)
                delta |= std::uint64_t{bytes[at + 1 + lengthBytes + k]} << 8 * k;
            if (offsetBytes < 8 && (delta >> (8 * offsetBytes - 1) & 1)) delta |= ~std::uint64_t{0} << 8 * offsetBytes;
            lcn += static_cast<std::int64_t>(delta);
            pairs.push_back({record0 + at, Run{vcn, static_cast<std::uint64_t>(lcn), length, false}});
            vcn += length;
            at += 1 + lengthBytes + offsetBytes;
        }
        return pairs;
    }

    // The first run of a non-resident attribute of a record, and where its mapping pairs lie in the image.
    Run FirstRun(std::uint64_t number, std::uint32_t type, std::uint64_t& pairAt) {
        const std::uint64_t record = RecordOffset(number);
        const std::size_t attribute = AttributeOffset(number, type);
        auto bytes = Bytes(record, 1024);
        EXPECT_TRUE(ApplyFixups(bytes));
        EXPECT_EQ(bytes[attribute + 8], 1) << "resident";
        pairAt = record + attribute + Le16(bytes.data() + attribute + 32);
        std::vector<Run> runs;
        EXPECT_TRUE(DecodeRunList(std::span(bytes).subspan(pairAt - record), 0, 1ull << 40, runs));
        return runs.empty() ? Run{} : runs[0];
    }

    void CutAt(std::uint64_t size) {
        std::fflush(file_);
        fs::resize_file(path_, size);
    }

    // Offset (within the record) of the first attribute of a type, or 0.
    std::size_t AttributeOffset(std::uint64_t number, std::uint32_t type) {
        auto record = Bytes(RecordOffset(number), 1024);
        EXPECT_TRUE(ApplyFixups(record));
        std::size_t offset = Le16(record.data() + 20);
        while (offset + 8 < record.size() && Le32(record.data() + offset) != kEndOfAttributes) {
            if (Le32(record.data() + offset) == type) return offset;
            offset += Le32(record.data() + offset + 4);
        }
        return 0;
    }

private:
    fs::path path_;
    std::FILE* file_ = nullptr;
};

// Removes the entry at `path` ("victims/file") from a tree and recomputes the totals.
void Remove(model::DirInfo& root, const std::string& path) {
    model::DirInfo* dir = &root;
    std::stringstream parts(path);
    std::string part, next;
    std::getline(parts, part, '/');
    while (std::getline(parts, next, '/')) {
        auto it = std::find_if(dir->subdirs.begin(), dir->subdirs.end(), [&](auto& d) { return d.name == part; });
        ASSERT_NE(it, dir->subdirs.end()) << path;
        dir = &*it;
        part = next;
    }
    model::erase_if(dir->files, [&](const model::FileInfo& f) { return f.name == part; });
    model::erase_if(dir->subdirs, [&](const model::DirInfo& d) { return d.name == part; });
    model::RecomputeTotals(root, 0);
}

TEST(NtfsImage, DamagedRecordsAreLeftOutAndTheRestKept) {
    REQUIRE_IMAGES();
    const fs::path image = Images::Get().dir / "tree.img";
    Read whole;
    ReadImage(image, "", "X:", whole);
    ASSERT_EQ(whole.result, ReadResult::kComplete);
    const auto& manifest = Images::Get().manifest;

    struct Case {
        const char* what;
        const char* victim;                // manifest name of the record damaged
        std::vector<std::string> removed;  // what the tree loses
        std::function<void(DamagedCopy&, std::uint64_t record)> damage;
    };
    std::vector<std::string> manyNames{"attrlist/many-names"};
    for (int i = 0; i < 40; ++i) {
        char prefix[32];
        std::snprintf(prefix, sizeof prefix, "attrlist/link_%03d_", i);
        manyNames.push_back(prefix + std::string(200, 'L'));
    }
    const std::vector<Case> cases{
        {"torn write in a file's record",
         "victims/file",
         {"victims/file"},
         [](DamagedCopy& c, std::uint64_t r) {
             c.Write(c.RecordOffset(r) + 1022, {0xDE, 0xAD});
         }},
        {"torn write in a folder's record",
         "victims/folder",
         {"victims/folder"},
         [](DamagedCopy& c, std::uint64_t r) {
             c.Write(c.RecordOffset(r) + 510, {0xDE, 0xAD});
         }},
        {"attribute length past the record",
         "victims/file",
         {"victims/file"},
         [](DamagedCopy& c, std::uint64_t r) {
             c.Write(c.RecordOffset(r) + c.AttributeOffset(r, kFileName) + 4, {0x00, 0x7F, 0x00, 0x00});
         }},
        {"parent reference past the file table",
         "victims/file",
         {"victims/file"},
         [](DamagedCopy& c, std::uint64_t r) {
             const std::size_t value = c.AttributeOffset(r, kFileName) + 24;  // resident value at 24
             c.Write(c.RecordOffset(r) + value, {0xF0, 0xFF, 0x00, 0x00, 0x00, 0x00});
         }},
        {"folder whose parent is its own child",
         "victims/folder",
         {"victims/folder"},
         [&](DamagedCopy& c, std::uint64_t r) {
             const std::uint64_t child = manifest.at("victims/folder/sub");
             const auto sequence = c.Bytes(c.RecordOffset(child) + 16, 2);
             const std::size_t value = c.AttributeOffset(r, kFileName) + 24;
             c.Write(c.RecordOffset(r) + value,
                     {static_cast<std::uint8_t>(child), static_cast<std::uint8_t>(child >> 8),
                      static_cast<std::uint8_t>(child >> 16), 0, 0, 0, sequence[0], sequence[1]});
         }},
        {"folder that is its own parent",
         "victims/folder",
         {"victims/folder"},
         [](DamagedCopy& c, std::uint64_t r) {
             const auto sequence = c.Bytes(c.RecordOffset(r) + 16, 2);
             const std::size_t value = c.AttributeOffset(r, kFileName) + 24;
             c.Write(c.RecordOffset(r) + value,
                     {static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(r >> 8),
                      static_cast<std::uint8_t>(r >> 16), 0, 0, 0, sequence[0], sequence[1]});
         }},
        {"folder flag cleared on a folder",
         "victims/folder",
         {"victims/folder"},
         [](DamagedCopy& c, std::uint64_t r) { c.Write(c.RecordOffset(r) + 22, {0x01}); }},
        {"folder flag set on a file",
         "victims/file",
         {"victims/file"},
         [](DamagedCopy& c, std::uint64_t r) { c.Write(c.RecordOffset(r) + 22, {0x03}); }},
        {"file size above its allocation",
         "victims/large",
         {"victims/large"},
         [](DamagedCopy& c, std::uint64_t r) {
             c.Write(c.RecordOffset(r) + c.AttributeOffset(r, kData) + 48 + 5, {0x01});
         }},
        {"attribute list with its runs past the volume", "attrlist/many-names", manyNames,
         [](DamagedCopy& c, std::uint64_t r) {
             std::uint64_t pairs = 0;
             c.FirstRun(r, kAttributeList, pairs);
             const std::uint8_t header = c.Bytes(pairs, 1)[0];
             std::vector<std::uint8_t> offset(header >> 4, 0xFF);
             offset.back() = 0x7F;  // the largest cluster offset the pair can hold
             c.Write(pairs + 1 + (header & 0x0F), offset);
         }},
    };
    for (const Case& c : cases) {
        DamagedCopy copy(image);
        c.damage(copy, manifest.at(c.victim));
        Read read;
        ReadImage(copy.Path(), "", "X:", read);
        ASSERT_EQ(read.result, ReadResult::kComplete) << c.what;
        model::DirInfo expected = whole.root;
        for (const std::string& removed : c.removed) Remove(expected, removed);
        EXPECT_EQ(FirstDifference(read.root, expected), "") << c.what;
        EXPECT_TRUE(read.root == expected) << c.what;
    }
}

TEST(NtfsImage, DamageToTheVolumeItselfMeansUnavailable) {
    REQUIRE_IMAGES();
    const fs::path tree = Images::Get().dir / "tree.img", fragmented = Images::Get().dir / "fragmented.img";
    const auto& manifest = Images::Get().manifest;
    struct Case {
        const char* what;
        std::function<void(DamagedCopy&)> damage;
        fs::path image;
    };
    const std::vector<Case> cases{
        {"boot sector name", [](DamagedCopy& c) { c.Write(3, {'X'}); }},
        {"boot sector cluster size", [](DamagedCopy& c) { c.Write(13, {3}); }},
        {"table start past the volume",
         [](DamagedCopy& c) {
             c.Write(48, {0, 0, 0, 0, 0, 0, 0, 0x40});
         }},
        {"table record torn",
         [](DamagedCopy& c) {
             c.Write(c.RecordOffset(0) + 510, {0x12, 0x34});
         }},
        {"table run past the volume",
         [](DamagedCopy& c) {
             const std::size_t data = c.AttributeOffset(0, kData);
             const auto header = c.Bytes(c.RecordOffset(0) + data + 32, 2);
             // The first pair's header: a 4-byte cluster offset of 0x7FFFFFFF.
             c.Write(c.RecordOffset(0) + data + Le16(header.data()), {0x41, 0x01, 0xFF, 0xFF, 0xFF, 0x7F});
         }},
        {"up-case table gone",
         [](DamagedCopy& c) {
             c.Write(c.RecordOffset(10) + 1022, {0, 0});
         }},
        {"root folder torn",
         [](DamagedCopy& c) {
             c.Write(c.RecordOffset(5) + 510, {0, 0});
         }},
        {"root folder's sequence number changed", [](DamagedCopy& c) { c.Write(c.RecordOffset(5) + 16, {0x06}); }},
        {"the up-case table's record storing another number",
         [](DamagedCopy& c) { c.Write(c.RecordOffset(10) + 44, {0x0B}); }},
        {"a record storing another number",
         [&](DamagedCopy& c) { c.Write(c.RecordOffset(manifest.at("victims/file")) + 44, {0x01}); }},
        {"the volume cut short before an attribute list",
         [&](DamagedCopy& c) {
             std::uint64_t pairs = 0;
             const scan::ntfs::Run list = c.FirstRun(manifest.at("attrlist/many-names"), kAttributeList, pairs);
             c.CutAt(list.lcn * c.Boot().clusterSize);
         }},
        {"a table run one cluster off: every run after it shifted",
         [](DamagedCopy& c) {
             const auto pairs = c.TablePairs();
             ASSERT_GE(pairs.size(), 4u) << "the table should lie in several runs";
             const auto& moved = pairs[1];
             ASSERT_LT(pairs.back().run.lcn + pairs.back().run.length + 1, c.Boot().totalClusters)
                 << "later runs stay inside";
             const std::uint8_t header = c.Bytes(moved.at, 1)[0];
             const std::uint64_t field = moved.at + 1 + (header & 0x0F);
             auto offset = c.Bytes(field, header >> 4);
             ASSERT_NE(offset[0], 0xFF);
             ++offset[0];
             c.Write(field, offset);
         },
         fragmented},
        {"a stretch of the table overwritten",
         [](DamagedCopy& c) {
             const auto pairs = c.TablePairs();
             ASSERT_GE(pairs.size(), 4u);
             const scan::ntfs::Run& run = pairs[pairs.size() / 2].run;
             const std::uint32_t cluster = c.Boot().clusterSize;
             c.Write(run.lcn * cluster, std::vector<std::uint8_t>(run.length * cluster, 0));
         },
         fragmented},
    };
    for (const Case& c : cases) {
        DamagedCopy copy(c.image.empty() ? tree : c.image);
        c.damage(copy);
        Read read;
        ReadImage(copy.Path(), "", "X:", read);
        EXPECT_EQ(read.result, ReadResult::kUnavailable) << c.what;
    }
}

// Random bytes flipped all over the file table: anything may come out, but no crash, no hang, and a tree
// whose totals agree with its records.
TEST(NtfsImage, RandomDamageNeverBreaksTheReader) {
    REQUIRE_IMAGES();
    const fs::path image = Images::Get().dir / "tree.img";
    std::mt19937 random(99);
    for (int round = 0; round < 4; ++round) {
        DamagedCopy copy(image);
        const std::uint64_t table = copy.RecordOffset(0);
        for (int flip = 0; flip < 300; ++flip) {
            const std::uint64_t at = table + random() % (4000 * 1024);
            copy.Write(at, {static_cast<std::uint8_t>(random())});
        }
        Read read;
        ReadImage(copy.Path(), "", "X:", read);
        EXPECT_NE(read.result, ReadResult::kStopped);
        model::DirInfo recomputed = read.root;
        model::RecomputeTotals(recomputed, 0);
        EXPECT_TRUE(recomputed == read.root) << "round " << round;
    }
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    const int status = RUN_ALL_TESTS();
    if (status == 0 && ::testing::UnitTest::GetInstance()->skipped_test_count() > 0) {
        std::printf("NTFS image tests skipped: %s\n", Images::Get().skipReason.c_str());
        return 77;
    }
    return status;
}
