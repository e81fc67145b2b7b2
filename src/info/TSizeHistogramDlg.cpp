#include "info/TSizeHistogramDlg.h"

#include "fw/Dpi.h"
#include "fw/DpiScale.h"
#include "info/DialogPlacement.h"
#include "model/SizeText.h"
#include "resource.h"

#include <memory>

namespace info {

TSizeHistogramDlg* TSizeHistogramDlg::Open(fw::TWindow* parent, TreeSource& source, HistogramChoices& remembered) {
    // One owner at a time: this function until the window is up and shown, the window from then on. A
    // window gone before (its creation failed, or its set-up threw) leaves the object here, deleted once.
    auto window = std::make_unique<TSizeHistogramDlg>(parent, source, remembered);
    try {
        window->Create();
    } catch (...) {
        window->EnableMainWindow();
        throw;
    }
    ShowWindow(window->GetHandle(), SW_SHOW);
    if (!window->GetHandle()) return nullptr;
    window->ownsItself_ = true;
    return window.release();
}

TSizeHistogramDlg::TSizeHistogramDlg(fw::TWindow* parent, TreeSource& source, HistogramChoices& remembered)
    : TFrameWindow("File Sizes Histogram", nullptr), source_(source), remembered_(remembered),
      detail_(ClampDetail(remembered.detail)) {
    SetParent(parent);
    Attr().exStyle = WS_EX_CLIENTEDGE;
    Attr().width = fw::ScaleFrom96(400, fw::SystemDpi());
    Attr().height = fw::ScaleFrom96(300, fw::SystemDpi());
    SetMenu(LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDM_HISTOGRAM)));
}

void TSizeHistogramDlg::FillWindowClass(WNDCLASSEXA& wc) const {
    TFrameWindow::FillWindowClass(wc);
    wc.style |= CS_HREDRAW | CS_VREDRAW;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
}

void TSizeHistogramDlg::SetupWindow() {
    TFrameWindow::SetupWindow();
    if (GetParent() && GetParent()->GetHandle()) {
        mainWindow_ = GetAncestor(GetParent()->GetHandle(), GA_ROOT);
        EnableWindow(mainWindow_, FALSE);
    }
    labelFont_.Reset(CreateFontA(fw::ScaleFrom96(-11, fw::WindowDpi(GetHandle())), 0, -450, -450, FW_NORMAL, FALSE,
                                 FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                 DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "Arial"));
    histogram_ = ComputeHistogram(source_.Root(), detail_);
    UpdateMenu();
    PlaceAtRemembered(GetHandle(), remembered_.rect);
    placed_ = true;
    source_.Watch(*this);
}

void TSizeHistogramDlg::EnableMainWindow() noexcept {
    if (mainWindow_) EnableWindow(mainWindow_, TRUE);
}

bool TSizeHistogramDlg::CanClose() {
    // Before the window goes, so that activation returns to the main window.
    EnableMainWindow();
    return true;
}

void TSizeHistogramDlg::CleanupWindow() {
    source_.Unwatch(*this);
    EnableMainWindow();
    // A window whose creation failed was never where the user put it.
    if (placed_) {
        remembered_.detail = detail_;
        remembered_.rect = RectToRemember(GetHandle());
    }
    TFrameWindow::CleanupWindow();
}

void TSizeHistogramDlg::UpdateMenu() noexcept {
    // The items sit on the menu bar itself, which gets no WM_INITMENUPOPUP: update them at every change.
    HMENU menu = ::GetMenu(GetHandle());
    EnableMenuItem(menu, CM_MORE_DETAIL, MF_BYCOMMAND | (detail_ < kMaxDetail ? MF_ENABLED : MF_GRAYED));
    EnableMenuItem(menu, CM_LESS_DETAIL, MF_BYCOMMAND | (detail_ > kMinDetail ? MF_ENABLED : MF_GRAYED));
    DrawMenuBar(GetHandle());
}

void TSizeHistogramDlg::TreeReplaced() {
    histogram_ = ComputeHistogram(source_.Root(), detail_);
    InvalidateRect(GetHandle(), nullptr, TRUE);
}

void TSizeHistogramDlg::ChangeDetail(int step) {
    const int detail = detail_ + step;
    if (detail < kMinDetail || detail > kMaxDetail) return;
    detail_ = detail;
    histogram_ = ComputeHistogram(source_.Root(), detail_);
    UpdateMenu();
    InvalidateRect(GetHandle(), nullptr, TRUE);
}

