// A static text control that acts as a link: its text is drawn underlined in the link colour, a tooltip
// shows its target, the hand cursor appears over it, and a click opens the target with the shell's "open"
// verb. Usually borrowed from a dialog template (AttachItem) in the dialog's set-up, then given its target.
//
// The target is opened through the link's Interaction (the shell's unless another was given).
#pragma once

#include "fw/Handles.h"
#include "fw/Interaction.h"
#include "fw/TControl.h"

#include <functional>
#include <string>

namespace fw {

class TUrlLink : public TControl {
public:
    explicit TUrlLink(TWindow* parent, UINT id = 0) : TControl(parent, id) {}
    ~TUrlLink() override;

    // Call once the control exists: sets the underlined font and the tooltip.
    void SetTarget(const std::string& target);
    const std::string& GetTarget() const noexcept { return target_; }
    void SetText(const std::string& text) { SetWindowTextA(GetHandle(), text.c_str()); }

    // What opens the target when the link is clicked.
    void SetInteraction(Interaction ui) { ui_ = std::move(ui); }

    bool HandleReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

protected:
    const char* ClassName() const override { return "Static"; }
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void Open() const;

    std::string target_;
    Interaction ui_;
    Font font_;
    HWND tooltip_ = nullptr;
};

}  // namespace fw
