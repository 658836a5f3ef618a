#pragma once

#include <optional>

// The first row that a list shows while a run moves down it: the page about to be checked
// comes into view, unless the user has scrolled the list away from the page checked before it
// (its place then stays until the user brings the run back into view). A page out of view
// becomes the first row shown, so that the list turns a whole view at a time: scrolled a row
// for every page, it would repaint its scroll bar and rows for every page. top is the first row
// shown, rows how many rows the list shows whole, previous the page checked before.
int FollowingTop(int top, int rows, int index, std::optional<int> previous);
