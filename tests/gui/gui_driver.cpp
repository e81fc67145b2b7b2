// Drives the real Kelvaran.exe from outside, as a user's tools would: finds its main window, reads its
// caption, menu bar and status line, sends commands, and closes it. Scripts combine it with xdotool (real
// mouse and keys) and ImageMagick (screenshots).
//
//   gui_driver start <program> [argument]   start the program, wait for its window and for the end of its
//                                           start-up scan or import (10 minutes at most), check the window;
//                                           leave it open
//   gui_driver close [alt-f4]               close the running program through its Exit command, or with
//                                           the Alt+F4 keystroke that the system turns into a close
//   gui_driver probe <query>                print what the program's own thread answers (gui_probe.cpp)
//   gui_driver command <id>                 post a menu command to the main window
//   gui_driver rect <control id>            print "left top right bottom" of a window inside the main one
//   gui_driver clipboard                    print the clipboard's text
//   gui_driver window <caption> [ms]        wait for a top-level window of that caption; print its rect
//   gui_driver wait [ms]                    wait for the main window of a program started by others
//   gui_driver dialog <caption> [ms]        wait for a dialog box of that caption; print its texts
//   gui_driver press <caption> <id> [ms]    click the button with that id in the dialog box of that caption
//   gui_driver item <caption> <id> [class]  a control of that dialog box (the first of that window class
//                                           when given): "enabled|disabled checked|unchecked
//                                           left top right bottom|text" (screen coordinates), or "none"
//   gui_driver closewin <caption> [ms]      ask the top-level window of that caption to close; wait until it
//                                           is gone
//   gui_driver place <left> <top> <width> <height>
//                                           move and size the main window (a person's drag of its frame)
//   gui_driver timed <files> <program> [argument]
//                                           start the program and print the milliseconds until its deep
//                                           status row counts <files> files (the pie of a finished scan
//                                           or import is up); the program stays open
// Exit status 0 when every check passed; failures are printed one per line.
#include "resource.h"

#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {
int failures = 0;

void Check(bool ok, const std::string& what) {
    std::printf("%s %s\n", ok ? "ok  " : "FAIL", what.c_str());
    if (!ok) ++failures;
}

HWND WaitForMainWindow(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        HWND main = FindWindowA("KelvaranFrame", nullptr);
        if (main && IsWindowVisible(main)) return main;
        Sleep(100);
    }
    return nullptr;
}

std::string Utf8(const wchar_t* wide) {
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    std::string text(bytes > 0 ? static_cast<std::size_t>(bytes - 1) : 0, '\0');
    if (bytes > 1) WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), bytes, nullptr, nullptr);
    return text;
}

// UTF-8, whatever the driver's own code page.
std::string WindowText(HWND wnd) {
    wchar_t text[1024] = {};
    SendMessageTimeoutW(wnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, nullptr);
    return Utf8(text);
}

// Menus are process-local, so their texts are read inside the program by the probe hook library.
std::string received;

LRESULT CALLBACK ReceiverProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_COPYDATA) {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        received.assign(static_cast<const char*>(data->lpData), data->cbData);
        return TRUE;
    }
    return DefWindowProcA(wnd, msg, wParam, lParam);
}

// Menus and the contents of common controls are process-local: the probe hook library reads them inside
// the program and answers by WM_COPYDATA.
std::string Probe(HWND main, const std::string& query) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = ReceiverProc;
    wc.lpszClassName = "KelvaranGuiReceiver";
    RegisterClassA(&wc);
    HWND receiver = CreateWindowA(wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);

    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string probePath(path);
    probePath = probePath.substr(0, probePath.find_last_of("\\/") + 1) + "gui_probe.dll";
    HMODULE probe = LoadLibraryA(probePath.c_str());
    auto hookProc =
        probe ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(probe, "ProbeHook"))) : nullptr;
    const DWORD thread = GetWindowThreadProcessId(main, nullptr);
    HHOOK hook = hookProc ? SetWindowsHookExA(WH_GETMESSAGE, hookProc, probe, thread) : nullptr;

    received = hook ? "<no answer>" : "<no probe hook>";
    const ATOM atom = GlobalAddAtomA(query.c_str());
    if (hook) {
        PostMessageA(main, RegisterWindowMessageA("KelvaranGuiProbe"), reinterpret_cast<WPARAM>(receiver), atom);
        const DWORD start = GetTickCount();
        MSG msg;
        while (received == "<no answer>" && GetTickCount() - start < 10000) {
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
            Sleep(20);
        }
        UnhookWindowsHookEx(hook);
    }
    GlobalDeleteAtom(atom);
    DestroyWindow(receiver);
    return received;
}

