// The scan worker thread (see TScanThread.h).
#include "scan/TScanThread.h"

#include "scan/ClusterSize.h"
#include "scan/Win32Lister.h"

namespace scan {

TScanThread::TScanThread(HWND notifyWindow, const std::string& rootPath, UINT endMessage,
                         std::unique_ptr<DirLister> lister)
    : notifyWindow_(notifyWindow),
      endMessage_(endMessage),
      lister_(lister ? std::move(lister) : std::make_unique<Win32Lister>()) {
    // The walk lists the root in the "\\?\" form, which takes "..", "." and doubled backslashes literally,
    // and a relative root would change meaning with the current folder: scan the full path, and name the
    // tree after it so that paths composed from the root later lead to the same folders.
    const std::string fullPath = FullFolderPath(rootPath);
    root_.name = RootName(fullPath);
    clusterSize_ = DetectClusterSize(fullPath);
}

TScanThread::~TScanThread() {
    // The body uses the tree and the lister: it must be gone before they are.
    Terminate();
    WaitForExit();
}

int TScanThread::Run() {
    std::string path = root_.name;
    Walker walker(*lister_, clusterSize_, counters_, *this);
    const bool complete = walker.Walk(root_, path);
    PostMessageA(notifyWindow_, endMessage_, complete ? 1 : 0, 0);
    return 0;
}

}  // namespace scan
