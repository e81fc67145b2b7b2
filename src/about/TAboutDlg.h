// The About box: the program's name, version and purpose under the animated banner, with links to the
// maker's pages and mail address, opened through the given Interaction. The main window's "&About" command
// calls ShowAbout.
#pragma once

#include "about/TRotoWnd.h"
#include "about/TTVUrlLink.h"
#include "fw/TDialog.h"

#include <memory>

namespace about {

class TAboutDlg : public fw::TDialog {
public:
    explicit TAboutDlg(fw::TWindow* parent, fw::Interaction ui = {});
    ~TAboutDlg() override;

    TRotoWnd* Banner() const noexcept { return banner_.get(); }
    const TTVUrlLink& HomeLink() const noexcept { return home_; }
    const TTVUrlLink& PageLink() const noexcept { return page_; }
    const TTVUrlLink& MailLink() const noexcept { return mail_; }

protected:
    void SetupWindow() override;

private:
    fw::Interaction ui_;
    std::unique_ptr<TRotoWnd> banner_;
    TTVUrlLink home_, mail_, page_;
};

// Runs the About box modally, owned by `owner`.
void ShowAbout(fw::TWindow& owner, const fw::Interaction& ui);

}  // namespace about
