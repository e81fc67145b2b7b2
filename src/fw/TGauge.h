// A progress bar (msctls_progress32) from a dialog template, borrowed: attach it by id in the dialog's
// set-up. Calls before attaching, or after the dialog is gone, do nothing.
#pragma once

#include "fw/TControl.h"

#include <utility>

namespace fw {

class TGauge : public TControl {
public:
    TGauge() : TControl(nullptr) {}

    void SetRange(int min, int max);
    std::pair<int, int> GetRange() const;
    void SetStep(int step);
    void SetValue(int position);
    int GetValue() const;
    void StepIt();
    void Show(bool visible);

protected:
    const char* ClassName() const override;
};

}  // namespace fw
