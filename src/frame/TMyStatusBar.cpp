#include "frame/TMyStatusBar.h"

#include "config/Config.h"
#include "fw/DpiScale.h"
#include "fw/TSeparatorGadget.h"
#include "resource.h"

#include <algorithm>

namespace frame {
namespace {

constexpr int kPointSize = 10;
constexpr UINT kFirstBarId = IDC_STATUS_HEADER - 1;  // bar 1 is the header

fw::Font GadgetFont(int dpi) {
    NONCLIENTMETRICSW metrics{sizeof metrics};
    LOGFONTW face{};
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        face = metrics.lfStatusFont;
    else
        GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof face, &face);
    face.lfHeight = fw::FontHeightForPoints(kPointSize, dpi);
    face.lfWidth = 0;
    face.lfWeight = FW_NORMAL;
    face.lfItalic = FALSE;
    return fw::Font(CreateFontIndirectW(&face));
}

}  // namespace

std::unique_ptr<config::SettingsStore> TMyStatusBar::OpenUserSettings() {
    return std::make_unique<config::UserConfig>();
}

TMyStatusBar::TMyStatusBar(fw::TWindow* parent, bool sizeGrip, int barNumber, StoreFactory openStore)
    : TStatusBar(parent, sizeGrip, kFirstBarId + static_cast<UINT>(barNumber)), barNumber_(barNumber),
      openStore_(std::move(openStore)) {
    using Align = fw::TTextGadget::Align;
    for (int i = 0; i < kStatusCellCount; ++i) {
        const bool name = i == kStatusCellCount - 1;
        if (name) Insert(std::make_unique<fw::TSeparatorGadget>(0, true));
        cells_[static_cast<std::size_t>(i)] =
            &Insert(std::make_unique<TMyTextGadget>(0, name ? Align::Left : Align::Right));
        if (i < 4) Insert(std::make_unique<fw::TSeparatorGadget>(0, false));
    }
    ApplyDpi(Dpi());
}

void TMyStatusBar::ApplyDpi(int dpi) {
    SetFont(GadgetFont(dpi));
    int countWidth = 0, sizeWidth = 0;
    {
        fw::ClientDC screen(nullptr);
        fw::SelectGuard font(screen.Get(), GetFont());
        countWidth = fw::TTextGadget::WidthFor(screen.Get(), kWidestCountText, dpi);
        for (const char* text : kWidestSizeTexts)
            sizeWidth = std::max(sizeWidth, fw::TTextGadget::WidthFor(screen.Get(), text, dpi));
    }
    // Gadgets in order: count, gap, count, gap, size, gap, size, gap, size, line, name.
    int cell = 0;
    for (int i = 0; i < GadgetCount(); ++i) {
        fw::TGadget& gadget = GadgetAt(i);
        if (cell < kStatusCellCount && &gadget == cells_[static_cast<std::size_t>(cell)]) {
            const bool name = cell == kStatusCellCount - 1;
            gadget.SetWidth(name ? 0 : cell < 2 ? countWidth : sizeWidth);
            ++cell;
        } else {
            gadget.SetWidth(fw::ScaleFrom96(cell == kStatusCellCount - 1 ? 4 : 2, dpi));
        }
    }
}

void TMyStatusBar::SetCells(const StatusCells& texts) {
    for (std::size_t i = 0; i < cells_.size(); ++i) cells_[i]->SetText(texts[i]);
}

StatusCells TMyStatusBar::Texts() const {
    StatusCells texts;
    for (std::size_t i = 0; i < cells_.size(); ++i) texts[i] = cells_[i]->Text();
    return texts;
}

StatusMarks TMyStatusBar::Marks() const {
    StatusMarks marks{};
    for (std::size_t i = 0; i < cells_.size(); ++i) marks[i] = cells_[i]->IsMarked();
    return marks;
}

void TMyStatusBar::SetupWindow() {
    TStatusBar::SetupWindow();
    if (!openStore_) return;
    if (auto store = openStore_()) {
        const StatusMarks marks = ReadStatusMarks(*store, barNumber_);
        for (std::size_t i = 0; i < cells_.size(); ++i) cells_[i]->SetMarked(marks[i]);
    }
}

TMyStatusBar::~TMyStatusBar() {
    if (saved_ || !GetHandle()) return;
    try {
        SaveMarks();
    } catch (...) {
        // A destructor cannot report; the marks are simply not remembered.
    }
}

void TMyStatusBar::SaveMarks() {
    saved_ = true;
    if (openStore_)
        if (auto store = openStore_()) WriteStatusMarks(*store, barNumber_, Marks());
}

void TMyStatusBar::CleanupWindow() {
    SaveMarks();
    TStatusBar::CleanupWindow();
}

}  // namespace frame
