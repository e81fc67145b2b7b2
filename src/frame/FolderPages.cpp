#include "frame/FolderPages.h"

#include "model/SizeText.h"

#include <algorithm>

namespace frame {

std::vector<PageRow> FirstRows(std::size_t total, std::size_t pageSize) {
    if (total == 0) return {};
    return RevealRows(PageRow{true, 0, total}, 0, pageSize);
}

std::vector<PageRow> RevealRows(const PageRow& hidden, std::size_t position, std::size_t pageSize) {
    if (hidden.count == 0) return {};
    if (pageSize == 0) return {PageRow{false, hidden.first, hidden.count}};
    if (position < hidden.first || position >= hidden.End()) position = hidden.first;
    const std::size_t pageStart = std::max(hidden.first, position - position % pageSize);
    // Page ends are counted from the page's true start, so pages keep their places whichever revealed first.
    const std::size_t pageEnd = std::min(hidden.End(), position - position % pageSize + pageSize);
    std::vector<PageRow> rows;
    if (pageStart > hidden.first) rows.push_back({true, hidden.first, pageStart - hidden.first});
    rows.push_back({false, pageStart, pageEnd - pageStart});
    if (pageEnd < hidden.End()) rows.push_back({true, pageEnd, hidden.End() - pageEnd});
    return rows;
}

std::string MoreFoldersText(std::size_t count) {
    return "... " + model::FormatCount(count) + (count == 1 ? " more folder" : " more folders");
}

}  // namespace frame
