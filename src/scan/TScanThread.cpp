// The scan worker thread (see TScanThread.h).
#include "scan/TScanThread.h"

#include "scan/ClusterSize.h"
#include "scan/TreeOutput.h"
#include "scan/Win32Lister.h"
#include "scan/ntfs/Win32Volume.h"

namespace scan {

TScanThread::TScanThread(HWND notifyWindow, const std::string& rootPath, UINT endMessage,
                         std::unique_ptr<DirLister> lister, FileTableReader reader)
    : notifyWindow_(notifyWindow), endMessage_(endMessage) {
    const bool ownFileSystem = lister != nullptr;
    lister_ = ownFileSystem ? std::move(lister) : std::make_unique<Win32Lister>();
    reader_ = reader ? std::move(reader) : ownFileSystem ? FileTableReader{} : FileTableReader{ntfs::ScanFromFileTable};
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
    // The dialog waits for the end message whatever happens: a walk that throws ends as stopped, and the
    // dialog hands the exception on once it has waited for the thread.
    struct EndMessage {
        HWND window;
        UINT message;
        bool complete = false;
        ~EndMessage() { PostMessageA(window, message, complete ? 1 : 0, 0); }
    } end{notifyWindow_, endMessage_};
    const std::string rootName = root_.name;
    TreeOutput output(root_);
    end.complete = ScanRoot({*lister_, rootName, rootName, clusterSize_, workers_, reader_}, counters_, *this, output);
    return 0;
}

bool TScanThread::SetPriority(int priority) {
    if (!TThread::SetPriority(priority)) return false;
    std::lock_guard lock(workersLock_);
    priority_ = priority;
    for (const WorkerThread& worker : workerThreads_) SetThreadPriority(worker.handle.Get(), priority);
    return true;
}

void TScanThread::WorkerStarted() {
    HANDLE handle = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &handle,
                         THREAD_SET_INFORMATION | THREAD_QUERY_INFORMATION, FALSE, 0))
        return;  // keeps the priority it was started with
    WorkerThread worker{GetCurrentThreadId(), fw::KernelHandle(handle)};
    std::lock_guard lock(workersLock_);
    if (priority_) SetThreadPriority(worker.handle.Get(), *priority_);
    workerThreads_.push_back(std::move(worker));
}

void TScanThread::WorkerEnded() noexcept {
    const DWORD id = GetCurrentThreadId();
    std::lock_guard lock(workersLock_);
    std::erase_if(workerThreads_, [id](const WorkerThread& worker) { return worker.id == id; });
}

}  // namespace scan