std::vector<std::string> ReadMenuBar(HWND main) {
    const std::string answer = Probe(main, "menu");
    std::vector<std::string> texts;
    for (size_t begin = 0; begin <= answer.size();) {
        size_t end = answer.find('|', begin);
        if (end == std::string::npos) end = answer.size();
        texts.push_back(answer.substr(begin, end - begin));
        begin = end + 1;
    }
    return texts;
}

// Waits until the program's start-up work has ended: its window thread answers the probe from its main
// loop with nothing modal up, or a dialog box other than the progress dialog (a message box) waits for the
// user. Returns the last state (gui_probe.cpp); "gone" when the window went away.
std::string Settle(HWND main, DWORD milliseconds) {
    const DWORD start = GetTickCount();
    std::string state;
    for (;;) {
        if (!IsWindow(main)) return "gone";
        state = Probe(main, "state");
        if (state == "idle" || state.rfind("dialog ", 0) == 0 || state == "<no probe hook>") return state;
        if (GetTickCount() - start >= milliseconds) return state;
        Sleep(100);
    }
}

constexpr DWORD kStartupLimit = 600000;

// The driver's own arguments as the system passed them: argv holds them in the ANSI code page, which
// loses a name in Japanese on its way to the program.
std::wstring WideArgument(int index) {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::wstring argument = arguments && index < count ? arguments[index] : L"";
    LocalFree(arguments);
    return argument;
}

int Start(const std::wstring& program, const std::wstring* argument) {
    std::wstring commandLine = L"\"" + program + L"\"";
    if (argument) commandLine += L" \"" + *argument + L"\"";
    STARTUPINFOW startup{sizeof startup};
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        Check(false, "start " + Utf8(commandLine.c_str()));
        return 1;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    const DWORD started = GetTickCount();

    HWND main = WaitForMainWindow(60000);
    Check(main != nullptr, "main window appears");
    if (!main) return 1;
    // A data file is read on the window thread, which answers nothing meanwhile, not even its caption.
    const std::string state = Settle(main, kStartupLimit);
    char elapsed[32];
    std::snprintf(elapsed, sizeof elapsed, "%.1f", (GetTickCount() - started) / 1000.0);
    if (state == "idle" || state.rfind("dialog ", 0) == 0)
        Check(true, std::string("the start-up scan or import ended after ") + elapsed + " s (state: " + state + ")");
    else
        Check(false, "the start-up scan or import ends within " + std::to_string(kStartupLimit / 1000) +
                         " s (state: " + state + ")");
    Check(WindowText(main) == "Kelvaran", "caption is \"Kelvaran\" (got \"" + WindowText(main) + "\")");

    const std::vector<std::string> expected{"&Root", "&View", "&Mode", "&Commands", "&Info", "&Options", "&Help"};
    const std::vector<std::string> menu = ReadMenuBar(main);
    std::string got;
    for (const auto& text : menu) got += "[" + text + "]";
    Check(menu == expected, "the seven drop-downs left after the debug one is removed (got " + got + ")");

    // Highlighting a menu item shows its hint over the lowest status bar.
    SendMessageA(main, WM_MENUSELECT, MAKEWPARAM(CM_EXPORT, MF_STRING), 0);
    const std::string hint = Probe(main, "hint");
    Check(hint == "Save a disk structure for later access", "menu hint shown (got \"" + hint + "\")");
    SendMessageA(main, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    Check(Probe(main, "hint").empty(), "hint cleared when the menu closes");

    // The statistics command opens its dialog over the main window, and the dialog's Close ends it.
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(CM_STATISTICS, 0), 0);
    HWND statistics = nullptr;
    for (DWORD start = GetTickCount(); !statistics && GetTickCount() - start < 10000; Sleep(50))
        statistics = FindWindowA("#32770", "Statistics");
    Check(statistics != nullptr, "the statistics command opens the Statistics dialog");
    if (statistics) {
        PostMessageA(statistics, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        for (DWORD start = GetTickCount(); IsWindow(statistics) && GetTickCount() - start < 10000;) Sleep(50);
        Check(!IsWindow(statistics) && IsWindowEnabled(main),
              "its Close ends it and the main window takes input again");
    }
    return failures ? 1 : 0;
}

int Close(bool withAltF4) {
    HWND main = FindWindowA("KelvaranFrame", nullptr);
    Check(main != nullptr, "main window found for closing");
    if (!main) return 1;
    DWORD processId = 0;
    GetWindowThreadProcessId(main, &processId);
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, processId);
    if (withAltF4)
        PostMessageA(main, WM_SYSKEYDOWN, VK_F4, 1 | (1 << 29));  // bit 29: Alt is held
    else
        PostMessageA(main, WM_COMMAND, MAKEWPARAM(CM_EXIT, 0), 0);
    const bool ended = process && WaitForSingleObject(process, 20000) == WAIT_OBJECT_0;
    Check(ended, withAltF4 ? "Alt+F4 ends the program" : "Exit command ends the program");
    DWORD code = 1;
    if (process) {
        GetExitCodeProcess(process, &code);
        CloseHandle(process);
    }
    Check(ended && code == 0, "exit status 0");
    return failures ? 1 : 0;
}

