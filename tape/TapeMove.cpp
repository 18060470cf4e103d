#include "tape/TapeMove.h"

#include <algorithm>

namespace tallyroll {

int TapeRowAfterMove(TapeMove move, int selected, int count, int page) {
    if (count <= 0) return -1;
    const int last = count - 1;
    if (move == TapeMove::First) return 0;
    if (selected < 0 || selected > last || move == TapeMove::Last) return last;
    page = std::max(page, 1);
    switch (move) {
        case TapeMove::Up:
            return std::max(selected - 1, 0);
        case TapeMove::Down:
            return std::min(selected + 1, last);
        case TapeMove::PageUp:
            return std::max(selected - page, 0);
        case TapeMove::PageDown:
            return std::min(selected + page, last);
        case TapeMove::First:
        case TapeMove::Last:
            break;
    }
    return last;
}

}  // namespace tallyroll
