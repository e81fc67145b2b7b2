// A hook library that gui_driver places into Kelvaran.exe's user-interface thread to read what only that
// process can read: menus (process-local), status bar cells, the tree's selection, combo boxes and tool
// bar buttons (their messages carry pointers into the process). On the registered message
// "KelvaranGuiProbe" posted to the main window, with the receiver window in wParam and a global atom
// holding the query in lParam (none: "menu"), it sends the answer to the receiver as WM_COPYDATA.
//
// Queries (texts are UTF-8; lists are separated by '|', status bars by newlines and their cells by tabs):
//   menu                 the menu bar's drop-down texts
//   status               every status bar of the main window, top to bottom
//   hint                 the simple text (menu hint) of the lowest status bar
//   tree                 the selected tree item's path, item texts from the top joined by '\'
//   treeitem <text>      the screen rectangle of the first visible tree item with that text, or "none"
//   menustate <id>       "enabled" or "disabled", then " checked" when checked (after WM_INITMENUPOPUP)
//   combo <id>           the selected text of the combo box (or extended combo box) with that id
//   button <id>          the tool bar button with that command id: "enabled|disabled left top right bottom"
//                        in screen coordinates, or "none"
//   menuitems <index>    the item texts of the menu bar's drop-down at that position
//   cellrect <bar> <cell>  screen rectangle of a status bar cell (bars 1..3 from the top, cells 1..6)
//   listrow <row> <caption>  "count left top right bottom" of a row of the first list view in the top-level
//                        window of that caption (screen coordinates), or "none"
//   treetexts <caption>  the visible item texts of the first tree view in the top-level window of that
//                        caption (the help viewer's contents), the selected one marked with '*', or "none"
//   fit, dpichange       see probe_fit.h
//   cmdline              the program's own command line (GetCommandLineW)
//   focus                the control ids of the window with the keyboard focus and of its parents up to the
//                        main window, innermost first, then '|' and its text; "none" outside the main window
//   state                "idle" once the thread is back in its main loop with nothing modal up (what it shows
//                        is painted before the answer); "scanning" while the progress dialog is there;
//                        "dialog <caption>|<texts>" while another dialog box (a message box) is; "disabled"
//                        while the main window takes no input otherwise. A thread busy importing a data
//                        file does not answer at all.
#include <windows.h>

#include <commctrl.h>

#include "probe_fit.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string Narrow(const std::wstring& text) {
    if (text.empty()) return {};
    const int bytes =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), narrow.data(), bytes, nullptr, nullptr);
    return narrow;
}

