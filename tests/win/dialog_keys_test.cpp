// Every dialog template of the program used from the keyboard: each control that takes input is reached
// by Tab (a radio button through its group's tab stop), no two controls share a mnemonic (the second could
// never be reached by it, and which one Alt+letter hits would depend on the focus), and Enter has a
// default button, except in the scan's progress dialog, where Enter must not end the scan.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cctype>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "frame/CommonControls.h"
#include "resource.h"

namespace {

INT_PTR CALLBACK InertDialog(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string TextOf(HWND window) {
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// The letter after a single '&', lower-cased; 0 for none.
char Mnemonic(const std::string& text) {
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&') continue;
        if (text[i + 1] != '&') return static_cast<char>(std::tolower(static_cast<unsigned char>(text[i + 1])));
        ++i;
    }
    return 0;
}

// Shown and enabled in the template (the dialog itself stays hidden here).
bool Active(HWND control) { return (GetWindowLongA(control, GWL_STYLE) & WS_VISIBLE) != 0 && IsWindowEnabled(control); }

bool TakesInput(HWND control) {
    if (!Active(control)) return false;
    const std::string name = ClassOf(control);
    if (name == "Button") return (GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK) != BS_GROUPBOX;
    return name == "Edit" || name == "ComboBox" || name == "ListBox" || name == WC_LISTVIEWA ||
           name == TRACKBAR_CLASSA || name == WC_TREEVIEWA;
}

bool IsRadio(HWND control) {
    const LONG type = GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK;
    return ClassOf(control) == "Button" && (type == BS_AUTORADIOBUTTON || type == BS_RADIOBUTTON);
}

struct Template {
    int id;
    const char* name;
    bool wantsDefault;
};

class DialogKeys : public testing::TestWithParam<Template> {
protected:
    static void SetUpTestSuite() { frame::LoadCommonControls(); }
};

TEST_P(DialogKeys, EveryControlIsReachedAndMnemonicsAreUnique) {
    const Template& t = GetParam();
    HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(t.id), nullptr, &InertDialog, 0);
    ASSERT_TRUE(dialog) << t.name;
    std::vector<HWND> controls;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        controls.push_back(child);

    // The tab cycle, from the first tab stop round to it again.
    std::set<HWND> cycle;
    HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
    for (HWND item = first; item && cycle.insert(item).second;) item = GetNextDlgTabItem(dialog, item, FALSE);
    EXPECT_FALSE(cycle.empty()) << t.name << ": Tab reaches nothing";

    std::map<char, std::string> mnemonics;
    bool hasDefault = false;
    for (HWND control : controls) {
        if (!Active(control)) continue;
        const std::string text = TextOf(control);
        if ((GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON && ClassOf(control) == "Button")
            hasDefault = true;
        if (const char m = Mnemonic(text)) {
            const auto [it, added] = mnemonics.emplace(m, text);
            EXPECT_TRUE(added) << t.name << ": \"" << text << "\" and \"" << it->second << "\" share Alt+" << m;
        }
        if (!TakesInput(control) || cycle.count(control)) continue;
        bool viaGroup = false;
        if (IsRadio(control)) {
            // Arrows move within the group; Tab enters it at its tab stop.
            for (HWND member = GetNextDlgGroupItem(dialog, control, FALSE); member && member != control && !viaGroup;
                 member = GetNextDlgGroupItem(dialog, member, FALSE))
                viaGroup = cycle.count(member) != 0;
        }
        EXPECT_TRUE(viaGroup) << t.name << ": Tab never reaches \"" << text << "\" (id " << GetDlgCtrlID(control)
                              << ", " << ClassOf(control) << ")";
    }
    EXPECT_EQ(hasDefault, t.wantsDefault) << t.name << ": the default button for Enter";
    DestroyWindow(dialog);
}

INSTANTIATE_TEST_SUITE_P(
    Templates, DialogKeys,
    testing::Values(Template{IDD_ABOUT, "About", true}, Template{IDD_FILE_TYPES, "FileTypes", true},
                    Template{IDD_STATISTICS, "Statistics", true}, Template{IDD_CLUSTER_INFO, "ClusterInfo", true},
                    Template{IDD_SET_CLUSTER_SIZE, "SetClusterSize", true}, Template{IDD_SETTINGS, "Settings", true},
                    Template{IDD_TIP_TEXT, "TipText", true}, Template{IDD_SYS_DRIVES, "SysDrives", true},
                    Template{IDD_THREAD, "Progress", false}),
    [](const testing::TestParamInfo<Template>& param) { return std::string(param.param.name); });

}  // namespace
