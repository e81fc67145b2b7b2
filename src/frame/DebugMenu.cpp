#include "frame/DebugMenu.h"

#include <string>

namespace frame {

bool RemoveDebugMenu(HMENU menuBar) {
    const int count = GetMenuItemCount(menuBar);
    for (int i = 0; i < count; ++i) {
        char text[64] = {};
        GetMenuStringA(menuBar, i, text, sizeof text, MF_BYPOSITION);
        if (lstrcmpiA(text, "debug") == 0) return DeleteMenu(menuBar, i, MF_BYPOSITION) != FALSE;
    }
    return false;
}

}  // namespace frame
