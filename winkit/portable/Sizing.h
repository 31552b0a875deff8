#pragma once
// What a resizable window does beyond its table's size: the growth its rows
// follow, and the widths of a list's columns. A file of its own, so that a
// program without such a window does not carry it.
#include <cstddef>
#include <vector>

#include "Layout.h"

namespace winkit {

// ControlRect in a client area that has `growth` pixels beyond the table's
// size: the row follows it by its own flags.
PixelRect FollowingRect(const ControlSpec* table, std::size_t count, std::size_t index, int dpi, PixelSize growth);

// What a client area of `client` pixels has beyond `designTwips` at a DPI;
// never less than nothing.
PixelSize Growth(PixelSize client, PixelSize designTwips, int dpi);

// A list's column widths in `available` pixels. Each column wants its widest
// text; when all fit, the column `spare` takes what is left. When they do
// not, the columns marked whole keep their width (as far as the list has
// room) and the others share the rest evenly: one that wants less than its
// share keeps its width, the others are cut alike, none below its minimum
// (its header).
struct ColumnNeed {
    int wanted;
    int minimum;
    bool whole;
};
std::vector<int> FitColumns(const std::vector<ColumnNeed>& columns, int available, std::size_t spare);

}  // namespace winkit
