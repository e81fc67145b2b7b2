// Start-up edit of the main menu: the debugging drop-down is not offered to users.
#pragma once

#include <windows.h>

namespace frame {

// Deletes the first top-level item whose text equals "debug" ignoring case; true when one was deleted.
bool RemoveDebugMenu(HMENU menuBar);

}  // namespace frame
