// The main view's command table: one row per command (or range of commands) with its handler, its
// enabling rule and its check mark. The menus (at WM_INITMENUPOPUP), the tool bar buttons and every
// executed command consult the same rows, so a command that is disabled does nothing however it arrives
// (menu, button or accelerator).
//
//   table.Add({CM_BACK, 1, [&](unsigned) { GoBack(); }, [&](unsigned) { return !history.BackEmpty(); }});
//   table.Add({CM_DRIVE_FIRST, 26, [&](unsigned i) { ScanDrive(i); }});   // a range: 29000 + i
//   if (!table.Execute(id)) ...not ours, or disabled
#pragma once

#include <functional>
#include <vector>

namespace frame {

struct Command {
    using Rule = std::function<bool(unsigned index)>;
    unsigned firstId = 0;
    unsigned count = 1;                       // ids firstId .. firstId + count - 1
    std::function<void(unsigned index)> run;  // index of the id within the range
    Rule enabled;                             // empty: always enabled
    Rule checked;                             // empty: never checked
};

class CommandTable {
public:
    void Add(Command command);

    bool Knows(unsigned id) const { return Find(id, nullptr) != nullptr; }
    bool IsEnabled(unsigned id) const;  // false for ids the table does not know
    bool IsChecked(unsigned id) const;
    // Runs the command when the table knows it and it is enabled; true when it ran.
    bool Execute(unsigned id) const;

private:
    const Command* Find(unsigned id, unsigned* index) const;

    std::vector<Command> rows_;
};

}  // namespace frame
