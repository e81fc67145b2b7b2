// The scan worker thread (see TScanThread.h).
#include "scan/TScanThread.h"

#include "scan/ClusterSize.h"
#include "scan/Win32Lister.h"

namespace scan {

TScanThread::TScanThread(HWND notifyWindow, const std::string& rootPath, UINT endMessage,
                         std::unique_ptr<DirLister> lister)
    : clusterSize_(DetectClusterSize(VolumeRootOf(rootPath))),
      notifyWindow_(notifyWindow),
      root_(RootName(rootPath)),
      endMessage_(endMessage),
      lister_(lister ? std::move(lister) : std::make_unique<Win32Lister>()) {}

TScanThread::~TScanThread() {
    // The body uses the tree and the lister: it must be gone before they are.
    Terminate();
    WaitForExit();
}

int TScanThread::Run() {
    // The dialog waits for the end message whatever happens: a walk that throws ends as stopped, and the
    // dialog hands the exception on once it has waited for the thread.
    struct EndMessage {
        HWND window;
        UINT message;
        bool complete = false;
        ~EndMessage() { PostMessageA(window, message, complete ? 1 : 0, 0); }
    } end{notifyWindow_, endMessage_};
    std::string path = root_.name;
    Walker walker(*lister_, clusterSize_, counters_, *this);
    end.complete = walker.Walk(root_, path);
    return 0;
}

}  // namespace scan
