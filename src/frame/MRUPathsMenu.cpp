#include "frame/MRUPathsMenu.h"

#include "config/Config.h"

#include <algorithm>

namespace frame {

void RewriteRecentRoots(HMENU rootMenu, unsigned firstId, const std::vector<std::string>& entries) {
    int deleted = 0;
    for (unsigned i = 0; i < MRUPaths::kMaxEntries; ++i)
        if (DeleteMenu(rootMenu, firstId + i, MF_BYCOMMAND)) ++deleted;
    if (deleted > 0) {
        // The separator that followed the list; checked so that a menu without one keeps its commands.
        const int position = GetMenuItemCount(rootMenu) - 2;
        MENUITEMINFOA info{sizeof info};
        info.fMask = MIIM_FTYPE;
        if (position >= 0 && GetMenuItemInfoA(rootMenu, static_cast<UINT>(position), TRUE, &info) &&
            (info.fType & MFT_SEPARATOR))
            DeleteMenu(rootMenu, static_cast<UINT>(position), MF_BYPOSITION);
    }
    const auto beforeLast = [rootMenu] { return static_cast<UINT>(std::max(GetMenuItemCount(rootMenu) - 1, 0)); };
    for (std::size_t i = 0; i < entries.size() && i < MRUPaths::kMaxEntries; ++i)
        InsertMenuA(rootMenu, beforeLast(), MF_BYPOSITION | MF_STRING, firstId + i, entries[i].c_str());
    if (!entries.empty()) InsertMenuA(rootMenu, beforeLast(), MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
}

MRUPaths::MenuWriter RootMenuWriter(HWND mainWindow) {
    return [mainWindow](const MRUPaths& paths) {
        if (!mainWindow || !IsWindow(mainWindow)) return;
        HMENU bar = GetMenu(mainWindow);
        HMENU root = bar ? GetSubMenu(bar, 0) : nullptr;
        if (!root) return;
        RewriteRecentRoots(root, paths.FirstId(), paths.Entries());
        DrawMenuBar(mainWindow);
    };
}

std::unique_ptr<config::SettingsStore> OpenUserSettings() { return std::make_unique<config::UserConfig>(); }

}  // namespace frame
