// The pie view window.
#include "pie/TPieView.h"

#include <windowsx.h>

#include <algorithm>
#include <optional>

#include "config/Config.h"
#include "fw/Dpi.h"
#include "fw/DpiScale.h"
#include "fw/TApplication.h"
#include "model/FileTypes.h"
#include "resource.h"

namespace pie {
namespace {

constexpr UINT_PTR kResizeTimer = 1;
constexpr UINT_PTR kTipTimer = 2;
constexpr UINT kTipWatchMs = 100;

UINT TrackWithTheSystem(HMENU menu, POINT screen, HWND owner) {
    return static_cast<UINT>(
        TrackPopupMenu(menu, TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, screen.x, screen.y, 0, owner, nullptr));
}

}  // namespace

TPieView::TPieView(fw::TWindow* parent, int id, PieHost& owner) : fw::TWindow(parent), owner_(owner) {
    Attr().style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    Attr().exStyle = owner.DialogLook() ? 0 : WS_EX_CLIENTEDGE;
    Attr().x = Attr().y = 0;
    Attr().width = Attr().height = 0;
    Attr().idOrMenu = static_cast<UINT_PTR>(id);
    {
        config::UserConfig store;
        settings_ = LoadPieViewSettings(store);
    }
    ApplyDpi(fw::SystemDpi());
    trackMenu_ = [this](HMENU menu, POINT screen) { return TrackWithTheSystem(menu, screen, GetHandle()); };
    ReparseTips();
}

TPieView::~TPieView() {
    // Destroyed here, while this is still a TPieView, so that the clean-up hook runs.
    if (GetHandle()) DestroyWindow(GetHandle());
    config::UserConfig store;
    SavePieViewSettings(settings_, store);
}

void TPieView::FillWindowClass(WNDCLASSEXA& wc) const {
    fw::TWindow::FillWindowClass(wc);
    wc.hbrBackground = nullptr;  // the paint handler covers every pixel; nothing is erased first
}

void TPieView::SetupWindow() {
    if (auto* app = fw::TApplication::Current()) app->RegisterWindow(this);
    if (const int dpi = fw::WindowDpi(GetHandle()); dpi != dpi_) ApplyDpi(dpi);
    Rebuild();
}

void TPieView::CleanupWindow() {
    resizeTimer_.Stop();
    tipTimer_.Stop();
    if (auto* app = fw::TApplication::Current()) app->UnregisterWindow(this);
}

void TPieView::ApplyDpi(int dpi) {
    dpi_ = dpi;
    nameFont_.Reset(CreateFontA(fw::ScaleFrom96(20, dpi), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                                "Verdana"));
    infoFontMade_ = fw::GuiFontForDpi(dpi);
    infoFont_ = fw::GuiFontOr(infoFontMade_);
    if (!infoFont_) infoFont_ = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    const int margin = fw::ScaleFrom96(2, dpi);
    dirTips_.SetMargin(margin);
    fileTips_.SetMargin(margin);
    canvas_.SetDpi(dpi);
    if (GetHandle()) {
        Rebuild();
        InvalidateRect(GetHandle(), nullptr, FALSE);
    }
}

void TPieView::ReparseTips() {
    dirTips_.SetFlags(settings_.tipShowsName, settings_.tipShowsInfo);
    fileTips_.SetFlags(settings_.tipShowsName, settings_.tipShowsInfo);
    dirTips_.Parse(settings_.folderTip);
    fileTips_.Parse(settings_.fileTip);
}

void TPieView::ClientSize(int& width, int& height) const {
    RECT r{};
    if (GetHandle()) GetClientRect(GetHandle(), &r);
    width = r.right;
    height = r.bottom;
}

const TypeColours& TPieView::TypeColoursOfTree() {
    if (!typeColours_) {
        const model::DirInfo* root = owner_.RootFolder();
        typeColours_ = root ? TypeColours::OfTree(*root) : TypeColours();
    }
    return *typeColours_;
}

void TPieView::HighlightType(std::optional<std::string> type) {
    if (type == highlight_) return;
    highlight_ = std::move(type);
    if (!GetHandle()) return;
    Rebuild();
    InvalidateRect(GetHandle(), nullptr, FALSE);
}

const std::string& TPieView::CurrentStatusName() {
    if (!highlight_ || !current_) {
        statusName_.clear();
    } else if (statusFolder_ != current_ || statusType_ != *highlight_) {
        statusName_ = model::TypeTotalsText(*highlight_, model::TotalsOfType(*current_, *highlight_, 0));
        statusFolder_ = current_;
        statusType_ = *highlight_;
    }
    return statusName_;
}

void TPieView::Rebuild() {
    PieRenderer& renderer = canvas_.Renderer();
    renderer.settings = settings_;  // the renderer's part
    renderer.settings.minimumVisibleSize = settings_.minimumVisibleSize * dpi_ / fw::kBaseDpi;
    const bool byType = settings_.colourMethod == kTypeEncoded || highlight_;
    renderer.types = {byType ? &TypeColoursOfTree() : nullptr, highlight_ ? &*highlight_ : nullptr};
    renderer.currentStatusName = CurrentStatusName();
    // A tip may name what lies below a folder, which a change of the tree would have changed.
    dirTips_.Forget();
    fileTips_.Forget();
    canvas_.Rebuild(current_, owner_);
    // Every rendering is followed by a repaint of the whole view, which takes any tip away.
    lastTip_ = {};
    marks_ = {};
    ResolveFocus();
}

void TPieView::ResolveFocus() {
    const RingAreas& areas = canvas_.Renderer().Areas();
    if (!current_) {
        focus_.reset();
    } else {
        const std::string current = owner_.CurrentPath();
        if (current != focusFolder_) {
            focusPath_ = focusFolder_.empty() ? std::nullopt : FocusAfterMove(focusFolder_, focusRelative_, current);
            focusFolder_ = current;
        }
        focus_ = focusPath_ ? FocusFor(areas, *focusPath_) : MoveFocus(areas, {}, FocusMove::kHome);
        focusRelative_ = PathOf(areas, *focus_);
    }
    UpdateMarks();
    UpdateAccessibleName();
    owner_.PieFocusChanged();
}

TPieView::Marks TPieView::WantedMarks() const {
    Marks marks;
    HWND hwnd = GetHandle();
    if (!hwnd || GetFocus() != hwnd) return marks;
    RECT client{};
    GetClientRect(hwnd, &client);
    marks.frame = {client.left, client.top, client.right, client.bottom};
    if (!focus_) return marks;
    const PieRenderer& renderer = canvas_.Renderer();
    const RingAreas& areas = renderer.Areas();
    marks.cx = renderer.CentreX();
    marks.cy = renderer.CentreY();
    if (focus_->ring >= 0)
        marks.outline = OutlineOf(areas, *focus_, marks.cx, marks.cy);
    else if (!areas.Radii().empty())
        marks.circle = areas.Radii().front();
    return marks;
}

void TPieView::Invert(const Marks& marks) {
    HDC dc = canvas_.Dc();
    const int oldMode = SetROP2(dc, R2_NOT);
    fw::SelectGuard brush(dc, GetStockObject(HOLLOW_BRUSH));
    if (!marks.frame.IsEmpty()) {
        fw::Pen pen(CreatePen(PS_INSIDEFRAME, 2, 0));
        fw::SelectGuard guard(dc, pen.Get());
        Rectangle(dc, marks.frame.left, marks.frame.top, marks.frame.right, marks.frame.bottom);
    }
    fw::Pen pen(CreatePen(PS_SOLID, 4, 0));
    fw::SelectGuard guard(dc, pen.Get());
    if (marks.outline.size() > 2)
        Polygon(dc, reinterpret_cast<const POINT*>(marks.outline.data()), static_cast<int>(marks.outline.size()));
    if (marks.circle > 0)
        Ellipse(dc, marks.cx - marks.circle, marks.cy - marks.circle, marks.cx + marks.circle + 1,
                marks.cy + marks.circle + 1);
    SetROP2(dc, oldMode);
}

bool TPieView::UpdateMarks() {
    Marks wanted = WantedMarks();
    if (wanted == marks_) return false;
    Invert(marks_);
    Invert(wanted);
    marks_ = std::move(wanted);
    return true;
}

POINT TPieView::FocusPoint() const {
    const PieRenderer& renderer = canvas_.Renderer();
    const Point anchor = focus_ ? AnchorOf(renderer.Areas(), *focus_) : Point{};
    return {renderer.CentreX() + anchor.x, renderer.CentreY() + anchor.y};
}

void TPieView::UpdateAccessibleName() {
    std::string name;
    if (current_ && focus_) {
        const SizeContext ctx{static_cast<int>(settings_.sizeKind), owner_.ClusterSize()};
        const std::uint64_t total = ValueOf(*current_, ctx);
        const std::string current = owner_.CurrentPath();
        const model::DirInfo* root = owner_.RootFolder();
        if (focus_->ring < 0) {
            name = AccessibleText(current, total, total);
        } else if (root) {
            const Segment& segment = canvas_.Renderer().Areas().Ring(focus_->ring)[focus_->index];
            const std::string path = current + focusRelative_;
            std::optional<std::uint64_t> value;
            if (segment.isDir) {
                if (const model::DirInfo* dir = model::FindDirByPath(*root, path)) value = ValueOf(*dir, ctx);
            } else if (const model::FileInfo* file = model::FindFileByPath(*root, path)) {
                value = ValueOf(*file, ctx);
            }
            if (value) name = AccessibleText(*segment.name + (segment.isDir ? "\\" : ""), *value, total);
        }
    }
    HWND hwnd = GetHandle();
    if (!hwnd || name == accessibleName_) return;
    accessibleName_ = name;
    SetWindowTextA(hwnd, name.c_str());
    NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, hwnd, OBJID_CLIENT, CHILDID_SELF);
}

