// "Settings": the modal dialog over the pie's settings, the dialog look, the tool bar size and the
// autoscan folder. It works on its own copy of the values; the caller applies them after OK and drops
// them otherwise, so Cancel or closing the window forgets everything, chosen colours included.
//
//   DispOptData data = MakeDispOptData(...);
//   if (EditSettings(parentFrame, data)) apply(data);
//
// OK checks the edits through ValidateDispOpt (DispOptData.h); a refusal is shown as "Range Error" and
// leaves the dialog open with the offending edit focused and its text selected. The colour buttons ask
// the chooser the dialog was given (the system's unless a test gives another).
#pragma once

#include "fw/Interaction.h"
#include "fw/TDialog.h"
#include "options/ColourChooser.h"
#include "options/DispOptData.h"
#include "options/TClrBtn.h"
#include "options/THSlider.h"
#include "options/TTransPreview.h"

#include <memory>

namespace options {

class TDispOptDlg : public fw::TDialog {
public:
    // `ui` shows the refusals of OK and the help.
    TDispOptDlg(fw::TWindow* parent, DispOptData data, fw::Interaction ui = {},
                ColourChooser chooser = SystemColourChooser);
    ~TDispOptDlg() override;

    const DispOptData& Data() const noexcept { return data_; }
    TTransPreview* Preview() const noexcept { return preview_.get(); }
    // The Help button: it shares its id with the central disk size box, which GetDlgItem finds first.
    HWND HelpButton() const noexcept { return helpButton_; }

protected:
    void SetupWindow() override;
    bool HandleCommand(int id, int notifyCode, HWND control) override;

private:
    void UpdateEnabling();
    void EditTip(std::string& text, bool folders);
    bool AcceptOk();

    DispOptData data_;
    fw::Interaction ui_;
    ColourChooser chooser_;
    TClrBtn fixedButton_;
    TClrBtn largestButton_;
    TClrBtn smallestButton_;
    THSlider slider_;
    std::unique_ptr<TTransPreview> preview_;
    HWND helpButton_ = nullptr;
};

// Runs the dialog modally on a copy of `data`; only OK writes the edited values back. True after OK.
bool EditSettings(fw::TWindow* parent, DispOptData& data, const fw::Interaction& ui,
                  ColourChooser chooser = SystemColourChooser);

}  // namespace options
