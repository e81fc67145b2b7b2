#include "frame/FolderPages.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using frame::FirstRows;
using frame::PageRow;
using frame::RevealRows;

PageRow Shown(std::size_t first, std::size_t count) { return {false, first, count}; }
PageRow More(std::size_t first, std::size_t count) { return {true, first, count}; }

TEST(FolderPages, AFolderFirstShowsOnePageAndOneItemForTheRest) {
    struct Case {
        std::size_t total, page;
        std::vector<PageRow> rows;
    };
    const Case cases[] = {
        {0, 1000, {}},
        {1, 1000, {Shown(0, 1)}},
        {999, 1000, {Shown(0, 999)}},
        {1000, 1000, {Shown(0, 1000)}},  // exactly one page: no "more" item for nothing
        {1001, 1000, {Shown(0, 1000), More(1000, 1)}},
        {1'000'000, 1000, {Shown(0, 1000), More(1000, 999'000)}},
        {7, 3, {Shown(0, 3), More(3, 4)}},
    };
    for (const Case& c : cases) EXPECT_EQ(FirstRows(c.total, c.page), c.rows) << c.total << " by " << c.page;
}

TEST(FolderPages, RevealingShowsThePageHoldingThePositionAndKeepsTheHiddenStretchesAround) {
    struct Case {
        PageRow hidden;
        std::size_t position;
        std::vector<PageRow> rows;
    };
    const Case cases[] = {
        // Choosing the "more" item: its first page, the rest behind a new "more" item.
        {More(1000, 999'000), 1000, {Shown(1000, 1000), More(2000, 998'000)}},
        // The last page of all, short.
        {More(1000, 1500), 2000, {More(1000, 1000), Shown(2000, 500)}},
        // Only one page left: it is shown and the "more" item goes.
        {More(999'000, 1000), 999'000, {Shown(999'000, 1000)}},
        {More(1000, 1), 1000, {Shown(1000, 1)}},
        // A folder deep in the middle: its page alone, hidden stretches on both sides.
        {More(1000, 999'000), 500'123, {More(1000, 499'000), Shown(500'000, 1000), More(501'000, 499'000)}},
        // The page's last and first positions belong to it.
        {More(1000, 999'000), 500'999, {More(1000, 499'000), Shown(500'000, 1000), More(501'000, 499'000)}},
        {More(1000, 999'000), 999'999, {More(1000, 998'000), Shown(999'000, 1000)}},
        // Outside the stretch: its first page.
        {More(3000, 5000), 10, {Shown(3000, 1000), More(4000, 4000)}},
        {More(3000, 5000), 8000, {Shown(3000, 1000), More(4000, 4000)}},
        // Nothing hidden.
        {More(3000, 0), 3000, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RevealRows(c.hidden, c.position), c.rows)
            << c.hidden.first << "+" << c.hidden.count << " at " << c.position;
}

TEST(FolderPages, PagesKeepTheirPlacesWhateverOrderTheyAreRevealedIn) {
    // Reveal pages of 10 of 95 folders out of order; every folder ends up in exactly one row, the rows in
    // order, and no page is cut in two.
    std::vector<PageRow> rows = FirstRows(95, 10);
    for (std::size_t position : {57u, 91u, 33u, 12u, 58u, 77u, 40u, 21u, 66u}) {
        for (std::size_t i = 0; i < rows.size(); ++i) {
            if (!rows[i].more || position < rows[i].first || position >= rows[i].End()) continue;
            const std::vector<PageRow> replaced = RevealRows(rows[i], position, 10);
            rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(i));
            rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(i), replaced.begin(), replaced.end());
            break;
        }
        std::size_t next = 0;
        for (const PageRow& row : rows) {
            EXPECT_EQ(row.first, next);
            EXPECT_GT(row.count, 0u);
            if (!row.more) {
                EXPECT_EQ(row.first % 10, 0u) << "a page starts at a multiple of the page size";
            }
            next = row.End();
        }
        EXPECT_EQ(next, 95u);
    }
    std::size_t shown = 0;
    for (const PageRow& row : rows) shown += row.more ? 0 : row.count;
    EXPECT_EQ(shown, 10u + 10 * 7 + 5) << "the first page, seven revealed (58 shares 57's page), 91's short page";
}

TEST(FolderPages, TheMoreItemCountsWithGroupCommas) {
    EXPECT_EQ(frame::MoreFoldersText(1), "... 1 more folder");
    EXPECT_EQ(frame::MoreFoldersText(2), "... 2 more folders");
    EXPECT_EQ(frame::MoreFoldersText(999'000), "... 999,000 more folders");
    EXPECT_EQ(frame::MoreFoldersText(1'234'567), "... 1,234,567 more folders");
}

}  // namespace
