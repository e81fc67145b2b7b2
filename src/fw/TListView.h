// A list view control (report mode) as a framework control: columns, rows with texts, selection, and for
// owner-data lists (LVS_OWNERDATA) a row count with texts supplied when rows are drawn, so a list of a
// hundred thousand rows costs nothing until it is looked at.
//
//   list.AttachItem(GetHandle(), IDC_LIST);
//   list.InsertColumn(0, "Name", 300, LVCFMT_LEFT);
//   list.SetTextSource([this](int row, int column) { return TextOf(row, column); });
//   list.SetItemCount(rows.size());
//
// Texts are UTF-8; the control gets them through its wide messages.
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

    void SetExtendedStyle(DWORD mask, DWORD style) noexcept;
    void InsertColumn(int index, const std::string& text, int width, int format);
    void SetRedraw(bool redraw) noexcept;

    // Rows kept by the control.
    int InsertItem(int index, const std::string& text);
    void SetItemText(int item, int subItem, const std::string& text);
    void DeleteAllItems() noexcept;

    // Rows of an owner-data list: the count, and the text of a cell asked for when the row is drawn.
    using TextSource = std::function<std::string(int item, int subItem)>;
    void SetTextSource(TextSource source) { textSource_ = std::move(source); }
    void SetItemCount(int count) noexcept;

    int GetItemCount() const noexcept;
    // The cell as the control shows it, whatever its length.
    std::string GetItemText(int item, int subItem) const;
    std::vector<int> SelectedItems() const;
    int SelectedCount() const noexcept;
    void SetSelected(int item, bool selected) noexcept;

    // Notifications of this list: the selection changed; a row (or -1, none) was double-clicked.
    std::function<void()> onSelectionChanged;
    std::function<void(int item)> onDoubleClick;

    bool HandleReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

protected:
    const char* ClassName() const override { return WC_LISTVIEWA; }

private:
    TextSource textSource_;
    std::wstring wideText_;   // the text handed to the control last, alive until it asks again
    std::string narrowText_;
};

}  // namespace fw
