// "File Sizes Histogram": a tool window showing how the sizes of all files of the main window's tree are
// spread, one 3-D column per bin on a logarithmic scale (SizeHistogram.h), from green (few files) to red
// (the most), with slanted boundary labels. Its menu bar refines or coarsens the bins.
//
// Modeless, but the main window (the root of `parent`) stays disabled while it is open, so the tree cannot
// change under it; it is enabled again however the histogram ends, a failed opening included. Created on
// the heap; once open it deletes itself when its window is gone:
//
//   info::TSizeHistogramDlg::Open(parent, source, remembered.histogram);   // throws when it cannot open
//
// It copies the remembered detail when constructed and gives back the detail and its rectangle when its
// window is destroyed. It watches the tree while open and counts again when it changed.
#pragma once

#include "fw/Handles.h"
#include "fw/TFrameWindow.h"
#include "info/DialogData.h"
#include "info/SizeHistogram.h"
#include "info/TreeSource.h"

namespace info {

class TSizeHistogramDlg : public fw::TFrameWindow, public model::DocumentObserver {
public:
    // Creates and shows the window; returns it (it owns itself), or null when it closed at once.
    static TSizeHistogramDlg* Open(fw::TWindow* parent, TreeSource& source, HistogramChoices& remembered);

    TSizeHistogramDlg(fw::TWindow* parent, TreeSource& source, HistogramChoices& remembered);

    int Detail() const noexcept { return detail_; }
    const SizeHistogram& Histogram() const noexcept { return histogram_; }
    bool CanClose() override;
    // Counts the files of the tree as it is now.
    void TreeReplaced() override;

protected:
    const char* ClassName() const override { return "KelvaranHistogram"; }
    void FillWindowClass(WNDCLASSEXA& wc) const override;
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void SetupWindow() override;
    void CleanupWindow() override;
    void OnDestroyed() override {
        if (ownsItself_) delete this;
    }

private:
    void ChangeDetail(int step);
    void UpdateMenu() noexcept;
    void EnableMainWindow() noexcept;
    void Paint();

    TreeSource& source_;
    HistogramChoices& remembered_;
    int detail_;
    SizeHistogram histogram_;
    fw::Font labelFont_;
    HWND mainWindow_ = nullptr;
    bool placed_ = false;      // set up completely: its placement and detail are worth remembering
    bool ownsItself_ = false;  // Open handed it to its window
};

// Paints the histogram into `dc` over `client`: the columns with their labels, or "Nothing to display".
// The chart is laid out in 96-DPI units and drawn at `dpi`: bars, depths and label places scaled.
void DrawHistogram(HDC dc, const RECT& client, const SizeHistogram& histogram, HFONT labelFont, int dpi = 96);

}  // namespace info
