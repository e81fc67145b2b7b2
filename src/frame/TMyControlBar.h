// The tool bar of the main window: the path box listing the drives, the command buttons, and the mode
// box. A choice in either box becomes a command posted to the command target (the main frame): drive
// i posts firstDriveId + i, mode entry i (0..2) posts firstModeId + i. The path box posts only when its
// list closes after the selection moved while it was open. Etched lines run along the bar's top and bottom.
//
// Assembly, in this order:
//   TMyControlBar bar(&frame, largeButtons);
//   bar.AddPathBox(); bar.AddCommandButtons();      // before or after bar.Create()
//   bar.Create(); bar.SetCommandTarget(frame.GetHandle());
//   bar.AddDrive(text, driveType) ...; bar.PathBox()->SetSelIndex(-1);
//   bar.AddModeBox();                               // the three modes, entry 0 selected
// Button enabling stays with the frame's command table (SetButtonEnabled).
#pragma once

#include "frame/ControlBarCommands.h"
#include "fw/TComboBox.h"
#include "fw/TComboBoxEx.h"
#include "fw/TControlBar.h"

#include <string>

namespace frame {

class TMyControlBar : public fw::TControlBar {
public:
    static constexpr int kGlyphCount = 20;
    static constexpr int kSeparatorWidth = 6;

    TMyControlBar(fw::TWindow* parent, bool largeButtons);

    // The glyph strip for normal (16-pixel at 96 DPI) or large (twice that) buttons at `dpi`, with the
    // glyphs' width; empty when the resource is missing.
    static fw::ArtStrip BuildStrip(bool large, int dpi = 96);

    fw::TGadgetComboBoxEx& AddPathBox();
    void AddCommandButtons();
    // After Create(): the three modes, entry 0 selected.
    fw::TFlatComboBox& AddModeBox();

    // For boxes made elsewhere; the bar listens to their notifications.
    void SetPathBox(fw::TGadgetComboBoxEx* box);
    void SetModeBox(fw::TFlatComboBox* box);
    fw::TGadgetComboBoxEx* PathBox() const noexcept { return pathBox_; }
    fw::TFlatComboBox* ModeBox() const noexcept { return modeBox_; }
    void SetCommandIds(unsigned firstDriveId, unsigned firstModeId) noexcept;

    // Appends a drive with the picture of its type (GetDriveType's value).
    void AddDrive(const std::string& displayText, int driveType);
    // Ignored for an index outside the mode box's entries.
    void SelectMode(int index);

    bool LargeButtons() const noexcept { return large_; }
    // Rebuilds the glyphs and the bar's layout when the size changes; true when it changed (the frame then
    // arranges its bars anew for the new height).
    bool SetLargeButtons(bool large);
    // Fonts, widths and glyphs for `dpi`; the frame then arranges its bars anew.
    void ApplyDpi(int dpi);

protected:
    int Margin() const override { return 2; }
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void OnPathBox(int notifyCode);
    void OnModeBox(int notifyCode);
    void Post(unsigned command) const;
    void PaintEtchedLines() const;

    fw::TGadgetComboBoxEx* pathBox_ = nullptr;
    fw::TFlatComboBox* modeBox_ = nullptr;
    unsigned firstDriveId_;
    unsigned firstModeId_;
    PathBoxChoice pathChoice_;
    bool large_;
};

}  // namespace frame
