// Part of gui_probe.cpp (inside the program's thread): whether every text of a window shows whole, and the
// main window's answer to a change of DPI.
//
//   fit <caption>   "checked N cut M", then "|class 'text' needs WxH, has WxH" for each text that does not
//                   fit: static texts, buttons (push, check, radio, group), list view column headers, the
//                   status cells with numbers, the tool bar's text button and the entries of combo boxes
//                   with a fixed list, in the top-level window of that caption
//   dpichange <dpi> <left> <top> <right> <bottom>
//                   sends WM_DPICHANGED with that DPI and suggested rectangle to the main window, then
//                   answers "window L T R B font H cell W": its window rectangle, the character height of
//                   the status bars' font and the width of the deep row's size cell
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

namespace fit {

inline std::wstring TextOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

inline int DpiOf(HWND window) {
    using Fn = UINT(WINAPI*)(HWND);
    static const auto forWindow = reinterpret_cast<Fn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    if (forWindow)
        if (const UINT dpi = forWindow(window)) return static_cast<int>(dpi);
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

// The extent of `text` in the window's font: on one line, or wrapped to `wrapWidth` when it is positive.
inline SIZE Extent(HWND window, HFONT font, const std::wstring& text, int wrapWidth, bool prefix) {
    HDC dc = GetDC(window);
    HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(SYSTEM_FONT));
    RECT r{0, 0, wrapWidth > 0 ? wrapWidth : 0, 0};
    const UINT flags = DT_CALCRECT | (wrapWidth > 0 ? DT_WORDBREAK : DT_SINGLELINE) | (prefix ? 0 : DT_NOPREFIX);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, flags);
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    return {r.right - r.left, r.bottom - r.top};
}

struct Report {
    int checked = 0, cut = 0;
    std::string details;
    void Check(const char* what, const std::wstring& text, SIZE needs, int width, int height,
               std::string (*narrow)(const std::wstring&)) {
        ++checked;
        if (needs.cx <= width && needs.cy <= height) return;
        ++cut;
        details.append("|").append(what).append(" '").append(narrow(text)).append("' needs ");
        details.append(std::to_string(needs.cx)).append("x").append(std::to_string(needs.cy)).append(", has ");
        details.append(std::to_string(width)).append("x").append(std::to_string(height));
    }
};

inline HFONT FontOf(HWND window) { return reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)); }

