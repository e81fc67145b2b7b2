// One of the three status bars under the main window: six cells (Dirs, Files, Size, Alloc, Waste, Name)
// with a 2-pixel gap after each of the first four and a 4-pixel gap with a line before the name. Number
// cells are as wide as their widest text in a 10-point font and right-aligned; the name takes the rest.
// The marks of the cells are read from "SBar<n>Flags" when the window is set up and written back when it
// is cleaned up, through a store the bar opens each time (the registry unless a test gives another).
#pragma once

#include "config/SettingsStore.h"
#include "frame/StatusCells.h"
#include "frame/TMyTextGadget.h"
#include "fw/TStatusBar.h"

#include <array>
#include <functional>
#include <memory>

namespace frame {

class TMyStatusBar : public fw::TStatusBar {
public:
    using StoreFactory = std::function<std::unique_ptr<config::SettingsStore>()>;
    // The program's settings in the registry.
    static std::unique_ptr<config::SettingsStore> OpenUserSettings();

    // The window id is IDC_STATUS_HEADER - 1 + barNumber.
    TMyStatusBar(fw::TWindow* parent, bool sizeGrip, int barNumber, StoreFactory openStore = &OpenUserSettings);
    // A bar whose window outlives it (no clean-up ran) writes its marks here.
    ~TMyStatusBar() override;

    int BarNumber() const noexcept { return barNumber_; }
    const TMyTextGadget& Cell(int index) const { return *cells_.at(static_cast<std::size_t>(index)); }
    TMyTextGadget& Cell(int index) { return *cells_.at(static_cast<std::size_t>(index)); }
    void SetCells(const StatusCells& texts);
    StatusCells Texts() const;
    StatusMarks Marks() const;

protected:
    void SetupWindow() override;
    void ApplyDpi(int dpi) override;
    void CleanupWindow() override;

private:
    void SaveMarks();

    int barNumber_;
    bool saved_ = false;
    StoreFactory openStore_;
    std::array<TMyTextGadget*, kStatusCellCount> cells_{};
};

}  // namespace frame
