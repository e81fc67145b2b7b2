// An extended combo box (a drop-down list whose items carry a picture) created by the program. It keeps
// its image list; item texts are UTF-8, given to the control in UTF-16. The CBN_* notifications that the
// control passes on from its inner combo reach the handler its holder installs, through reflection.
#pragma once

#include "fw/ImageList.h"
#include "fw/TControl.h"

#include <functional>
#include <string>

namespace fw {

class TComboBoxEx : public TControl {
public:
    using NotifyHandler = std::function<void(int notifyCode)>;

    // `height` includes the dropped list.
    TComboBoxEx(TWindow* parent, UINT id, int width, int height);

    void SetNotifyHandler(NotifyHandler handler) { notify_ = std::move(handler); }
    // Kept for the control's lifetime; applied now or when the control is created.
    void SetImageList(ImageList images);

    // Appends an item; its index, or -1 when the control refuses it.
    int AddItem(const std::string& text, int image);
    int Count() const;
    std::string ItemText(int index) const;
    int ItemImage(int index) const;
    int GetSelIndex() const;
    void SetSelIndex(int index);  // -1 clears the selection
    void Clear();

    // The inner combo box, which has the keyboard focus while the box is used.
    HWND ComboHandle() const;

protected:
    const char* ClassName() const override;
    void SetupWindow() override;
    bool HandleReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    NotifyHandler notify_;
    ImageList images_;
};

// The path box's type: the system's own painting stands in for a flat one.
using TGadgetComboBoxEx = TComboBoxEx;

}  // namespace fw
