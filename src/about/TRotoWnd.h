// The About box's banner: bitmap resource 9 drawn turned and zoomed about its centre. On its own it rests
// almost upright and now and then makes one quick turn (a 50 ms timer); while the pointer is over it, it
// turns to face the pointer instead. Each frame recomputes a quarter of the rows (RotoFrame.h).
//
// Created by TAboutDlg in its set-up over the rectangle of the banner's placeholder:
//   auto banner = std::make_unique<TRotoWnd>(this, rect); banner->Create();
// The first frame is drawn at set-up and every WM_PAINT copies the current frame, so the picture shows
// even when no timer tick or pointer move has come yet.
#pragma once

#include "about/RotoFrame.h"
#include "fw/Dib.h"
#include "fw/Handles.h"
#include "fw/TWindow.h"
#include "fw/Timer.h"

#include <memory>

namespace about {

class TRotoWnd : public fw::TWindow {
public:
    static constexpr UINT_PTR kTimerId = 1;
    static constexpr UINT kTimerMs = 50;

    TRotoWnd(fw::TWindow* parent, const RECT& rect);
    ~TRotoWnd() override;

    // The banner as drawn: the picture's size at the window's DPI.
    int BannerWidth() const noexcept { return frame_.width; }
    int BannerHeight() const noexcept { return frame_.height; }
    double IdleAngle() const noexcept { return animation_.Angle(); }
    // The frame last drawn (16-bit pixels, bottom-up); null before set-up or when the bitmap is missing.
    const fw::Dib* Frame() const noexcept { return destination_.get(); }

    void DrawFrame(double angle, double scale);

protected:
    const char* ClassName() const override { return "KelvaranBanner"; }
    void FillWindowClass(WNDCLASSEXA& wc) const override;
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void SetupWindow() override;
    void CleanupWindow() override;

private:
    void Blit(HDC target) const;
    void OnTimer();
    void OnMouseMove(int x, int y);

    int clientWidth_ = 0, clientHeight_ = 0;
    RotoPicture picture_;
    RotoPicture frame_;  // the picture at the window's DPI
    std::unique_ptr<fw::Dib> source_, destination_;
    fw::MemoryDC memory_;
    HGDIOBJ memoryOld_ = nullptr;
    RotoAnimation animation_;
    fw::WindowTimer timer_;
};

}  // namespace about
