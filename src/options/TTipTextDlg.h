// "Tip Info Editor": edits one tip template. The list shows the symbols of one kind of item with their
// descriptions ("#DSIZE -- Deep logical size"); a double-click inserts that symbol at the caret. Run
// modally by the settings dialog:
//
//   TTipTextDlg editor(this, data_.pie.folderTip, &pie::TipParser<model::DirInfo>::EditorTexts);
//   if (editor.Execute() == IDOK) data_.pie.folderTip = editor.Text();
//
// OK takes the whole text, however long: a template stored longer than the editor lets one type survives
// an untouched OK.
#pragma once

#include "fw/TDialog.h"

#include <string>
#include <vector>

namespace options {

class TTipTextDlg : public fw::TDialog {
public:
    using SymbolFiller = std::vector<std::string> (*)();

    TTipTextDlg(fw::TWindow* parent, std::string text, SymbolFiller filler);

    const std::string& Text() const noexcept { return text_; }
    // The symbols in list order, without their descriptions.
    const std::vector<std::string>& Symbols() const noexcept { return symbols_; }

protected:
    void SetupWindow() override;
    bool HandleCommand(int id, int notifyCode, HWND control) override;

private:
    void InsertSelectedSymbol();

    std::string text_;
    SymbolFiller filler_;
    std::vector<std::string> symbols_;
};

}  // namespace options
