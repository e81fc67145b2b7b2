#include "frame/CommandTable.h"

#include <utility>

namespace frame {

void CommandTable::Add(Command command) { rows_.push_back(std::move(command)); }

const Command* CommandTable::Find(unsigned id, unsigned* index) const {
    for (const Command& row : rows_) {
        if (id >= row.firstId && id - row.firstId < row.count) {
            if (index) *index = id - row.firstId;
            return &row;
        }
    }
    return nullptr;
}

bool CommandTable::IsEnabled(unsigned id) const {
    unsigned index = 0;
    const Command* row = Find(id, &index);
    return row && (!row->enabled || row->enabled(index));
}

bool CommandTable::IsChecked(unsigned id) const {
    unsigned index = 0;
    const Command* row = Find(id, &index);
    return row && row->checked && row->checked(index);
}

bool CommandTable::Execute(unsigned id) const {
    unsigned index = 0;
    const Command* row = Find(id, &index);
    if (!row || (row->enabled && !row->enabled(index)) || !row->run) return false;
    row->run(index);
    return true;
}

}  // namespace frame
