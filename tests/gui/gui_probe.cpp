// A hook library that gui_driver places into Kelvaran.exe's user-interface thread to read what only that
// process can read: its menu bar (menus are process-local). On the registered message "KelvaranGuiProbe"
// posted to the main window, it sends the top-level menu texts, separated by '|', to the window in wParam
// as WM_COPYDATA.
#include <windows.h>

#include <string>

extern "C" __declspec(dllexport) LRESULT CALLBACK ProbeHook(int code, WPARAM wParam, LPARAM lParam) {
    static const UINT probeMessage = RegisterWindowMessageA("KelvaranGuiProbe");
    auto* msg = reinterpret_cast<MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && msg->message == probeMessage) {
        std::string texts;
        HMENU bar = GetMenu(msg->hwnd);
        const int count = bar ? GetMenuItemCount(bar) : 0;
        for (int i = 0; i < count; ++i) {
            char text[128] = {};
            GetMenuStringA(bar, i, text, sizeof text, MF_BYPOSITION);
            if (i) texts += '|';
            texts += text;
        }
        COPYDATASTRUCT data{1, static_cast<DWORD>(texts.size()), texts.data()};
        SendMessageA(reinterpret_cast<HWND>(msg->wParam), WM_COPYDATA, reinterpret_cast<WPARAM>(msg->hwnd),
                     reinterpret_cast<LPARAM>(&data));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