std::vector<HWND> Descendants(HWND parent, const wchar_t* className) {
    struct Search {
        const wchar_t* className;
        std::vector<HWND> found;
    } search{className, {}};
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            wchar_t name[64] = {};
            GetClassNameW(child, name, 64);
            if (lstrcmpiW(name, s->className) == 0) s->found.push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND DescendantWithId(HWND parent, int id) {
    struct Search {
        int id;
        HWND found;
    } search{id, nullptr};
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            if (GetDlgCtrlID(child) == s->id) {
                s->found = child;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string MenuBar(HWND main) {
    std::string texts;
    HMENU bar = GetMenu(main);
    const int count = bar ? GetMenuItemCount(bar) : 0;
    for (int i = 0; i < count; ++i) {
        wchar_t text[128] = {};
        GetMenuStringW(bar, i, text, 128, MF_BYPOSITION);
        if (i) texts += '|';
        texts += Narrow(text);
    }
    return texts;
}

std::vector<HWND> StatusBarsTopDown(HWND main) {
    std::vector<HWND> bars;
    for (HWND bar : Descendants(main, STATUSCLASSNAMEW))
        if (GetParent(bar) == main && IsWindowVisible(bar)) bars.push_back(bar);
    std::sort(bars.begin(), bars.end(), [](HWND a, HWND b) {
        RECT ra{}, rb{};
        GetWindowRect(a, &ra);
        GetWindowRect(b, &rb);
        return ra.top < rb.top;
    });
    return bars;
}

std::string BarText(HWND bar, WPARAM part) {
    const LRESULT length = SendMessageW(bar, SB_GETTEXTLENGTHW, part, 0);
    std::wstring text(LOWORD(length) + 1, L'\0');
    SendMessageW(bar, SB_GETTEXTW, part, reinterpret_cast<LPARAM>(text.data()));
    text.resize(LOWORD(length));
    return Narrow(text);
}

std::string StatusBars(HWND main) {
    std::string answer;
    for (HWND bar : StatusBarsTopDown(main)) {
        if (!answer.empty()) answer += '\n';
        const int parts = static_cast<int>(SendMessageW(bar, SB_GETPARTS, 0, 0));
        for (int i = 0; i < parts; ++i) {
            if (i) answer += '\t';
            answer += BarText(bar, static_cast<WPARAM>(i));
        }
    }
    return answer;
}

std::string TreeItemText(HWND tree, HTREEITEM item) {
    wchar_t text[1024] = {};
    TVITEMW info{};
    info.mask = TVIF_TEXT;
    info.hItem = item;
    info.pszText = text;
    info.cchTextMax = 1024;
    SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&info));
    return Narrow(text);
}

std::string TreeSelection(HWND main) {
    const std::vector<HWND> trees = Descendants(main, WC_TREEVIEWW);
    if (trees.empty()) return "<no tree>";
    HWND tree = trees.front();
    std::vector<std::string> names;
    for (HTREEITEM item = TreeView_GetSelection(tree); item; item = TreeView_GetParent(tree, item)) {
        names.push_back(TreeItemText(tree, item));
    }
    std::string path;
    for (auto name = names.rbegin(); name != names.rend(); ++name) {
        if (!path.empty()) path += '\\';
        path += *name;
    }
    return path;
}

std::string TreeItemRect(HWND main, const std::string& wanted) {
    const std::vector<HWND> trees = Descendants(main, WC_TREEVIEWW);
    if (trees.empty()) return "none";
    HWND tree = trees.front();
    for (HTREEITEM item = TreeView_GetFirstVisible(tree); item; item = TreeView_GetNextVisible(tree, item)) {
        if (TreeItemText(tree, item) != wanted) continue;
        RECT rect{};
        if (!TreeView_GetItemRect(tree, item, &rect, TRUE)) return "none";
        MapWindowPoints(tree, nullptr, reinterpret_cast<POINT*>(&rect), 2);
        char answer[64];
        std::snprintf(answer, sizeof answer, "%ld %ld %ld %ld", rect.left, rect.top, rect.right, rect.bottom);
        return answer;
    }
    return "none";
}

std::string MenuState(HWND main, UINT id) {
    HMENU bar = GetMenu(main);
    const int count = bar ? GetMenuItemCount(bar) : 0;
    for (int i = 0; i < count; ++i) {
        HMENU popup = GetSubMenu(bar, i);
        if (!popup || GetMenuState(popup, id, MF_BYCOMMAND) == static_cast<UINT>(-1)) continue;
        SendMessageW(main, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), MAKELPARAM(i, FALSE));
        const UINT state = GetMenuState(popup, id, MF_BYCOMMAND);
        std::string answer = (state & (MF_GRAYED | MF_DISABLED)) ? "disabled" : "enabled";
        if (state & MF_CHECKED) answer += " checked";
        return answer;
    }
    return "none";
}

std::string ComboSelection(HWND main, int id) {
    HWND combo = DescendantWithId(main, id);
    if (!combo) return "<no combo>";
    const LRESULT selected = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    if (selected == CB_ERR) return "";
    const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, selected, 0);
    std::wstring text(static_cast<std::size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
    SendMessageW(combo, CB_GETLBTEXT, selected, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(std::max<LRESULT>(length, 0)));
    return Narrow(text);
}

