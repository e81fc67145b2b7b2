// A list-view control in report mode: columns, rows appended in order, cell texts. A template's list is
// borrowed with AttachItem; the static cell operations take the list's handle, so a worker thread can
// reach the list by sending it messages (each is handled on the list's own thread).
#pragma once

#include "fw/TControl.h"

#include <commctrl.h>

#include <string>

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

    bool SetCellText(int row, int column, const std::string& text) {
        return SetCellText(GetHandle(), row, column, text);
    }
    std::string CellText(int row, int column) const { return CellText(GetHandle(), row, column); }

    static bool SetCellText(HWND list, int row, int column, const std::string& text);
    // At most `capacity - 1` characters of the cell.
    static std::string CellText(HWND list, int row, int column, std::size_t capacity = 260);
    static int RowCount(HWND list);

protected:
    const char* ClassName() const override { return WC_LISTVIEWA; }
};

}  // namespace fw
