// A drop-down list combo box created by the program. Its notifications (CBN_*) reach the handler its
// holder installs, through reflection from whatever window it sits in (a frame, a dialog, a tool bar).
#pragma once

#include "fw/TControl.h"

#include <functional>
#include <string>

namespace fw {

class TComboBox : public TControl {
public:
    using NotifyHandler = std::function<void(int notifyCode)>;

    // `height` includes the dropped list.
    TComboBox(TWindow* parent, UINT id, int width, int height);

    void SetNotifyHandler(NotifyHandler handler) { notify_ = std::move(handler); }

    int AddString(const std::string& text);
    int Count() const;
    std::string GetString(int index) const;
    // -1 when nothing is selected.
    int GetSelIndex() const;
    // -1 clears the selection.
    void SetSelIndex(int index);
    void Clear();

protected:
    const char* ClassName() const override;
    bool HandleReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    NotifyHandler notify_;
};

// The mode box's type: the system's own painting stands in for a flat one.
using TFlatComboBox = TComboBox;

}  // namespace fw
