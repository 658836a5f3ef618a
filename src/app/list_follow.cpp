#include "app/list_follow.h"

int FollowingTop(int top, int rows, int index, std::optional<int> previous) {
    const auto shown = [&](int row) { return row >= top && row < top + rows; };
    if ((previous && !shown(*previous)) || shown(index)) {
        return top;
    }
    return index;
}