HWND FindDescendant(HWND parent, int id) {
    struct Search {
        int id;
        HWND found;
    } search{id, nullptr};
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            if (GetDlgCtrlID(child) != s->id) return TRUE;
            s->found = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

int PrintRect(HWND window) {
    RECT r{};
    if (!window || !GetWindowRect(window, &r)) {
        std::printf("none\n");
        return 1;
    }
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
    return 0;
}

std::string ClipboardText() {
    std::string text;
    if (!OpenClipboard(nullptr)) return "<clipboard busy>";
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* wide = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = Utf8(wide);
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

HWND WaitForDialog(const char* caption, DWORD milliseconds) {
    const DWORD start = GetTickCount();
    do {
        HWND dialog = FindWindowA("#32770", caption);
        if (dialog && IsWindowVisible(dialog)) return dialog;
        Sleep(50);
    } while (GetTickCount() - start < milliseconds);
    return nullptr;
}

// The texts of a dialog box's static controls, in child order, separated by '|'.
int PrintDialogTexts(HWND dialog) {
    if (!dialog) {
        std::printf("none\n");
        return 1;
    }
    std::string texts;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char name[32] = {};
        GetClassNameA(child, name, sizeof name);
        if (lstrcmpiA(name, "Static") != 0) continue;
        const std::string text = WindowText(child);
        if (text.empty()) continue;
        if (!texts.empty()) texts += '|';
        texts += text;
    }
    for (char& c : texts)
        if (c == '\r' || c == '\n') c = ' ';
    std::printf("%s\n", texts.c_str());
    return 0;
}

HWND WaitForWindow(const char* caption, DWORD milliseconds) {
    const DWORD start = GetTickCount();
    do {
        HWND window = FindWindowA(nullptr, caption);
        if (window && IsWindowVisible(window)) return window;
        Sleep(50);
    } while (GetTickCount() - start < milliseconds);
    return nullptr;
}
}  // namespace

int Timed(const char* files, const char* program, const char* argument) {
    std::string commandLine = std::string("\"") + program + "\"";
    if (argument) commandLine += std::string(" \"") + argument + "\"";
    STARTUPINFOA startup{sizeof startup};
    PROCESS_INFORMATION process{};
    LARGE_INTEGER frequency{}, begin{}, now{};
    // The status row counts every file only while the pointer is off the pie (it describes the item under
    // it), and something between runs leaves the pointer at the screen's centre.
    SetCursorPos(0, GetSystemMetrics(SM_CYSCREEN) - 1);
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&begin);
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return 1;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    const auto elapsed = [&] {
        QueryPerformanceCounter(&now);
        return 1000.0 * static_cast<double>(now.QuadPart - begin.QuadPart) / static_cast<double>(frequency.QuadPart);
    };
    for (;;) {
        if (elapsed() > 600000) return 1;
        HWND main = FindWindowA("KelvaranFrame", nullptr);
        if (main) {
            // A busy program answers the probe only when it is done: the time is taken at the answer.
            const std::string status = Probe(main, "status");
            const double ms = elapsed();
            const std::size_t line = status.find('\n');
            if (line != std::string::npos) {
                const std::size_t cell = status.find('\t', line + 1);
                const std::size_t end = status.find('\t', cell + 1);
                std::string count = cell == std::string::npos ? "" : status.substr(cell + 1, end - cell - 1);
                count.erase(std::remove(count.begin(), count.end(), ','), count.end());
                if (count == files) {
                    std::printf("%.0f\n", ms);
                    return 0;
                }
            }
        }
        Sleep(10);
    }
}