void TPieView::PlaceFocus(SegmentRef ref) {
    focus_ = ref;
    focusRelative_ = PathOf(canvas_.Renderer().Areas(), ref);
    focusPath_ = focusRelative_;
    if (UpdateMarks()) {
        HideTip();
        InvalidateRect(GetHandle(), nullptr, FALSE);
        UpdateWindow(GetHandle());
    }
    UpdateAccessibleName();
    owner_.PieFocusChanged();
}

void TPieView::MoveFocusTo(SegmentRef ref) {
    HideTip();
    PlaceFocus(ref);
    Hover(focusRelative_, FocusPoint(), false);
}

std::optional<std::string> TPieView::FocusedPath() const {
    if (!current_ || !focus_) return std::nullopt;
    return owner_.CurrentPath() + focusRelative_;
}

bool TPieView::OnKey(WPARAM key) {
    if (!current_ || !focus_) return false;
    const auto move = [this](FocusMove m) { MoveFocusTo(MoveFocus(canvas_.Renderer().Areas(), *focus_, m)); };
    switch (key) {
    case VK_LEFT: move(FocusMove::kPrevious); return true;
    case VK_RIGHT: move(FocusMove::kNext); return true;
    case VK_UP: move(FocusMove::kOutward); return true;
    case VK_DOWN: move(FocusMove::kInward); return true;
    case VK_HOME: move(FocusMove::kHome); return true;
    case VK_RETURN: Open(focusRelative_); return true;
    case 'C':
        if (GetKeyState(VK_CONTROL) >= 0) return false;
        owner_.ActOnItem(CM_COPY_PATH, owner_.CurrentPath() + focusRelative_);
        return true;
    default: return false;
    }
}