std::string ToolbarButton(HWND main, int id) {
    for (HWND bar : Descendants(main, TOOLBARCLASSNAMEW)) {
        const LRESULT index = SendMessageW(bar, TB_COMMANDTOINDEX, id, 0);
        if (index < 0) continue;
        RECT rect{};
        SendMessageW(bar, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rect));
        MapWindowPoints(bar, nullptr, reinterpret_cast<POINT*>(&rect), 2);
        char answer[96];
        std::snprintf(answer, sizeof answer, "%s %ld %ld %ld %ld",
                      SendMessageW(bar, TB_ISBUTTONENABLED, id, 0) ? "enabled" : "disabled", rect.left, rect.top,
                      rect.right, rect.bottom);
        return answer;
    }
    return "none";
}

std::string Rect(RECT r) {
    char answer[64];
    std::snprintf(answer, sizeof answer, "%ld %ld %ld %ld", r.left, r.top, r.right, r.bottom);
    return answer;
}

std::string MenuItems(HWND main, int index) {
    HMENU popup = GetSubMenu(GetMenu(main), index);
    if (!popup) return "none";
    std::string texts;
    for (int i = 0; i < GetMenuItemCount(popup); ++i) {
        wchar_t text[512] = {};
        GetMenuStringW(popup, static_cast<UINT>(i), text, 512, MF_BYPOSITION);
        if (i) texts += '|';
        texts += Narrow(text);
    }
    return texts;
}

std::string CellRect(HWND main, int bar, int cell) {
    const std::vector<HWND> bars = StatusBarsTopDown(main);
    if (bar < 1 || bar > static_cast<int>(bars.size())) return "none";
    RECT r{};
    if (!SendMessageW(bars[static_cast<std::size_t>(bar - 1)], SB_GETRECT, static_cast<WPARAM>(cell - 1),
                      reinterpret_cast<LPARAM>(&r)))
        return "none";
    MapWindowPoints(bars[static_cast<std::size_t>(bar - 1)], nullptr, reinterpret_cast<POINT*>(&r), 2);
    return Rect(r);
}

// Controls of one class in the top-level window of that caption.
std::vector<HWND> TopLevelDescendants(const std::string& caption, const wchar_t* className) {
    const int length = MultiByteToWideChar(CP_UTF8, 0, caption.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 1), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, caption.c_str(), -1, wide.data(), length);
    HWND window = FindWindowW(nullptr, wide.c_str());
    return window ? Descendants(window, className) : std::vector<HWND>{};
}

std::string ListRow(int row, const std::string& caption) {
    const std::vector<HWND> lists = TopLevelDescendants(caption, WC_LISTVIEWW);
    if (lists.empty()) return "none";
    const LRESULT count = SendMessageW(lists.front(), LVM_GETITEMCOUNT, 0, 0);
    RECT r{};
    r.left = LVIR_BOUNDS;
    if (row >= count ||
        !SendMessageW(lists.front(), LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r)))
        return std::to_string(count) + " none";
    MapWindowPoints(lists.front(), nullptr, reinterpret_cast<POINT*>(&r), 2);
    return std::to_string(count) + " " + Rect(r);
}

std::string TreeTexts(const std::string& caption) {
    const std::vector<HWND> trees = TopLevelDescendants(caption, WC_TREEVIEWW);
    if (trees.empty()) return "none";
    HWND tree = trees.front();
    const HTREEITEM selected = TreeView_GetSelection(tree);
    std::string texts;
    for (HTREEITEM item = TreeView_GetFirstVisible(tree); item; item = TreeView_GetNextVisible(tree, item)) {
        if (!texts.empty()) texts += '|';
        if (item == selected) texts += '*';
        texts += TreeItemText(tree, item);
    }
    return texts;
}

std::string WindowTextOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return Narrow(text);
}

// Dialog boxes of this process, shown or not: a modal one is hidden until its loop first goes idle, and
// the probe may be answered from that loop before.
std::vector<HWND> OwnDialogs() {
    std::vector<HWND> dialogs;
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            wchar_t name[16] = {};
            GetClassNameW(window, name, 16);
            if (process == GetCurrentProcessId() && lstrcmpW(name, L"#32770") == 0)
                reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&dialogs));
    return dialogs;
}

