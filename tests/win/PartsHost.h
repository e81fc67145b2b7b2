// A test host window holding the main window's parts the way the main frame does: the tool bar on top, a
// splitter with the folder tree beside a placeholder pane, and the three status bars at the bottom. It is
// the tree's host (root, current folder, "DialogLook", navigation by names, recorded) and the command
// target of the tool bar (commands recorded). Status bar marks go to an in-memory store.
#pragma once

#include "Screen.h"
#include "common/MapStore.h"
#include "frame/CommonControls.h"
#include "frame/TMyControlBar.h"
#include "frame/TMyStatusDeepData.h"
#include "frame/TMyStatusHeader.h"
#include "frame/TMyStatusShallowData.h"
#include "frame/TSplitWnd.h"
#include "frame/TTreeStruct.h"
#include "model/DirInfo.h"
#include "resource.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace partstest {

using screentest::Pump;

using native_test::MapStore;

// The pie's place in the tests.
class TPlaceholder : public fw::TWindow {
public:
    explicit TPlaceholder(fw::TWindow* parent) : TWindow(parent) {}

protected:
    const char* ClassName() const override { return "KelvaranTestPane"; }
};

// The splitter as the main view paints it: an etched groove while "DialogLook" is on.
class TGroovedSplit : public frame::TSplitWnd {
public:
    TGroovedSplit(fw::TWindow* parent, bool look) : TSplitWnd(parent, true, 0.333, 4), look_(look) {
        SetHoverTracking(true);
        SetRepaintBar(look);
    }
    void SetHover(bool hover) override {
        const bool changed = hover != IsHover();
        TSplitWnd::SetHover(hover);
        if (changed) InvalidateBar();
    }

protected:
    void Paint(HDC dc, const RECT&) override {
        if (look_) PaintGroove(dc);
    }

private:
    bool look_;
};

class THost : public fw::TWindow, public frame::TreeHost {
public:
    THost(model::DirInfo tree, bool look = true)
        : dialogLook(look), root(std::move(tree)), current(root.name + "\\"), bar(this, false), split(this, look),
          treeWindow(&split, IDC_FOLDER_TREE, *this), pane(&split), header(this, Store()), deep(this, Store()),
          shallow(this, Store()) {
        frame::LoadCommonControls();
        // A caption-less window shown without activation stays out of the window manager's hands: Wine
        // then destroys it at once instead of waiting for a manager that Xvfb does not have.
        Attr().style = WS_POPUP | WS_BORDER | WS_CLIPCHILDREN;
        Attr().x = Attr().y = 0;
        Attr().width = 900;
        Attr().height = 560;
    }

    const bool dialogLook;
    model::DirInfo root;
    std::string current;
    std::vector<std::string> navigations;  // paths the tree navigated to
    std::vector<UINT> commands;            // commands the tool bar sent or posted
    MapStore::Values settings;             // what the status bars read and wrote

    frame::TMyControlBar bar;
    TGroovedSplit split;
    frame::TTreeStruct treeWindow;
    TPlaceholder pane;
    frame::TMyStatusHeader header;
    frame::TMyStatusDeepData deep;
    frame::TMyStatusShallowData shallow;

    void Open() {
        Create();
        ShowWindow(GetHandle(), SW_SHOWNA);
        UpdateWindow(GetHandle());
        Pump();
    }

    const model::DirInfo* RootFolder() const override { return &root; }
    std::string CurrentPath() const override { return current; }
    bool DialogLook() const override { return dialogLook; }
    void NavigateByNames(const std::vector<std::string>& names) override {
        std::string path;
        for (const std::string& name : names) path += name + "\\";
        current = path;
        navigations.push_back(path);
    }

    // Stacks the bars and gives the splitter the rest, as the frame does.
    void Relayout() {
        RECT client{};
        GetClientRect(GetHandle(), &client);
        int top = Height(bar), bottom = client.bottom;
        MoveWindow(bar.GetHandle(), 0, 0, client.right, top, TRUE);
        for (frame::TMyStatusBar* status :
             {static_cast<frame::TMyStatusBar*>(&shallow), static_cast<frame::TMyStatusBar*>(&deep),
              static_cast<frame::TMyStatusBar*>(&header)}) {
            bottom -= Height(*status);
            MoveWindow(status->GetHandle(), 0, bottom, client.right, Height(*status), TRUE);
        }
        MoveWindow(split.GetHandle(), 0, top, client.right, bottom - top, TRUE);
    }

protected:
    const char* ClassName() const override { return "KelvaranTestPartsHost"; }

    void SetupWindow() override {
        bar.AddPathBox();
        bar.AddCommandButtons();
        bar.Create();
        bar.SetCommandTarget(GetHandle());
        bar.AddModeBox();
        for (fw::TWindow* part :
             std::initializer_list<fw::TWindow*>{&header, &deep, &shallow, &split, &treeWindow, &pane})
            part->Create();
        split.SetPanes(&treeWindow, &pane);
        Relayout();
        treeWindow.Rebuild();  // as the main view resets itself to the root once its panes exist
    }

    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_SIZE && bar.GetHandle()) {
            Relayout();
            return 0;
        }
        if (msg == WM_COMMAND && lParam == 0) {
            commands.push_back(LOWORD(wParam));
            return 0;
        }
        return TWindow::HandleMessage(msg, wParam, lParam);
    }

private:
    static int Height(const fw::TWindow& window) {
        RECT r{};
        GetWindowRect(window.GetHandle(), &r);
        return r.bottom - r.top;
    }
    frame::TMyStatusBar::StoreFactory Store() {
        return [this] { return std::make_unique<MapStore>(settings); };
    }
};

// Folders named by paths below a root ("Data\\Photos" makes Data and Photos in it), in the given order.
inline model::DirInfo TreeOf(const std::string& rootName, const std::vector<std::string>& paths) {
    model::DirInfo root(rootName);
    for (const std::string& path : paths) {
        model::DirInfo* at = &root;
        for (const std::string& name : model::SplitPath(path + "\\", 0)) {
            auto found = std::find_if(at->subdirs.begin(), at->subdirs.end(), [&](auto& d) { return d.name == name; });
            at = found != at->subdirs.end() ? &*found : &at->subdirs.emplace_back(name);
        }
    }
    return root;
}

}  // namespace partstest
