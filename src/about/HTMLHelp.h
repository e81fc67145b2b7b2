// The system's HTML Help viewer, loaded on first use: the library "HHCTRL.OCX" and its entry point
// "HtmlHelpA". One instance lives from its first use to the program's end, which frees the library.
// Without the library or the entry point, Display does nothing.
#pragma once

#include "fw/Handles.h"

#include <windows.h>

#include <string>

namespace tv {

class HTMLHelp {
public:
    using Entry = HWND(WINAPI*)(HWND caller, LPCSTR file, UINT command, DWORD_PTR data);
    static constexpr UINT kDisplayTopic = 0;

    static HTMLHelp& Instance();

    bool HasEntry() const noexcept { return entry_ != nullptr; }
    // Shows `fileAndTopic` ("C:\...\Kelvaran.chm::/statdlg.htm") for `caller`.
    void Display(HWND caller, const std::string& fileAndTopic) const;

private:
    HTMLHelp();

    fw::Module library_;
    Entry entry_ = nullptr;
};

}  // namespace tv