void TPieView::ResizeBuffer() {
    int w = 0, h = 0;
    ClientSize(w, h);
    canvas_.Resize(w, h);
    Rebuild();
    InvalidateRect(GetHandle(), nullptr, FALSE);
}

bool TPieView::FollowFrame() {
    const model::DirInfo* root = owner_.RootFolder();
    current_ = root ? model::FindDirByPath(*root, owner_.CurrentPath()) : nullptr;
    Rebuild();
    if (GetHandle()) {
        InvalidateRect(GetHandle(), nullptr, FALSE);
        UpdateWindow(GetHandle());
    }
    return true;
}

void TPieView::Refresh() {
    hoverPath_.clear();
    FollowFrame();
    if (current_) owner_.ShowFolderStatus(owner_.CurrentPath(), CurrentStatusName(), *current_);
}

void TPieView::TreeReplaced() {
    current_ = nullptr;
    canvas_.Renderer().Forget();
    canvas_.Renderer().types = {};
    typeColours_.reset();
    statusFolder_ = nullptr;
    dirTips_.Forget();
    fileTips_.Forget();
    hoverPath_.clear();
    HideTip();
    focus_.reset();
    UpdateAccessibleName();
    owner_.PieFocusChanged();
}

void TPieView::SetMode(int kind) {
    constexpr const auto& row = config::SettingOf<&PieViewSettings::sizeKind>(kPieViewSettings);
    if (!row.range.Holds(kind)) return;
    settings_.sizeKind = static_cast<model::SizeKind>(kind);
    Rebuild();
    if (GetHandle()) InvalidateRect(GetHandle(), nullptr, FALSE);
}

