#include "Sizing.h"

#include <algorithm>
#include <utility>

namespace winkit {

PixelRect FollowingRect(const ControlSpec* table, std::size_t count, std::size_t index, int dpi, PixelSize growth) {
    PixelRect rect = ControlRect(table, count, index, dpi);
    const unsigned follow = table[index].follow;
    if (follow & kMovesRight) rect.left += growth.width;
    if (follow & kWidens) rect.width += growth.width;
    if (follow & kMovesDown) rect.top += growth.height;
    if (follow & kGrowsDown) rect.height += growth.height;
    return rect;
}

PixelSize Growth(PixelSize client, PixelSize designTwips, int dpi) {
    return {std::max(0, client.width - TwipsToPixels(designTwips.width, dpi)),
            std::max(0, client.height - TwipsToPixels(designTwips.height, dpi))};
}

std::vector<int> FitColumns(const std::vector<ColumnNeed>& columns, int available, std::size_t spare) {
    std::vector<int> widths;
    long long wanted = 0;
    for (const ColumnNeed& column : columns) {
        widths.push_back(std::max(column.wanted, column.minimum));
        wanted += widths.back();
    }
    available = std::max(available, 0);
    if (wanted <= available) {
        if (spare < widths.size()) widths[spare] += static_cast<int>(available - wanted);
        return widths;
    }
    // The columns that share: first the ones not marked whole; when even the
    // whole ones do not fit beside their minimums, all of them.
    long long whole = 0;
    long long sharedMinimum = 0;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (columns[i].whole)
            whole += widths[i];
        else
            sharedMinimum += columns[i].minimum;
    }
    const bool allShare = whole + sharedMinimum > available;
    // Evenly, as far as each wants: a column that wants less than an even
    // share keeps all of it, and the others share what is left.
    long long room = available;
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (allShare || !columns[i].whole)
            order.push_back(i);
        else
            room -= widths[i];
    }
    // The narrowest first; an insertion sort of a few columns, which costs
    // the programs less than another std::stable_sort.
    for (std::size_t n = 1; n < order.size(); ++n)
        for (std::size_t m = n; m > 0 && widths[order[m]] < widths[order[m - 1]]; --m) std::swap(order[m], order[m - 1]);
    long long laterMinimums = 0;
    for (std::size_t i : order) laterMinimums += columns[i].minimum;
    for (std::size_t n = 0; n < order.size(); ++n) {
        const std::size_t i = order[n];
        laterMinimums -= columns[i].minimum;
        const long long even = std::max(0LL, room) / static_cast<long long>(order.size() - n);
        const long long most = std::min(std::min(static_cast<long long>(widths[i]), even), room - laterMinimums);
        widths[i] = static_cast<int>(std::max<long long>(most, columns[i].minimum));
        room -= widths[i];
    }
    return widths;
}

}  // namespace winkit
