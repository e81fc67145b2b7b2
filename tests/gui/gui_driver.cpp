// Drives the real Kelvaran.exe from outside, as a user's tools would: finds its main window, reads its
// caption, menu bar and status line, sends commands, and closes it.
//
//   gui_driver start <program> [argument]   start the program, wait for its window, check it; leave it open
//   gui_driver close [alt-f4]               close the running program through its Exit command, or with
//                                           the Alt+F4 keystroke that the system turns into a close
// Exit status 0 when every check passed; failures are printed one per line.
#include "resource.h"

#include <windows.h>

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

std::string WindowText(HWND wnd) {
    char text[512] = {};
    SendMessageTimeoutA(wnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, nullptr);
    return text;
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

std::vector<std::string> ReadMenuBar(HWND main) {
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
    auto hookProc = probe ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(probe, "ProbeHook"))) : nullptr;
    const DWORD thread = GetWindowThreadProcessId(main, nullptr);
    HHOOK hook = hookProc ? SetWindowsHookExA(WH_GETMESSAGE, hookProc, probe, thread) : nullptr;

    received = "<no answer>";
    if (hook) {
        PostMessageA(main, RegisterWindowMessageA("KelvaranGuiProbe"), reinterpret_cast<WPARAM>(receiver), 0);
        const DWORD start = GetTickCount();
        MSG msg;
        while (received == "<no answer>" && GetTickCount() - start < 10000) {
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
            Sleep(20);
        }
        UnhookWindowsHookEx(hook);
    }
    DestroyWindow(receiver);
    std::vector<std::string> texts;
    for (size_t begin = 0; begin <= received.size();) {
        size_t end = received.find('|', begin);
        if (end == std::string::npos) end = received.size();
        texts.push_back(received.substr(begin, end - begin));
        begin = end + 1;
    }
    return texts;
}

int Start(const char* program, const char* argument) {
    std::string commandLine = std::string("\"") + program + "\"";
    if (argument) commandLine += std::string(" \"") + argument + "\"";
    STARTUPINFOA startup{sizeof startup};
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        Check(false, "start " + commandLine);
        return 1;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);

    HWND main = WaitForMainWindow(60000);
    Check(main != nullptr, "main window appears");
    if (!main) return 1;
    Check(WindowText(main) == "Kelvaran", "caption is \"Kelvaran\" (got \"" + WindowText(main) + "\")");

    const std::vector<std::string> expected{"&Root", "&View", "&Mode", "&Commands", "&Info", "&Options", "&Help"};
    const std::vector<std::string> menu = ReadMenuBar(main);
    std::string got;
    for (const auto& text : menu) got += "[" + text + "]";
    Check(menu == expected, "the seven drop-downs left after the debug one is removed (got " + got + ")");

    // Highlighting a menu item shows its hint in the status line.
    HWND status = GetDlgItem(main, IDC_STATUS_LINE);
    Check(status != nullptr, "status line exists");
    SendMessageA(main, WM_MENUSELECT, MAKEWPARAM(CM_EXPORT, MF_STRING), 0);
    const std::string hint = WindowText(status);
    Check(hint == "Save a disk structure for later access", "menu hint shown (got \"" + hint + "\")");
    SendMessageA(main, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    Check(WindowText(status).empty(), "hint cleared when the menu closes");
    SendMessageA(main, WM_MENUSELECT, MAKEWPARAM(CM_IMPORT, MF_STRING), 0);  // leave a hint for the screenshot

    // A command that is not built yet must leave the program running.
    SendMessageA(main, WM_COMMAND, MAKEWPARAM(CM_STATISTICS, 0), 0);
    Check(IsWindow(main) != FALSE, "unbuilt command leaves the window open");
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
}  // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && std::string(argv[1]) == "start") return Start(argv[2], argc > 3 ? argv[3] : nullptr);
    if (argc >= 2 && std::string(argv[1]) == "close") return Close(argc > 2 && std::string(argv[2]) == "alt-f4");
    std::fprintf(stderr, "usage: gui_driver start <program> [argument] | gui_driver close [alt-f4]\n");
    return 2;
}
