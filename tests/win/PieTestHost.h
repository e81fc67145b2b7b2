// A stand-in for the main frame under the pie view: it owns a tree, answers the view's questions and
// records every call the view makes, as text ("navigate T:\docs\", "command 11849", ...).
#pragma once

#include <string>
#include <vector>

#include "fw/Clipboard.h"
#include "model/DirInfo.h"
#include "pie/PieHost.h"

namespace test_support {

class RecordingPieHost : public pie::PieHost {
public:
    model::DirInfo root;
    std::string currentPath;
    std::uint32_t clusterSize = 4096;
    bool dialogLook = true;
    HWND clipboardOwner = nullptr;
    std::vector<std::string> calls;     // navigation, commands, Explorer, rescan, clipboard
    std::vector<std::string> statuses;  // "folder <relative>" or "file <relative>"

    const model::DirInfo* RootFolder() const override { return &root; }
    std::string CurrentPath() const override { return currentPath; }
    std::uint32_t ClusterSize() const override { return clusterSize; }
    bool DialogLook() const override { return dialogLook; }
    bool NavigateTo(const std::string& path, bool fromTree) override {
        calls.push_back("navigate " + path + (fromTree ? " from tree" : ""));
        return true;
    }
    void ExecuteCommand(int command) override { calls.push_back("command " + std::to_string(command)); }
    void Explore(const std::string& path, pie::ExplorerKind kind) override {
        const char* names[] = {"open", "explore", "rooted"};
        calls.push_back(std::string("explore ") + names[static_cast<int>(kind)] + " " + path);
    }
    void RescanFolder(const std::string& path) override { calls.push_back("rescan " + path); }
    void CopyToClipboard(const std::string& text) override {
        calls.push_back("copy " + text);
        fw::CopyTextToClipboard(clipboardOwner, text);
    }
    void ShowFolderStatus(const std::string& current, const std::string& relative, const model::DirInfo&) override {
        statuses.push_back("folder " + relative);
        lastStatusCurrent = current;
    }
    void ShowFileStatus(const std::string& current, const std::string& relative, const model::FileInfo&) override {
        statuses.push_back("file " + relative);
        lastStatusCurrent = current;
    }
    std::string lastStatusCurrent;
};

}  // namespace test_support
