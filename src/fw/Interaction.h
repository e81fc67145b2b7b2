// Where the program turns to the user or to the system outside its own windows: message boxes, the help
// viewer, the opener of links, and the shell's actions on files and folders (open, properties, delete). The program
// passes the system's everywhere (a default Interaction); a caller that wants to answer or see them (a test) gives its
// own to the window or function that shows them, which hands it on to what it opens. Nothing of it is process-wide.
//
//   fw::Interaction ui;                                    // the system's box, help viewer and opener
//   ui.ShowMessage(owner, "Could not set data", "Error", MB_OK | MB_ICONERROR);
//   fw::Interaction recording{[&](HWND, const std::string& text, const std::string&, UINT) { ...; return IDOK; }};
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace fw {

struct Interaction {
    using MessageBoxFn =
        std::function<int(HWND owner, const std::string& text, const std::string& caption, UINT flags)>;
    // Receives the owner and the help file's path with the topic appended.
    using HelpViewerFn = std::function<void(HWND owner, const std::string& fileAndTopic)>;
    using OpenerFn = std::function<void(const std::string& target)>;
    // Receive an item's full path (UTF-8, a folder's ending in a backslash); answer 0 when the system
    // acted, else its error code.
    using ItemFn = std::function<unsigned long(HWND owner, const std::string& path)>;
    using DeleteFn = std::function<unsigned long(HWND owner, const std::string& path, bool toRecycleBin)>;

    MessageBoxFn messageBox;  // empty: the system's box
    HelpViewerFn helpViewer;  // empty: the system's help viewer (about/Help.h)
    OpenerFn openLink;        // empty: the shell's "open" verb
    // Empty: the system's own (frame/ShellItems.h): the item's default verb, its properties sheet, the
    // Recycle Bin or removal for good (links removed as links).
    ItemFn openItem;
    ItemFn showProperties;
    DeleteFn deleteItem;

    // The box's answer (IDOK, IDYES, ...; 0 when the system could not show it).
    int ShowMessage(HWND owner, const std::string& text, const std::string& caption, UINT flags) const;
    // Opens a link target (a web page, a mail address) as the user's system does.
    void OpenLink(HWND owner, const std::string& target) const;
};

}  // namespace fw
