#include "frame/CommonControls.h"

#include "fw/Handles.h"
#include "fw/MessageBox.h"

#include <commctrl.h>
#include <shlwapi.h>

namespace frame {

bool CheckCommonControls() {
    fw::Module library(LoadLibraryA("comctl32.dll"));
    if (!library) {
        fw::ShowMessageBox(nullptr, "Could not find common controls library", "Error", MB_OK | MB_ICONSTOP);
        return false;
    }
    INITCOMMONCONTROLSEX init{sizeof init, ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_COOL_CLASSES |
                                               ICC_USEREX_CLASSES | ICC_PROGRESS_CLASS | ICC_TREEVIEW_CLASSES |
                                               ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&init);

    unsigned long version = 0;
    auto getVersion = reinterpret_cast<DLLGETVERSIONPROC>(
        reinterpret_cast<void*>(GetProcAddress(library.Get(), "DllGetVersion")));
    if (getVersion) {
        DLLVERSIONINFO info{sizeof info};
        if (SUCCEEDED(getVersion(&info))) version = PackVersion(info.dwMajorVersion, info.dwMinorVersion);
    }
    if (version >= PackVersion(4, 71)) return true;
    return fw::ShowMessageBox(nullptr,
                              "Common Controls version is less than 4.71.\r\nThe program may not function "
                              "correctly.\r\n\r\nDo you want to continue?",
                              "Warning", MB_YESNO | MB_ICONWARNING) == IDYES;
}

}  // namespace frame
