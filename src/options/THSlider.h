// The settings dialog's transparency slider (a track bar of the template), attached by id in the dialog's
// set-up. Every move of the thumb, by mouse or keys, reaches the handler with the new position.
#pragma once

#include "fw/TControl.h"

#include <functional>

namespace options {

class THSlider : public fw::TControl {
public:
    using MoveHandler = std::function<void(int position)>;

    explicit THSlider(fw::TWindow* parent) : TControl(parent) {}

    void SetMoveHandler(MoveHandler handler) { moved_ = std::move(handler); }
    void SetRange(int minimum, int maximum);
    void SetTicFreq(int frequency);
    void SetPosition(int position);
    int GetPosition() const;

protected:
    const char* ClassName() const override;
    bool HandleReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    MoveHandler moved_;
};

}  // namespace options