void TSizeHistogramDlg::Paint() {
    fw::PaintDC paint(GetHandle());
    RECT client{};
    GetClientRect(GetHandle(), &client);
    const int width = client.right - client.left, height = client.bottom - client.top;
    if (width <= 0 || height <= 0) return;
    // Drawn off screen and copied, so that a resize does not flicker through the cleared background.
    fw::MemoryDC memory(CreateCompatibleDC(paint.Get()));
    fw::Bitmap bitmap(CreateCompatibleBitmap(paint.Get(), width, height));
    const int dpi = fw::WindowDpi(GetHandle());
    if (!memory || !bitmap) return DrawHistogram(paint.Get(), client, histogram_, labelFont_.Get(), dpi);
    fw::SelectGuard select(memory.Get(), bitmap.Get());
    FillRect(memory.Get(), &client, GetSysColorBrush(COLOR_BTNFACE));
    DrawHistogram(memory.Get(), client, histogram_, labelFont_.Get(), dpi);
    BitBlt(paint.Get(), 0, 0, width, height, memory.Get(), 0, 0, SRCCOPY);
}

LRESULT TSizeHistogramDlg::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT: Paint(); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_SIZE: InvalidateRect(GetHandle(), nullptr, FALSE); return 0;
    case WM_COMMAND:
        if (lParam != 0) break;
        if (LOWORD(wParam) == CM_MORE_DETAIL) {
            ChangeDetail(+1);
            return 0;
        }
        if (LOWORD(wParam) == CM_LESS_DETAIL) {
            ChangeDetail(-1);
            return 0;
        }
        break;
    }
    return TFrameWindow::HandleMessage(msg, wParam, lParam);
}

void DrawHistogram(HDC dc, const RECT& client, const SizeHistogram& histogram, HFONT labelFont, int dpi) {
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    if (histogram.bars.empty()) {
        static const char text[] = "Nothing to display";
        TextOutA(dc, fw::ScaleFrom96(10, dpi), fw::ScaleFrom96(10, dpi), text, static_cast<int>(sizeof text - 1));
        SetBkMode(dc, oldMode);
        return;
    }
    const fw::Rect area = fw::RectTo96({client.left, client.top, client.right, client.bottom}, dpi);
    const fw::Rect chart = fw::RectFrom96(HistogramChart(area), dpi);
    const RECT chartRect{chart.left, chart.top, chart.right, chart.bottom};
    FillRect(dc, &chartRect, GetSysColorBrush(COLOR_BTNFACE));
    fw::SelectGuard font(dc, labelFont ? static_cast<HGDIOBJ>(labelFont) : GetStockObject(DEFAULT_GUI_FONT));
    for (HistogramBar bar : LayoutHistogram(histogram, area)) {
        bar.front = fw::RectFrom96(bar.front, dpi);
        bar.depth = fw::ScaleFrom96(bar.depth, dpi);
        bar.labelX = fw::ScaleFrom96(bar.labelX, dpi);
        bar.labelY = fw::ScaleFrom96(bar.labelY, dpi);
        const int c = bar.depth;
        int top = bar.front.top;
        const int r = bar.front.right - 1, b = bar.front.bottom - 1;
        {
            fw::Brush brush(CreateSolidBrush(bar.frontColour));
            fw::SelectGuard select(dc, brush.Get());
            Rectangle(dc, bar.front.left, top, bar.front.right, bar.front.bottom);
        }
        if (b < top) top = b;
        {
            fw::Brush brush(CreateSolidBrush(bar.topColour));
            fw::SelectGuard select(dc, brush.Get());
            const POINT face[] = {{bar.front.left, top}, {r, top}, {r + c, top - c}, {bar.front.left + c, top - c}};
            Polygon(dc, face, 4);
        }
        {
            fw::Brush brush(CreateSolidBrush(bar.sideColour));
            fw::SelectGuard select(dc, brush.Get());
            const POINT face[] = {{r, b}, {r + c, b - c}, {r + c, top - c}, {r, top}};
            Polygon(dc, face, 4);
        }
        const std::string label = model::FormatSize(bar.label);
        TextOutA(dc, bar.labelX, bar.labelY, label.c_str(), static_cast<int>(label.size()));
    }
    SetBkMode(dc, oldMode);
}

}  // namespace info