void TPieView::SetFlatLook(bool flat) {
    HWND hwnd = GetHandle();
    if (!hwnd) return;
    LONG_PTR ex = GetWindowLongPtrA(hwnd, GWL_EXSTYLE);
    ex = flat ? (ex & ~static_cast<LONG_PTR>(WS_EX_CLIENTEDGE)) : (ex | WS_EX_CLIENTEDGE);
    SetWindowLongPtrA(hwnd, GWL_EXSTYLE, ex);
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RedrawWindow(hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
}

std::optional<std::string> TPieView::HitRelative(POINT point) const {
    const PieRenderer& r = canvas_.Renderer();
    return r.Areas().FindPoint(point.x - r.CentreX(), point.y - r.CentreY());
}

std::string TPieView::HitTest(POINT point) const {
    const auto relative = HitRelative(point);
    return relative ? owner_.CurrentPath() + *relative : std::string();
}

template <class T>
void TPieView::ShowTipFor(TipParser<T>& parser, const T& item, POINT cursor, const TipContext& context) {
    if (settings_.tipTransparency >= kInvisibleTip) return;
    HWND hwnd = GetHandle();
    GdiTextMeasure measure(canvas_.Dc(), {nameFont_.Get(), infoFont_});
    const TipSize size = parser.Format(item, context, measure);
    if (size.width < 1 || size.height < 1) {
        // No tip for this item: the previous item's tip must not stay behind as if it were this one's.
        HideTip();
        return;
    }
    int w = 0, h = 0;
    ClientSize(w, h);
    const fw::Rect next = PlaceTip(cursor.x, cursor.y, size, w, h, dpi_);
    const TipComposition composition = ComposeTip(lastTip_, next);
    // Only what lies in the view is composed: a tip larger than the view costs no larger buffers.
    const fw::Rect area = ClipToClient(composition.area, w, h);
    const fw::Rect previous = composition.previousCovered ? fw::Rect{} : lastTip_;
    if (!area.IsEmpty()) {
        TipBackBuffer buffer(settings_.tipTransparency, canvas_.Dc(), area, tipSurfaces_);
        if (!buffer) {
            HideTip();
            return;
        }
        DrawTip(buffer.Dc(), parser, composition.area.left + composition.originX - area.left,
                composition.area.top + composition.originY - area.top, {nameFont_.Get(), infoFont_});
        buffer.Blend();
        fw::ClientDC window(hwnd);
        buffer.CopyTo(window.Get());
    }
    lastTip_ = next;
    if (!previous.IsZero()) {
        // The old tip lay elsewhere: the back buffer is copied over it.
        const RECT old{previous.left, previous.top, previous.right, previous.bottom};
        InvalidateRect(hwnd, &old, TRUE);
        UpdateWindow(hwnd);
    }
}

void TPieView::ShowTip(const model::DirInfo& folder, POINT cursor) {
    // The folder under the mouse seen against the earlier scan, while a comparison is on.
    std::optional<compare::ItemState> then;
    const model::DirInfo* root = owner_.RootFolder();
    if (const compare::TreeComparison* comparison = owner_.Comparison(); comparison && root) {
        const std::size_t rootLength = root->name.size() + 1;
        if (hoverPath_.size() >= rootLength)
            if (const auto index = compare::IndexOf(*root, std::string_view(hoverPath_).substr(rootLength));
                index && *index < comparison->EntryCount())
                then = comparison->Folder(*index);
    }
    ShowTipFor(dirTips_, folder, cursor, TipContext{owner_.ClusterSize(), then ? &*then : nullptr});
}
void TPieView::ShowTip(const model::FileInfo& file, POINT cursor) {
    ShowTipFor(fileTips_, file, cursor, TipContext{owner_.ClusterSize(), nullptr});
}

void TPieView::HideTip() {
    if (lastTip_.IsZero()) return;
    const RECT old{lastTip_.left, lastTip_.top, lastTip_.right, lastTip_.bottom};
    lastTip_ = {};
    if (!GetHandle()) return;
    InvalidateRect(GetHandle(), &old, TRUE);
    UpdateWindow(GetHandle());
}

void TPieView::Paint() {
    fw::PaintDC paint(GetHandle());
    const RECT& r = paint.Info().rcPaint;
    const int bw = canvas_.Width(), bh = canvas_.Height();
    BitBlt(paint.Get(), r.left, r.top, r.right - r.left, r.bottom - r.top, canvas_.Dc(), r.left, r.top, SRCCOPY);
    // While a delayed re-rendering is pending the view may be larger than its buffer: the rest gets the
    // background, never leftovers of earlier pixels (or tips).
    HBRUSH background = GetSysColorBrush(owner_.DialogLook() ? COLOR_BTNFACE : COLOR_WINDOW);
    if (r.right > bw) {
        const RECT right{std::max<LONG>(r.left, bw), r.top, r.right, r.bottom};
        FillRect(paint.Get(), &right, background);
    }
    if (r.bottom > bh) {
        const RECT bottom{r.left, std::max<LONG>(r.top, bh), std::min<LONG>(r.right, bw), r.bottom};
        if (bottom.right > bottom.left) FillRect(paint.Get(), &bottom, background);
    }
}

void TPieView::OnSize(WPARAM kind) {
    if (kind == SIZE_RESTORED && settings_.resizeDelay > 0) {
        resizeTimer_.Start(GetHandle(), kResizeTimer, static_cast<UINT>(settings_.resizeDelay));
    } else if (kind == SIZE_RESTORED || kind == SIZE_MAXIMIZED) {
        ResizeBuffer();
    }
}

void TPieView::OnTimer(UINT_PTR id) {
    if (id == kResizeTimer) {
        resizeTimer_.Stop();
        ResizeBuffer();
    } else if (id == kTipTimer) {
        POINT cursor{};
        GetCursorPos(&cursor);
        ScreenToClient(GetHandle(), &cursor);
        RECT client{};
        GetClientRect(GetHandle(), &client);
        if (!PtInRect(&client, cursor)) {
            tipTimer_.Stop();
            HideTip();
        }
    }
}

void TPieView::OnDisplayChange() {
    int w = 0, h = 0;
    ClientSize(w, h);
    canvas_.RecreateForDisplay(w, h);
    Rebuild();
    InvalidateRect(GetHandle(), nullptr, FALSE);
}

void TPieView::OnMouseMove(POINT point, bool ctrl) {
    Hover(HitRelative(point), point, ctrl);
    tipTimer_.Start(GetHandle(), kTipTimer, kTipWatchMs);
}

void TPieView::Hover(const std::optional<std::string>& relative, POINT point, bool withoutTip) {
    const std::string old = hoverPath_;
    const std::string current = owner_.CurrentPath();
    hoverPath_ = relative ? current + *relative : std::string();
    const model::DirInfo* folder = nullptr;
    const model::FileInfo* file = nullptr;
    if (const model::DirInfo* root = owner_.RootFolder(); root && !hoverPath_.empty()) {
        if (hoverPath_.back() == '\\')
            folder = model::FindDirByPath(*root, hoverPath_);
        else
            file = model::FindFileByPath(*root, hoverPath_);
    }
    if (hoverPath_ != old) {
        if (folder)
            owner_.ShowFolderStatus(current, *relative, *folder);
        else if (file)
            owner_.ShowFileStatus(current, *relative, *file);
        else if (current_)
            owner_.ShowFolderStatus(current, CurrentStatusName(), *current_);
    }
    if (withoutTip)
        HideTip();
    else if (folder)
        ShowTip(*folder, point);
    else if (file)
        ShowTip(*file, point);
    else
        HideTip();
}

void TPieView::OnLeftButton(POINT point) {
    SetFocus(GetHandle());
    const auto relative = HitRelative(point);
    if (relative && current_)
        if (const auto ref = Locate(canvas_.Renderer().Areas(), *relative)) PlaceFocus(*ref);
    Open(relative);
}

void TPieView::Open(const std::optional<std::string>& relative) {
    if (!relative || !(relative->empty() || relative->back() == '\\')) return;  // files and empty space
    if (relative->empty()) {
        owner_.ExecuteCommand(CM_PARENT);
        return;
    }
    hoverPath_.clear();
    const std::string current = owner_.CurrentPath();
    if (current_) owner_.ShowFolderStatus(current, CurrentStatusName(), *current_);
    owner_.NavigateTo(current + *relative, false);
}

void TPieView::OnRightButton(POINT point) {
    SetFocus(GetHandle());
    const auto relative = HitRelative(point);
    if (!relative) return;  // empty space
    if (const auto ref = current_ ? Locate(canvas_.Renderer().Areas(), *relative) : std::nullopt) PlaceFocus(*ref);
    ContextMenu(*relative, point);
}

void TPieView::ContextMenu(const std::string& relative, POINT point) {
    const bool folder = relative.empty() || relative.back() == '\\';
    const std::string path = owner_.CurrentPath() + relative;
    // Folders get the folder menu, files the menu of items.
    fw::Menu menu(LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(folder ? IDM_PIE_CONTEXT : IDM_ITEM_CONTEXT)));
    HMENU popup = menu ? GetSubMenu(menu.Get(), 0) : nullptr;
    if (!popup) return;
    // "Rescan" acts on the current folder only, which is the centre.
    if (folder && !relative.empty()) DeleteMenu(popup, CM_RESCAN, MF_BYCOMMAND);
    POINT screen = point;
    ClientToScreen(GetHandle(), &screen);
    const UINT chosen = trackMenu_(popup, screen);
    switch (chosen) {
    case CM_RESCAN: owner_.RescanFolder(path); break;
    case CM_RESCAN_ALL: owner_.ExecuteCommand(CM_RESCAN_ALL); break;
    case CM_OPEN_FOLDER: owner_.Explore(path, ExplorerKind::kOpen); break;
    case CM_EXPLORE_FOLDER: owner_.Explore(path, ExplorerKind::kExplore); break;
    case CM_EXPLORE_FROM_HERE: owner_.Explore(path, ExplorerKind::kRooted); break;
    case CM_COPY_NAME: owner_.CopyToClipboard(path); break;
    case CM_OPEN_ITEM:
    case CM_PROPERTIES:
    case CM_DELETE:
    case CM_DELETE_PERMANENTLY:
    case CM_COPY_PATH:
        // The tip and the hover state belong to a record the command may take away.
        hoverPath_.clear();
        HideTip();
        owner_.ActOnItem(static_cast<int>(chosen), path);
        break;
    default: break;
    }
}

