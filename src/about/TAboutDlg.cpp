#include "about/TAboutDlg.h"

#include "resource.h"

namespace about {
namespace {
constexpr const char* kHomeTarget = "https://www.tervanic.example/";
constexpr const char* kHomeText = "www.tervanic.example";
constexpr const char* kPageTarget = "https://www.tervanic.example/kelvaran/";
constexpr const char* kPageText = "Kelvaran page";
constexpr const char* kMailTarget = "mailto:kelvaran@tervanic.example";
constexpr const char* kMailText = "kelvaran@tervanic.example";
}  // namespace

TAboutDlg::TAboutDlg(fw::TWindow* parent, fw::Interaction ui)
    : TDialog(parent, IDD_ABOUT), ui_(std::move(ui)), home_(this), mail_(this), page_(this) {}

TAboutDlg::~TAboutDlg() = default;

void TAboutDlg::SetupWindow() {
    TDialog::SetupWindow();

    // The banner takes the place of its placeholder frame.
    if (HWND placeholder = Item(IDC_ABOUT_BANNER)) {
        RECT r{};
        GetWindowRect(placeholder, &r);
        MapWindowPoints(HWND_DESKTOP, GetHandle(), reinterpret_cast<POINT*>(&r), 2);
        DestroyWindow(placeholder);
        banner_ = std::make_unique<TRotoWnd>(this, r);
        banner_->Create();
    }

    struct Link {
        TTVUrlLink& link;
        int id;
        const char* target;
        const char* text;
    };
    for (const Link& l :
         {Link{home_, IDC_ABOUT_HOME, kHomeTarget, kHomeText}, Link{page_, IDC_ABOUT_PAGE, kPageTarget, kPageText},
          Link{mail_, IDC_ABOUT_MAIL, kMailTarget, kMailText}}) {
        if (!l.link.AttachItem(GetHandle(), l.id)) continue;
        l.link.SetInteraction(ui_);
        l.link.SetTarget(l.target);
        l.link.SetText(l.text);
    }
}

void ShowAbout(fw::TWindow& owner, const fw::Interaction& ui) {
    TAboutDlg dialog(&owner, ui);
    dialog.Execute();
}

}  // namespace about