int PrintItem(HWND dialog, int id, const char* className) {
    HWND item = dialog ? GetDlgItem(dialog, id) : nullptr;
    if (dialog && className) {
        item = nullptr;
        for (HWND child = GetWindow(dialog, GW_CHILD); child && !item; child = GetWindow(child, GW_HWNDNEXT)) {
            char name[64] = {};
            GetClassNameA(child, name, sizeof name);
            if (GetDlgCtrlID(child) == id && lstrcmpiA(name, className) == 0) item = child;
        }
    }
    RECT r{};
    if (!item || !GetWindowRect(item, &r)) {
        std::printf("none\n");
        return 1;
    }
    const LRESULT check = SendMessageA(item, BM_GETCHECK, 0, 0);
    std::printf("%s %s %ld %ld %ld %ld|%s\n", IsWindowEnabled(item) ? "enabled" : "disabled",
                check == BST_CHECKED ? "checked" : "unchecked", r.left, r.top, r.right, r.bottom,
                WindowText(item).c_str());
    return 0;
}

int CloseTopLevel(const char* caption, DWORD milliseconds) {
    HWND window = WaitForWindow(caption, milliseconds);
    if (!window) return 1;
    PostMessageA(window, WM_CLOSE, 0, 0);
    for (DWORD start = GetTickCount(); IsWindow(window) && GetTickCount() - start < milliseconds;) Sleep(50);
    return IsWindow(window) ? 1 : 0;
}

int main(int argc, char** argv) {
    const std::string verb = argc > 1 ? argv[1] : "";
    if (verb == "start" && argc >= 3) {
        const std::wstring argument = WideArgument(3);
        return Start(WideArgument(2), argc > 3 ? &argument : nullptr);
    }
    if (verb == "close") return Close(argc > 2 && std::string(argv[2]) == "alt-f4");
    if (verb == "timed" && argc >= 4) return Timed(argv[2], argv[3], argc > 4 ? argv[4] : nullptr);
    if (verb == "window" && argc >= 3) return PrintRect(WaitForWindow(argv[2], argc > 3 ? std::atoi(argv[3]) : 5000));
    if (verb == "dialog" && argc >= 3)
        return PrintDialogTexts(WaitForDialog(argv[2], argc > 3 ? std::atoi(argv[3]) : 5000));
    if (verb == "press" && argc >= 4) {
        HWND dialog = WaitForDialog(argv[2], argc > 4 ? std::atoi(argv[4]) : 5000);
        HWND button = dialog ? GetDlgItem(dialog, std::atoi(argv[3])) : nullptr;
        if (!button) return 1;
        PostMessageA(button, BM_CLICK, 0, 0);
        return 0;
    }
    if (verb == "item" && argc >= 4)
        return PrintItem(WaitForDialog(argv[2], 5000), std::atoi(argv[3]), argc > 4 ? argv[4] : nullptr);
    if (verb == "closewin" && argc >= 3) return CloseTopLevel(argv[2], argc > 3 ? std::atoi(argv[3]) : 5000);
    if (verb == "wait") {
        const bool found = WaitForMainWindow(argc > 2 ? std::atoi(argv[2]) : 60000) != nullptr;
        Check(found, "main window appears");
        return found ? 0 : 1;
    }
    if (verb == "clipboard") {
        std::printf("%s\n", ClipboardText().c_str());
        return 0;
    }
    HWND main = FindWindowA("KelvaranFrame", nullptr);
    if (!main) {
        std::fprintf(stderr, "gui_driver: Kelvaran's main window is not there\n");
        return 1;
    }
    if (verb == "probe" && argc >= 3) {
        std::string query = argv[2];
        for (int i = 3; i < argc; ++i) query += std::string(" ") + argv[i];
        std::printf("%s\n", Probe(main, query).c_str());
        return 0;
    }
    if (verb == "command" && argc >= 3)
        return PostMessageA(main, WM_COMMAND, MAKEWPARAM(std::atoi(argv[2]), 0), 0) ? 0 : 1;
    if (verb == "rect" && argc >= 3) return PrintRect(FindDescendant(main, std::atoi(argv[2])));
    if (verb == "place" && argc >= 6)
        return SetWindowPos(main, nullptr, std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]),
                            std::atoi(argv[5]), SWP_NOZORDER | SWP_NOACTIVATE)
                   ? 0
                   : 1;
    std::fprintf(stderr,
                 "usage: gui_driver start <program> [argument] | close [alt-f4] | probe <query> | command <id> |"
                 " rect <id> | clipboard | window <caption> [ms] | dialog <caption> [ms] | press <caption> <id> [ms] |"
                 " item <caption> <id> [class] | closewin <caption> [ms] | place <left> <top> <width> <height> |"
                 " wait [ms]\n");
    return 2;
}
