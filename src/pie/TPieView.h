// The pie view: the right-hand pane of the main window. It shows the frame's current folder as the ring
// pie (rendered into a back buffer and copied on paint), follows the mouse with the status figures and a
// floating tip of the item under it, opens folders on a click, goes to the parent on a click in the centre,
// and offers a context menu of folder commands, or of item commands for a file. It reaches the frame only
// through PieHost.
//
// It also takes the keyboard focus: a focused segment, outlined while the view has the focus (the view's
// edge is framed then), moves with the arrow keys and Home (SegmentFocus.h); Enter opens it as a click
// does, the context-menu key or Shift+F10 opens its menu at the segment and Ctrl+C copies its path; the
// status rows and the tip follow it as they follow the mouse, and the window's text (its accessible name)
// names it with its size and share. A click focuses the segment clicked. The focus is kept as the item's
// relative path, so it survives every rendering and every change of the tree; when the item went (or lies
// beyond the outermost ring) its folder takes the focus.
//
//   TPieView view(frameClient, 102, host);   // reads its settings
//   view.Create();                           // set-up: registered for WM_DISPLAYCHANGE, first rendering
//   view.FollowFrame();                      // after the frame changed its current folder or its tree
//   ...                                      // destruction writes the settings back
//
// Renderings happen in the set-up, after size changes ("ResizeDelay" ms after the last one, timer 1), on
// display changes, in FollowFrame and SetMode; mouse movement only composes tips over the back buffer.
// Timer 2 runs while the mouse is over the view and removes the tip once the cursor has left it.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "fw/Handles.h"
#include "fw/TWindow.h"
#include "fw/Timer.h"
#include "model/DirInfo.h"
#include "model/DocumentObserver.h"
#include "pie/PieCanvas.h"
#include "pie/PieHost.h"
#include "pie/PieViewSettings.h"
#include "pie/SegmentFocus.h"
#include "pie/TipBackBuffer.h"
#include "pie/TipParser.h"
#include "pie/TypeColours.h"

namespace pie {

class TPieView : public fw::TWindow, public model::DocumentObserver {
public:
    TPieView(fw::TWindow* parent, int id, PieHost& owner);
    ~TPieView() override;

    // Makes the frame's current folder the view's (none when the path no longer exists), renders and
    // repaints at once.
    bool FollowFrame();
    // After a new tree: forgets the hovered item, follows the frame and shows the current folder's figures.
    void Refresh();
    // The frame's tree, or records of it, went: the current folder, the segments and the hovered item are
    // dropped and the tip hidden; the old pixels stay until FollowFrame or Refresh.
    void TreeReplaced() override;
    void SetMode(int kind);  // 0..2; others are ignored
    // The colours of the tree's file types, counted the first time they are needed after the tree changed.
    const TypeColours& TypeColoursOfTree();
    // Highlights the files of `type` (lower-cased; nullopt ends it) and renders; while one is highlighted
    // the shallow status row names that type's totals in the current folder in place of the empty name.
    void HighlightType(std::optional<std::string> type);
    const std::optional<std::string>& HighlightedType() const noexcept { return highlight_; }
    model::SizeKind GetMode() const noexcept { return settings_.sizeKind; }
    void SetFlatLook(bool flat);
    void ReparseTips();
    // Fonts, tip margins and the smallest segment shown ("MinVisSize", pixels at 96 DPI) for `dpi`; the
    // pie is drawn again once the window exists.
    void ApplyDpi(int dpi);
    int Dpi() const noexcept { return dpi_; }

    // The full path of the focused segment's item; none before the first rendering of a folder.
    std::optional<std::string> FocusedPath() const;
    // The full path under a client point ("" for none); the centre gives the current folder's path.
    std::string HitTest(POINT point) const;
    void ShowTip(const model::DirInfo& folder, POINT cursor);
    void ShowTip(const model::FileInfo& file, POINT cursor);
    void HideTip();

    // The settings dialog edits these directly, then calls ReparseTips, SetFlatLook and FollowFrame.
    PieViewSettings& Settings() noexcept { return settings_; }

    // How the context menu is shown: returns the chosen command or 0. Tests replace it.
    using MenuTracker = std::function<UINT(HMENU menu, POINT screen)>;
    void SetMenuTracker(MenuTracker tracker) { trackMenu_ = std::move(tracker); }

