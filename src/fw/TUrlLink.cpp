#include "fw/TUrlLink.h"

#include <commctrl.h>
#include <shellapi.h>

#include <utility>

namespace fw {
namespace {
constexpr COLORREF kLinkColour = RGB(0, 0, 204);
}  // namespace

TUrlLink::~TUrlLink() {
    if (tooltip_ && IsWindow(tooltip_)) DestroyWindow(tooltip_);
}

void TUrlLink::SetTarget(const std::string& target) {
    target_ = target;
    HWND wnd = GetHandle();
    if (!wnd) return;
    if (!font_) {
        HFONT current = reinterpret_cast<HFONT>(SendMessageA(wnd, WM_GETFONT, 0, 0));
        LOGFONTA face{};
        if (GetObjectA(current ? static_cast<HGDIOBJ>(current) : GetStockObject(DEFAULT_GUI_FONT), sizeof face,
                       &face)) {
            face.lfUnderline = TRUE;
            font_.Reset(CreateFontIndirectA(&face));
            if (font_) SendMessageA(wnd, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), TRUE);
        }
    }
    if (!tooltip_)
        tooltip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, wnd, nullptr, GetModuleHandleA(nullptr),
                                   nullptr);
    if (tooltip_) {
        TTTOOLINFOA tool{};
        tool.cbSize = TTTOOLINFOA_V1_SIZE;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = ::GetParent(wnd);
        tool.uId = reinterpret_cast<UINT_PTR>(wnd);
        tool.lpszText = const_cast<char*>(target_.c_str());
        SendMessageA(tooltip_, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
        SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void TUrlLink::Open() const {
    if (!target_.empty()) ui_.OpenLink(GetHandle(), target_);
}

bool TUrlLink::HandleReflected(UINT msg, WPARAM wParam, LPARAM, LRESULT& result) {
    if (msg != WM_CTLCOLORSTATIC) return false;
    HDC dc = reinterpret_cast<HDC>(wParam);
    SetTextColor(dc, kLinkColour);
    SetBkMode(dc, TRANSPARENT);
    result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    return true;
}

LRESULT TUrlLink::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_NCHITTEST: return HTCLIENT;  // a static is transparent to the mouse otherwise
    case WM_SETCURSOR: SetCursor(LoadCursor(nullptr, IDC_HAND)); return TRUE;
    case WM_LBUTTONUP: Open(); return 0;
    }
    return TControl::HandleMessage(msg, wParam, lParam);
}

}  // namespace fw
