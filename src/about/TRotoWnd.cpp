#include "about/TRotoWnd.h"

#include "fw/Dpi.h"
#include "fw/DpiScale.h"
#include "resource.h"

#include <cstdlib>

namespace about {

TRotoWnd::TRotoWnd(fw::TWindow* parent, const RECT& rect) : TWindow(parent) {
    Attr().style = WS_CHILD | WS_VISIBLE;
    Attr().x = rect.left;
    Attr().y = rect.top;
    Attr().width = rect.right - rect.left;
    Attr().height = rect.bottom - rect.top;
    clientWidth_ = Attr().width;
    clientHeight_ = Attr().height;
}

TRotoWnd::~TRotoWnd() {
    if (memory_ && memoryOld_) SelectObject(memory_.Get(), memoryOld_);
}

void TRotoWnd::FillWindowClass(WNDCLASSEXA& wc) const {
    TWindow::FillWindowClass(wc);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_3DFACE + 1);
}

void TRotoWnd::SetupWindow() {
    RECT client{};
    GetClientRect(GetHandle(), &client);
    clientWidth_ = client.right;
    clientHeight_ = client.bottom;

    fw::Bitmap banner(static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_BANNER), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    BITMAP info{};
    if (!banner || !GetObjectA(banner.Get(), sizeof info, &info)) return;

    // The picture is drawn for 96 DPI; the animation samples it into a frame of its size at the window's.
    const int dpi = fw::WindowDpi(GetHandle());
    const int frameWidth = fw::ScaleFrom96(info.bmWidth, dpi), frameHeight = fw::ScaleFrom96(info.bmHeight, dpi);
    source_ = std::make_unique<fw::Dib>(info.bmWidth, info.bmHeight, 16);
    destination_ = std::make_unique<fw::Dib>(frameWidth, frameHeight, 16);
    if (!*source_ || !*destination_) {
        source_.reset();
        destination_.reset();
        return;
    }
    picture_ = {info.bmWidth, info.bmHeight, source_->BytesPerRow()};
    frame_ = {frameWidth, frameHeight, destination_->BytesPerRow()};

    // The 16-colour picture becomes 16-bit pixels by drawing it into the source bitmap.
    fw::ClientDC screen(GetHandle());
    {
        fw::MemoryDC from(CreateCompatibleDC(screen.Get()));
        fw::MemoryDC to(CreateCompatibleDC(screen.Get()));
        fw::SelectGuard selectFrom(from.Get(), banner.Get());
        fw::SelectGuard selectTo(to.Get(), source_->Handle());
        BitBlt(to.Get(), 0, 0, picture_.width, picture_.height, from.Get(), 0, 0, SRCCOPY);
    }
    GdiFlush();
    memory_.Reset(CreateCompatibleDC(screen.Get()));
    if (memory_) memoryOld_ = SelectObject(memory_.Get(), destination_->Handle());

    // The whole upright picture at once, so the first paint has something to show.
    for (int row = 0; row < RotoAnimation::kRowStep; ++row) DrawFrame(animation_.Angle(), animation_.Scale());
    timer_.Start(GetHandle(), kTimerId, kTimerMs);
}

void TRotoWnd::CleanupWindow() { timer_.Stop(); }

void TRotoWnd::DrawFrame(double angle, double scale) {
    if (!source_ || !destination_) return;
    GdiFlush();
    const int phase = animation_.NextPhase();
    DrawRotoRows(picture_, static_cast<const std::uint8_t*>(source_->Bits()), frame_,
                 static_cast<std::uint8_t*>(destination_->Bits()), phase, RotoAnimation::kRowStep, angle, scale);
    if (GetHandle()) {
        fw::ClientDC dc(GetHandle());
        Blit(dc.Get());
    }
}

void TRotoWnd::Blit(HDC target) const {
    if (!memory_) return;
    BitBlt(target, (clientWidth_ - frame_.width) / 2, (clientHeight_ - frame_.height) / 2, frame_.width, frame_.height,
           memory_.Get(), 0, 0, SRCCOPY);
}

void TRotoWnd::OnTimer() {
    POINT p{};
    GetCursorPos(&p);
    ScreenToClient(GetHandle(), &p);
    RECT client{};
    GetClientRect(GetHandle(), &client);
    if (PtInRect(&client, p)) return;  // the pointer steers the picture now
    animation_.Tick(std::rand() % 100);
    DrawFrame(animation_.Angle(), animation_.Scale());
}

void TRotoWnd::OnMouseMove(int x, int y) {
    const AngleScale follow = FollowPointer(x - clientWidth_ / 2, y - clientHeight_ / 2, frame_.width);
    DrawFrame(follow.angle, follow.scale);
}

LRESULT TRotoWnd::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SIZE:
        if (wParam == SIZE_RESTORED || wParam == SIZE_MAXIMIZED) {
            clientWidth_ = static_cast<short>(LOWORD(lParam));
            clientHeight_ = static_cast<short>(HIWORD(lParam));
        }
        return 0;
    case WM_PAINT: {
        fw::PaintDC paint(GetHandle());
        Blit(paint.Get());
        return 0;
    }
    case WM_TIMER:
        if (wParam == kTimerId) OnTimer();
        return 0;
    case WM_MOUSEMOVE: {
        const LRESULT result = TWindow::HandleMessage(msg, wParam, lParam);
        OnMouseMove(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        return result;
    }
    }
    return TWindow::HandleMessage(msg, wParam, lParam);
}

}  // namespace about
