// A list-view control in report mode: columns, rows appended in order, cell texts. A template's list is
// borrowed with AttachItem; the static cell operations take the list's handle, so a worker thread can
// reach the list by sending it messages (each is handled on the list's own thread).
//
// An owner-data list (LVS_OWNERDATA) keeps no texts: it is given a row count, and asks the text source
// for the cells it draws, so a list of a hundred thousand rows costs nothing until it is looked at:
//
//   list.SetTextSource([this](int row, int column) { return TextOf(row, column); });
//   list.SetItemCount(rows.size());
#pragma once

#include "fw/TControl.h"

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

namespace fw {

class TListView : public TControl {
public:
    explicit TListView(TWindow* parent, UINT id = 0) : TControl(parent, id) {}

    // `format` is LVCFMT_LEFT, LVCFMT_RIGHT or LVCFMT_CENTER. Returns the column's index or -1.
    int InsertColumn(int index, const std::string& header, int width, int format);
    // Appends a row whose first cell is `text`; the row's index, or -1 when the list refused it.
    int AppendRow(const std::string& text);
    int RowCount() const;
    void SetExtendedStyle(DWORD mask, DWORD style);
    void DeleteAllRows() noexcept;
    // Redrawing off while many rows change; switching it on repaints the list.
    void SetRedraw(bool redraw) noexcept;

    bool SetCellText(int row, int column, const std::string& text) {
        return SetCellText(GetHandle(), row, column, text);
    }
    std::string CellText(int row, int column) const { return CellText(GetHandle(), row, column); }

    static bool SetCellText(HWND list, int row, int column, const std::string& text);
    // At most `capacity - 1` characters of the cell.
    static std::string CellText(HWND list, int row, int column, std::size_t capacity = 260);
    static int RowCount(HWND list);

    // Owner-data lists: the texts of the cells drawn, and the number of rows.
    using TextSource = std::function<std::string(int row, int column)>;
    void SetTextSource(TextSource source) { textSource_ = std::move(source); }
    void SetItemCount(int count) noexcept;

    std::vector<int> SelectedRows() const;
    int SelectedCount() const noexcept;

    // Notifications of this list: the selection changed; a row (or -1, none) was double-clicked; the right
    // button went up over a row (or -1) at a point of the screen; a key went down (the virtual key).
    std::function<void()> onSelectionChanged;
    std::function<void(int row)> onDoubleClick;
    std::function<void(int row, POINT screen)> onRightClick;
    std::function<void(WORD key)> onKeyDown;

    bool HandleReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

protected:
    const char* ClassName() const override { return WC_LISTVIEWA; }

private:
    TextSource textSource_;
    // The text handed to the control last, alive until it asks again.
    std::wstring wideText_;
    std::string narrowText_;
};

}  // namespace fw
