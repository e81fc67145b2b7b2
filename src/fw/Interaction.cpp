#include "fw/Interaction.h"

#include <shellapi.h>

namespace fw {

int Interaction::ShowMessage(HWND owner, const std::string& text, const std::string& caption, UINT flags) const {
    if (messageBox) return messageBox(owner, text, caption, flags);
    return MessageBoxA(owner, text.c_str(), caption.c_str(), flags);
}

void Interaction::OpenLink(HWND owner, const std::string& target) const {
    if (openLink)
        openLink(target);
    else
        ShellExecuteA(owner, "open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace fw