LRESULT TPieView::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT: Paint(); return 0;
    case WM_SIZE:
        fw::TWindow::HandleMessage(msg, wParam, lParam);
        OnSize(wParam);
        return 0;
    case WM_TIMER: OnTimer(static_cast<UINT_PTR>(wParam)); return 0;
    case WM_DISPLAYCHANGE: OnDisplayChange(); break;
    case WM_MOUSEMOVE: OnMouseMove({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, (wParam & MK_CONTROL) != 0); return 0;
    case WM_LBUTTONDOWN:
        fw::TWindow::HandleMessage(msg, wParam, lParam);
        OnLeftButton({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_RBUTTONDOWN:
        fw::TWindow::HandleMessage(msg, wParam, lParam);
        OnRightButton({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        if (UpdateMarks()) {
            HideTip();
            InvalidateRect(GetHandle(), nullptr, FALSE);
        }
        owner_.PieFocusChanged();
        break;
    case WM_KEYDOWN:
        if (OnKey(wParam)) return 0;
        break;
    case WM_CONTEXTMENU:
        // From the keyboard (the context-menu key, Shift+F10) the point is (-1, -1): the focused item's menu
        // at its segment. The mouse's menu opened on the button press already.
        if (lParam == -1 || (GET_X_LPARAM(lParam) == -1 && GET_Y_LPARAM(lParam) == -1)) {
            if (current_ && focus_) ContextMenu(focusRelative_, FocusPoint());
            return 0;
        }
        break;
    default: break;
    }
    return fw::TWindow::HandleMessage(msg, wParam, lParam);
}

}  // namespace pie