inline void CheckControl(HWND control, Report& report, std::string (*narrow)(const std::wstring&)) {
    if (!IsWindowVisible(control)) return;
    wchar_t name[64] = {};
    GetClassNameW(control, name, 64);
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    RECT client{};
    GetClientRect(control, &client);
    const int dpi = DpiOf(control);
    const auto scaled = [dpi](int at96) { return MulDiv(at96, dpi, 96); };
    if (lstrcmpiW(name, L"Static") == 0) {
        const LONG type = style & SS_TYPEMASK;
        if (type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT && type != SS_LEFTNOWORDWRAP && type != SS_SIMPLE)
            return;
        const std::wstring text = TextOf(control);
        // A text that shortens itself with an ellipsis (a path) is meant to.
        if (text.empty() || (style & SS_ELLIPSISMASK)) return;
        const bool wraps = type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT;
        const SIZE needs = Extent(control, FontOf(control), text, wraps ? client.right : 0, !(style & SS_NOPREFIX));
        report.Check("static", text, needs, client.right, client.bottom, narrow);
    } else if (lstrcmpiW(name, L"Button") == 0) {
        const LONG type = style & BS_TYPEMASK;
        const std::wstring text = TextOf(control);
        if (text.empty() || type == BS_OWNERDRAW) return;
        const bool wraps = (style & BS_MULTILINE) != 0;
        if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) {
            const int room = client.right - scaled(4);
            report.Check("button", text, Extent(control, FontOf(control), text, wraps ? room : 0, true), room,
                         client.bottom - scaled(2), narrow);
        } else if (type == BS_GROUPBOX) {
            report.Check("group", text, Extent(control, FontOf(control), text, 0, true), client.right - scaled(8),
                         client.bottom, narrow);
        } else {
            // Check boxes and radio buttons: the box and a gap come first.
            const int room = client.right - scaled(13 + 4);
            report.Check("check", text, Extent(control, FontOf(control), text, wraps ? room : 0, true), room,
                         client.bottom, narrow);
        }
    } else if (lstrcmpiW(name, WC_HEADERW) == 0) {
        const int count = static_cast<int>(SendMessageW(control, HDM_GETITEMCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            wchar_t text[256] = {};
            HDITEMW item{};
            item.mask = HDI_TEXT | HDI_WIDTH;
            item.pszText = text;
            item.cchTextMax = 256;
            RECT r{};
            if (!SendMessageW(control, HDM_GETITEMW, i, reinterpret_cast<LPARAM>(&item)) || !text[0] ||
                !SendMessageW(control, HDM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r)))
                continue;
            // The header keeps a margin of about three edges on each side of the text.
            const int room = r.right - r.left - 2 * 3 * GetSystemMetrics(SM_CXEDGE);
            report.Check("header", text, Extent(control, FontOf(control), text, 0, false), room, r.bottom - r.top,
                         narrow);
        }
    } else if (lstrcmpiW(name, STATUSCLASSNAMEW) == 0) {
        const int parts = static_cast<int>(SendMessageW(control, SB_GETPARTS, 0, 0));
        // The numbers' cells have fixed widths; the last cell, a name, ends in an ellipsis when too long.
        for (int i = 0; i + 1 < parts; ++i) {
            const LRESULT length = SendMessageW(control, SB_GETTEXTLENGTHW, i, 0);
            std::wstring text(LOWORD(length) + 1, L'\0');
            SendMessageW(control, SB_GETTEXTW, i, reinterpret_cast<LPARAM>(text.data()));
            text.resize(LOWORD(length));
            RECT r{};
            if (text.empty() || !SendMessageW(control, SB_GETRECT, i, reinterpret_cast<LPARAM>(&r))) continue;
            const int room = r.right - r.left - 2 * (1 + scaled(3));
            report.Check("cell", text, Extent(control, FontOf(control), text, 0, false), room, r.bottom - r.top,
                         narrow);
        }
    } else if (lstrcmpiW(name, TOOLBARCLASSNAMEW) == 0) {
        const int count = static_cast<int>(SendMessageW(control, TB_BUTTONCOUNT, 0, 0));
        HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessageW(control, TB_GETIMAGELIST, 0, 0));
        int glyphWidth = 0, glyphHeight = 0;
        if (images) ImageList_GetIconSize(images, &glyphWidth, &glyphHeight);
        for (int i = 0; i < count; ++i) {
            TBBUTTON button{};
            if (!SendMessageW(control, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button)) ||
                !(button.fsStyle & BTNS_SHOWTEXT))
                continue;
            wchar_t text[128] = {};
            SendMessageW(control, TB_GETBUTTONTEXTW, button.idCommand, reinterpret_cast<LPARAM>(text));
            RECT r{};
            SendMessageW(control, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r));
            const int room = r.right - r.left - glyphWidth - scaled(6);
            report.Check("tool button", text, Extent(control, FontOf(control), text, 0, false), room, r.bottom - r.top,
                         narrow);
        }
    } else if (lstrcmpiW(name, L"ComboBox") == 0 && (style & 3) == CBS_DROPDOWNLIST &&
               !(style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE))) {
        // Inside an extended combo box the entries' pictures come first: those are checked by their widths
        // in the tool bar's own rules, not here.
        wchar_t parent[64] = {};
        GetClassNameW(GetParent(control), parent, 64);
        if (lstrcmpiW(parent, WC_COMBOBOXEXW) == 0) return;
        COMBOBOXINFO info{sizeof info};
        if (!GetComboBoxInfo(control, &info)) return;
        // The last letter's advance ends in its blank side bearing, which may touch the button.
        const int room = info.rcItem.right - info.rcItem.left + 1;
        const int count = static_cast<int>(SendMessageW(control, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            const LRESULT length = SendMessageW(control, CB_GETLBTEXTLEN, i, 0);
            if (length <= 0) continue;
            std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
            SendMessageW(control, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
            text.resize(static_cast<std::size_t>(length));
            report.Check("combo entry", text, Extent(control, FontOf(control), text, 0, false), room,
                         info.rcItem.bottom - info.rcItem.top, narrow);
        }
    }
}

inline std::string Check(const std::string& caption, std::string (*narrow)(const std::wstring&)) {
    const int length = MultiByteToWideChar(CP_UTF8, 0, caption.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 1), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, caption.c_str(), -1, wide.data(), length);
    HWND window = FindWindowW(nullptr, wide.c_str());
    if (!window) return "none";
    Report report;
    std::pair<Report*, std::string (*)(const std::wstring&)> context{&report, narrow};
    EnumChildWindows(
        window,
        [](HWND child, LPARAM data) -> BOOL {
            auto* pair = reinterpret_cast<std::pair<Report*, std::string (*)(const std::wstring&)>*>(data);
            CheckControl(child, *pair->first, pair->second);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&context));
    return "checked " + std::to_string(report.checked) + " cut " + std::to_string(report.cut) + report.details;
}

inline std::string DpiChange(HWND main, const std::vector<HWND>& bars, int dpi, RECT suggested) {
    SendMessageW(main, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    RECT window{};
    GetWindowRect(main, &window);
    LOGFONTW face{};
    int cell = -1;
    if (bars.size() >= 2) {
        GetObjectW(FontOf(bars[1]), sizeof face, &face);
        RECT r{};
        if (SendMessageW(bars[1], SB_GETRECT, 2, reinterpret_cast<LPARAM>(&r))) cell = r.right - r.left;
    }
    return "window " + std::to_string(window.left) + " " + std::to_string(window.top) + " " +
           std::to_string(window.right) + " " + std::to_string(window.bottom) + " font " +
           std::to_string(face.lfHeight) + " cell " + std::to_string(cell);
}

}  // namespace fit