    const model::DirInfo* Current() const noexcept { return current_; }
    const PieRenderer& Renderer() const noexcept { return canvas_.Renderer(); }
    HDC BackBuffer() const noexcept { return canvas_.Dc(); }

protected:
    const char* ClassName() const override { return "KelvaranPieView"; }
    void FillWindowClass(WNDCLASSEXA& wc) const override;
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void SetupWindow() override;
    void CleanupWindow() override;

    // Where the tip is on the screen; empty while none shows.
    fw::Rect lastTip_;

private:
    void Rebuild();
    void ResizeBuffer();
    void Paint();
    void OnSize(WPARAM kind);
    void OnTimer(UINT_PTR id);
    void OnDisplayChange();
    void OnMouseMove(POINT point, bool ctrl);
    void OnLeftButton(POINT point);
    void OnRightButton(POINT point);
    // The folder or file menu of the item at `relative` ("" the current folder), shown at a client point.
    void ContextMenu(const std::string& relative, POINT point);
    // Opens a folder as a click does (the centre: the parent); files and nothing are ignored.
    void Open(const std::optional<std::string>& relative);
    // Status rows and tip for the item at `relative` (nullopt: none) with the tip placed at `point`.
    void Hover(const std::optional<std::string>& relative, POINT point, bool withoutTip);
    bool OnKey(WPARAM key);
    // The focus to a segment: marks and name follow (a click); MoveFocusTo also the status rows and tip (a key).
    void PlaceFocus(SegmentRef ref);
    void MoveFocusTo(SegmentRef ref);
    // After a rendering: the focus in the new rings (SegmentFocus.h), the marks drawn, the name set.
    void ResolveFocus();
    // The focus marks drawn into the back buffer by inversion, as the focus and the focused segment are.
    // True when they changed; the caller repaints.
    bool UpdateMarks();
    POINT FocusPoint() const;
    void UpdateAccessibleName();
    // The relative path under a point: "" for the centre, nullopt for nothing.
    std::optional<std::string> HitRelative(POINT point) const;
    template <class T>
    void ShowTipFor(TipParser<T>& parser, const T& item, POINT cursor, const TipContext& context);
    void ClientSize(int& width, int& height) const;
    // What the shallow status row names when it shows the current folder itself.
    const std::string& CurrentStatusName();

    PieHost& owner_;
    PieViewSettings settings_;
    const model::DirInfo* current_ = nullptr;
    std::string hoverPath_;
    PieCanvas canvas_;
    fw::Font nameFont_;
    HFONT infoFont_ = nullptr;  // the stock font or infoFontMade_
    fw::Font infoFontMade_;     // the stock font made for a DPI other than the system's
    int dpi_ = 96;
    TipSurfaces tipSurfaces_;
    TipParser<model::DirInfo> dirTips_;
    TipParser<model::FileInfo> fileTips_;
    std::optional<TypeColours> typeColours_;  // of the tree, until it changes
    std::optional<std::string> highlight_;
    // The highlighted type's totals text, for the folder it was counted in.
    const model::DirInfo* statusFolder_ = nullptr;
    std::string statusType_;
    std::string statusName_;
    fw::WindowTimer resizeTimer_;
    fw::WindowTimer tipTimer_;
    MenuTracker trackMenu_;
    // The focused item, relative to focusFolder_ (nullopt: the largest of the first ring, until a key moves
    // it); focus_ is where it is in the current rings, focusRelative_ that segment's path.
    std::optional<std::string> focusPath_;
    std::string focusFolder_;
    std::optional<SegmentRef> focus_;
    std::string focusRelative_;
    // The focus marks, inverted over the rendering in the back buffer: the view's edge and the focused
    // segment's outline (the centre's circle). Kept as drawn, so that inverting them again takes them away
    // whatever changed since.
    struct Marks {
        fw::Rect frame;                  // empty: no frame
        std::vector<Point> outline;      // a ring segment
        int cx = 0, cy = 0, circle = 0;  // the centre's radius; 0: none
        friend bool operator==(const Marks&, const Marks&) = default;
    };
    Marks WantedMarks() const;
    void Invert(const Marks& marks);
    Marks marks_;
    std::string accessibleName_;
};

}  // namespace pie
