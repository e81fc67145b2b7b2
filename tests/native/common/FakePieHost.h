// The one stand-in for the main frame under the pie (pie::PieHost), for the native tests, the Windows tests
// and the benchmarks: it shows a tree of its own (or one it is given), answers the pie's questions and
// records what the pie asks of it as text.
//
//   test_support::FakePieHost host;               // shows host.root at host.currentPath ("" for its root)
//   test_support::FakePieHost shared(bigTree);    // shows a tree that outlives it
//   ... host.calls: "navigate T:\docs\", "command 11849", "explore rooted T:\x\", "rescan T:\", "copy T:\",
//                   "item 11902 T:\big.iso"
//   ... host.statuses: "folder <relative>" or "file <relative>", one per status shown
#pragma once

#include "model/DirInfo.h"
#include "pie/PieHost.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace test_support {

class FakePieHost : public pie::PieHost {
public:
    FakePieHost() = default;
    explicit FakePieHost(const model::DirInfo& tree) : shown_(&tree) {}

    model::DirInfo root;      // shown unless the host was given another tree
    std::string currentPath;  // empty: the shown tree's root folder
    std::uint32_t clusterSize = 0;
    bool dialogLook = false;
    const compare::TreeComparison* comparison = nullptr;  // a comparison of the shown tree, or none
    std::function<void(const std::string& text)> onCopy;  // where a copied text goes (a real clipboard)

    std::vector<std::string> calls;     // navigation, commands, the system file view, rescans, copies
    std::vector<std::string> statuses;  // every status the pie showed
    std::string lastStatusCurrent;      // the current folder given with the last status

    const model::DirInfo* RootFolder() const override { return shown_ ? shown_ : &root; }
    std::string CurrentPath() const override { return currentPath.empty() ? RootFolder()->name + "\\" : currentPath; }
    std::uint32_t ClusterSize() const override { return clusterSize; }
    bool DialogLook() const override { return dialogLook; }
    const compare::TreeComparison* Comparison() const override { return comparison; }
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
        if (onCopy) onCopy(text);
    }
    void ActOnItem(int command, const std::string& path) override {
        calls.push_back("item " + std::to_string(command) + " " + path);
    }
    void ShowFolderStatus(const std::string& current, const std::string& relative, const model::DirInfo&) override {
        statuses.push_back("folder " + relative);
        lastStatusCurrent = current;
    }
    void ShowFileStatus(const std::string& current, const std::string& relative, const model::FileInfo&) override {
        statuses.push_back("file " + relative);
        lastStatusCurrent = current;
    }

private:
    const model::DirInfo* shown_ = nullptr;
};

}  // namespace test_support
