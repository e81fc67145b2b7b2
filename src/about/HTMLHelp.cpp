#include "about/HTMLHelp.h"

namespace tv {

HTMLHelp& HTMLHelp::Instance() {
    static HTMLHelp instance;
    return instance;
}

HTMLHelp::HTMLHelp() : library_(LoadLibraryA("HHCTRL.OCX")) {
    if (library_)
        entry_ = reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(library_.Get(), "HtmlHelpA")));
}

void HTMLHelp::Display(HWND caller, const std::string& fileAndTopic) const {
    if (entry_) entry_(caller, fileAndTopic.c_str(), kDisplayTopic, 0);
}

}  // namespace tv
