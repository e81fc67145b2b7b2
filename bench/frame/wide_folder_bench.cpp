// The whole program on a folder of very many subfolders, run under Wine on a virtual display by
// bench/frame/run.sh:
//
//   wide_folder_bench.exe <Kelvaran.exe> <work folder> [runs [data file...]]
//
// Writes two data files into the work folder, a root holding 1,000,000 empty subfolders and, as the
// baseline measured in the same run, one holding 1,000; then, for each, starts Kelvaran.exe on the file
// and prints the milliseconds from the start until the main window answers a message (the import done and
// the window built), and from the Exit command until the process has ended. Best and median of the runs.
// Further data files given are measured the same way, after the two.
#include "model/DataFile.h"
#include "resource.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

double Since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// Names like a cache folder's: eight hex digits from a fixed sequence.
bool WriteWideFile(const std::string& path, std::size_t subfolders) {
    model::DirInfo root("C:");
    root.subdirs.reserve(subfolders);
    std::uint64_t state = 20261208;
    char name[16];
    for (std::size_t i = 0; i < subfolders; ++i) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        std::snprintf(name, sizeof name, "%08x", static_cast<unsigned>(state >> 33));
        root.subdirs.emplace_back(name);
    }
    return model::WriteDataFile(path, 4096, root, [](const std::string& text) {
        std::fprintf(stderr, "wide folder bench: %s\n", text.c_str());
    });
}

struct Run {
    double answer = -1, exit = -1;
};

Run Once(const std::string& program, const std::string& file) {
    Run run;
    std::string commandLine = "\"" + program + "\" \"" + file + "\"";
    STARTUPINFOA startup{sizeof startup};
    PROCESS_INFORMATION process{};
    const auto start = std::chrono::steady_clock::now();
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return run;
    CloseHandle(process.hThread);
    HWND main = nullptr;
    while (!main && Since(start) < 120'000) {
        main = FindWindowA("KelvaranFrame", nullptr);
        if (!main) Sleep(10);
    }
    DWORD_PTR result = 0;
    if (main && SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_NORMAL, 120'000, &result)) run.answer = Since(start);
    const auto closing = std::chrono::steady_clock::now();
    if (main) PostMessageA(main, WM_COMMAND, CM_EXIT, 0);
    if (WaitForSingleObject(process.hProcess, 120'000) == WAIT_OBJECT_0 && main)
        run.exit = Since(closing);
    else
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hProcess);
    return run;
}

std::string Figures(std::vector<double> times) {
    if (std::count(times.begin(), times.end(), -1.0) > 0) return "FAILED";
    std::sort(times.begin(), times.end());
    char text[64];
    std::snprintf(text, sizeof text, "best %.0f ms, median %.0f ms", times.front(), times[times.size() / 2]);
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: wide_folder_bench <Kelvaran.exe> <work folder> [runs]\n");
        return 2;
    }
    const std::string program = argv[1], folder = argv[2];
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 3;
    struct Case {
        std::string name;
        std::size_t subfolders;  // 0: a given file
        std::string file;
    };
    std::vector<Case> cases{{"1,000 subfolders (baseline)", 1'000, folder + "\\wide-1000.klv"},
                            {"1,000,000 subfolders", 1'000'000, folder + "\\wide-1000000.klv"}};
    for (int i = 4; i < argc; ++i) cases.push_back({argv[i], 0, argv[i]});
    for (const Case& c : cases) {
        const std::string& file = c.file;
        if (c.subfolders > 0 && GetFileAttributesA(file.c_str()) == INVALID_FILE_ATTRIBUTES &&
            !WriteWideFile(file, c.subfolders))
            return 1;
        std::vector<double> answers, exits;
        for (int i = 0; i < runs; ++i) {
            const Run run = Once(program, file);
            answers.push_back(run.answer);
            exits.push_back(run.exit);
        }
        std::printf("wide folder bench: %s: start to answering %s; Exit to process end %s\n", c.name.c_str(),
                    Figures(answers).c_str(), Figures(exits).c_str());
        std::fflush(stdout);
    }
    return 0;
}
