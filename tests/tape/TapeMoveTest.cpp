// Which tape line a keyboard move selects.
#include <gtest/gtest.h>

#include "tape/TapeMove.h"

namespace tallyroll {
namespace {

TEST(TapeMoveRule, RowAfterMove) {
    struct Row {
        TapeMove move;
        int selected, count, page, expected;
    };
    const Row rows[] = {
        // Empty tape: nothing to select.
        {TapeMove::Up, -1, 0, 10, -1},
        {TapeMove::First, -1, 0, 10, -1},
        // No line selected: every move but First starts at the newest line.
        {TapeMove::Up, -1, 5, 10, 4},
        {TapeMove::Down, -1, 5, 10, 4},
        {TapeMove::First, -1, 5, 10, 0},
        // Steps stop at the ends.
        {TapeMove::Up, 2, 5, 10, 1},
        {TapeMove::Up, 0, 5, 10, 0},
        {TapeMove::Down, 3, 5, 10, 4},
        {TapeMove::Down, 4, 5, 10, 4},
        {TapeMove::PageUp, 30, 40, 10, 20},
        {TapeMove::PageUp, 5, 40, 10, 0},
        {TapeMove::PageDown, 30, 40, 10, 39},
        {TapeMove::PageDown, 3, 40, 0, 4},  // a page is at least a line
        {TapeMove::Last, 0, 32766, 10, 32765},
    };
    for (const Row& r : rows)
        EXPECT_EQ(TapeRowAfterMove(r.move, r.selected, r.count, r.page), r.expected)
            << static_cast<int>(r.move) << " from " << r.selected << " of " << r.count;
}

}  // namespace
}  // namespace tallyroll