std::string State(HWND main) {
    bool scanning = false;
    // A message box over the progress dialog (an error during the scan) is the one to report.
    for (HWND dialog : OwnDialogs()) {
        const std::string caption = WindowTextOf(dialog);
        if (caption == "Reading Disk Structure") {
            scanning = true;
            continue;
        }
        std::string answer = "dialog " + caption;
        for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            wchar_t name[16] = {};
            GetClassNameW(child, name, 16);
            const std::string text = WindowTextOf(child);
            if (lstrcmpiW(name, L"Static") == 0 && !text.empty()) answer += "|" + text;
        }
        std::replace(answer.begin(), answer.end(), '\r', ' ');
        std::replace(answer.begin(), answer.end(), '\n', ' ');
        return answer;
    }
    if (scanning) return "scanning";
    if (!IsWindowEnabled(main)) return "disabled";
    RedrawWindow(main, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    return "idle";
}

std::string Focus(HWND main) {
    HWND focus = GetFocus();
    if (!focus || !IsChild(main, focus)) return "none";
    std::string ids;
    for (HWND window = focus; window && window != main; window = GetParent(window)) {
        if (!ids.empty()) ids += ' ';
        ids += std::to_string(GetDlgCtrlID(window));
    }
    return ids + "|" + WindowTextOf(focus);
}

std::string Answer(HWND main, const std::string& query) {
    const std::size_t blank = query.find(' ');
    const std::string verb = query.substr(0, blank);
    const int argument = blank == std::string::npos ? 0 : std::atoi(query.c_str() + blank + 1);
    if (verb == "menu") return MenuBar(main);
    if (verb == "status") return StatusBars(main);
    if (verb == "hint") {
        const std::vector<HWND> bars = StatusBarsTopDown(main);
        return bars.empty() ? "<no status bar>" : BarText(bars.back(), SB_SIMPLEID);
    }
    if (verb == "tree") return TreeSelection(main);
    if (verb == "treeitem") return TreeItemRect(main, blank == std::string::npos ? "" : query.substr(blank + 1));
    if (verb == "menustate") return MenuState(main, static_cast<UINT>(argument));
    if (verb == "combo") return ComboSelection(main, argument);
    if (verb == "button") return ToolbarButton(main, argument);
    if (verb == "menuitems") return MenuItems(main, argument);
    if (verb == "treetexts") return blank == std::string::npos ? "none" : TreeTexts(query.substr(blank + 1));
    if (verb == "cellrect" || verb == "listrow") {
        const std::size_t second = query.find(' ', blank + 1);
        if (second == std::string::npos) return "none";
        if (verb == "listrow") return ListRow(argument, query.substr(second + 1));
        return CellRect(main, argument, std::atoi(query.c_str() + second + 1));
    }
    if (verb == "fit") return blank == std::string::npos ? "none" : fit::Check(query.substr(blank + 1), &Narrow);
    if (verb == "dpichange") {
        RECT r{};
        int dpi = 0;
        if (std::sscanf(query.c_str(), "dpichange %d %ld %ld %ld %ld", &dpi, &r.left, &r.top, &r.right, &r.bottom) != 5)
            return "none";
        return fit::DpiChange(main, StatusBarsTopDown(main), dpi, r);
    }
    if (verb == "cmdline") return Narrow(GetCommandLineW());
    if (verb == "state") return State(main);
    if (verb == "focus") return Focus(main);
    return "<unknown query " + query + ">";
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK ProbeHook(int code, WPARAM wParam, LPARAM lParam) {
    static const UINT probeMessage = RegisterWindowMessageA("KelvaranGuiProbe");
    auto* msg = reinterpret_cast<MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && msg->message == probeMessage) {
        char query[256] = "menu";
        if (msg->lParam) GlobalGetAtomNameA(static_cast<ATOM>(msg->lParam), query, sizeof query);
        const std::string answer = Answer(msg->hwnd, query);
        COPYDATASTRUCT data{1, static_cast<DWORD>(answer.size()), const_cast<char*>(answer.data())};
        SendMessageA(reinterpret_cast<HWND>(msg->wParam), WM_COPYDATA, reinterpret_cast<WPARAM>(msg->hwnd),
                     reinterpret_cast<LPARAM>(&data));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
