// Deterministic benchmark tree generator: scan_gen <dir> <files> <folders> [seed]
// Folders hang under uniformly chosen earlier folders (a random recursive tree, so depth spreads and some
// paths run past 300 characters), files go to uniformly chosen folders, names are 5-40 characters, and
// sizes spread log-uniformly up to 100 MB as sparse files. Prints the totals the walk must find:
//   files <n> folders <n> bytes <n> longest <chars> over259 <folders> over300 <folders>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// splitmix64: fixed output on every platform and library, unlike the standard distributions.
struct Random {
    std::uint64_t state;
    std::uint64_t Next() {
        std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    std::uint64_t Below(std::uint64_t n) { return Next() % n; }
    double Unit() { return static_cast<double>(Next() >> 11) / 9007199254740992.0; }
};

std::string Name(Random& random) {
    static const char kChars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_-";
    const std::size_t length = 5 + random.Below(36);
    std::string name;
    for (std::size_t i = 0; i < length; ++i) name += kChars[random.Below(sizeof kChars - 1)];
    return name;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: scan_gen <dir> <files> <folders> [seed]\n");
        return 2;
    }
    const std::string root = argv[1];
    const long files = std::atol(argv[2]);
    const long folders = std::atol(argv[3]);
    Random random{argc > 4 ? std::strtoull(argv[4], nullptr, 10) : 20261207ull};

    if (mkdir(root.c_str(), 0755) != 0 && errno != EEXIST) {
        std::perror(root.c_str());
        return 1;
    }
    std::vector<std::string> paths{root};
    std::size_t over259 = 0, over300 = 0, longest = 0;
    // Lengths as the Windows walk sees them: "Z:" + the Unix path with backslashes.
    auto windowsLength = [](const std::string& path) { return path.size() + 2; };
    while (static_cast<long>(paths.size()) <= folders) {
        const std::string& parent = paths[random.Below(paths.size())];
        std::string path = parent + "/" + Name(random);
        if (mkdir(path.c_str(), 0755) != 0) {
            if (errno == EEXIST) continue;
            std::perror(path.c_str());
            return 1;
        }
        const std::size_t length = windowsLength(path);
        longest = std::max(longest, length);
        over259 += length > 259;
        over300 += length > 300;
        paths.push_back(std::move(path));
    }

    const double maxLog = std::log(100.0 * 1000 * 1000);
    std::uint64_t bytes = 0;
    for (long i = 0; i < files;) {
        const std::string path = paths[random.Below(paths.size())] + "/" + Name(random) + ".dat";
        const std::uint64_t size =
            random.Below(100) == 0 ? 0 : static_cast<std::uint64_t>(std::exp(random.Unit() * maxLog));
        const int fd = open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY, 0644);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            std::perror(path.c_str());
            return 1;
        }
        if (size != 0 && ftruncate(fd, static_cast<off_t>(size)) != 0) std::perror(path.c_str());
        close(fd);
        bytes += size;
        ++i;
        longest = std::max(longest, windowsLength(path));
    }
    std::printf("files %ld folders %ld bytes %llu longest %zu over259 %zu over300 %zu\n", files, folders,
                static_cast<unsigned long long>(bytes), longest, over259, over300);
    return 0;
}
