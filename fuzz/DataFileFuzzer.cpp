// Fuzz target for the data file reader. Every input is decoded on a thread with a 256 KiB stack, so any
// walk that recursed per level would overflow on the deep inputs. An accepted file must give a tree within
// the depth cap that encodes, decodes again completely to an equal tree, and copies equal.
#include "model/DataFile.h"

#include <pthread.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

std::size_t Depth(const model::DirInfo& root) {
    struct Frame {
        const model::DirInfo* dir;
        std::size_t depth;
    };
    std::size_t deepest = 0;
    std::vector<Frame> stack{{&root, 0}};
    while (!stack.empty()) {
        const Frame frame = stack.back();
        stack.pop_back();
        if (frame.depth > deepest) deepest = frame.depth;
        for (const model::DirInfo& sub : frame.dir->subdirs) stack.push_back({&sub, frame.depth + 1});
    }
    return deepest;
}

void TestOne(std::string_view input) {
    model::DirInfo root("untouched");
    std::uint32_t cluster = 12345;
    const model::DecodeResult result = model::DecodeDataFile(input, root, cluster);
    if (result == model::DecodeResult::kNotDataFile) {
        Check(root.name == "untouched" && root.subdirs.empty() && root.files.empty() && cluster == 12345);
        return;
    }
    Check(cluster == 0 || model::IsValidClusterSize(cluster));
    Check(Depth(root) <= model::kMaxTreeDepth);
    model::RecomputeTotals(root, cluster);

    std::string encoded;
    Check(model::EncodeDataFile(cluster, root, encoded));
    model::DirInfo again;
    std::uint32_t againCluster = 0;
    Check(model::DecodeDataFile(encoded, again, againCluster) == model::DecodeResult::kComplete);
    Check(againCluster == cluster);
    model::RecomputeTotals(again, againCluster);
    Check(again == root);
    std::string reencoded;
    Check(model::EncodeDataFile(againCluster, again, reencoded) && reencoded == encoded);

    const model::DirInfo copy = root;
    Check(copy == root);
    // Look-ups with paths taken from the input itself.
    const std::string_view path = input.substr(0, std::min<std::size_t>(input.size(), 200));
    model::FindDir(root, path);
    model::FindFileByPath(root, path);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, 256 * 1024);
    pthread_t thread;
    auto run = [](void* argument) -> void* {
        TestOne(*static_cast<std::string_view*>(argument));
        return nullptr;
    };
    Check(pthread_create(&thread, &attributes, run, &input) == 0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attributes);
    return 0;
}
