#include "frame/CommonControls.h"

#include <commctrl.h>
#include <shlwapi.h>

#include <cstdio>

namespace frame {

CommonControlsLibrary LoadCommonControls() {
    // Kept loaded on purpose: every control of the program comes from it.
    HMODULE library = LoadLibraryA("comctl32.dll");
    if (!library) return {};
    CommonControlsLibrary result{true, 0};
    using InitFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    if (auto init =
            reinterpret_cast<InitFunction>(reinterpret_cast<void*>(GetProcAddress(library, "InitCommonControlsEx")))) {
        INITCOMMONCONTROLSEX classes{sizeof classes, ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_COOL_CLASSES |
                                                         ICC_USEREX_CLASSES | ICC_PROGRESS_CLASS |
                                                         ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES};
        init(&classes);
    }
    if (auto getVersion =
            reinterpret_cast<DLLGETVERSIONPROC>(reinterpret_cast<void*>(GetProcAddress(library, "DllGetVersion")))) {
        DLLVERSIONINFO info{sizeof info};
        if (SUCCEEDED(getVersion(&info))) result.version = PackVersion(info.dwMajorVersion, info.dwMinorVersion);
    }
    return result;
}

bool CheckCommonControls(const CommonControlsLibrary& library, const fw::Interaction& ui) {
    if (!library.found) {
        constexpr const char* kMissing = "Could not find common controls library";
        // Where the system draws its boxes with these very controls, the box cannot appear: say it on the
        // error stream instead of ending without a word.
        if (ui.ShowMessage(nullptr, kMissing, "Error", MB_OK | MB_ICONSTOP) <= 0)
            std::fprintf(stderr, "%s\n", kMissing);
        return false;
    }
    if (library.version >= PackVersion(4, 71)) return true;
    return ui.ShowMessage(nullptr,
                          "Common Controls version is less than 4.71.\r\nThe program may not function "
                          "correctly.\r\n\r\nDo you want to continue?",
                          "Warning", MB_YESNO | MB_ICONWARNING) == IDYES;
}

}  // namespace frame
