#include "Layout.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace winkit {

int TwipsToPixels(int twips, int dpi) {
    const long long scaled = static_cast<long long>(twips) * dpi;
    const long long half = kTwipsPerInch / 2;
    return static_cast<int>(scaled >= 0 ? (scaled + half) / kTwipsPerInch
                                        : -((-scaled + half) / kTwipsPerInch));
}

double PixelsToTwips(int pixels, int dpi) {
    return static_cast<double>(pixels) * kTwipsPerInch / dpi;
}

int CentreOffset(double screenTwips, double windowTwips) {
    const double difference = screenTwips - windowTwips;
    // Round half to even by hand: std::nearbyint depends on the FPU mode.
    double whole = std::floor(difference);
    const double fraction = difference - whole;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0)) whole += 1.0;
    return static_cast<int>(whole) / 2;
}

int DefaultButton(const ControlSpec* table, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        if (table[i].role == ButtonRole::Default || table[i].role == ButtonRole::DefaultAndCancel) return table[i].id;
    return 0;
}

int CancelButton(const ControlSpec* table, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        if (table[i].role == ButtonRole::Cancel || table[i].role == ButtonRole::DefaultAndCancel) return table[i].id;
    return 0;
}

PixelRect ControlRect(const ControlSpec* table, std::size_t count, std::size_t index, int dpi, PixelSize growth) {
    int left = table[index].left;
    int top = table[index].top;
    for (int parent = table[index].container; parent >= 0 && static_cast<std::size_t>(parent) < count;
         parent = table[parent].container) {
        left += table[parent].left;
        top += table[parent].top;
    }
    // Right and bottom edges are scaled too, so that neighbouring controls keep
    // their gaps instead of accumulating rounding.
    const int x = TwipsToPixels(left, dpi);
    const int y = TwipsToPixels(top, dpi);
    PixelRect rect{x, y, TwipsToPixels(left + table[index].width, dpi) - x,
                   TwipsToPixels(top + table[index].height, dpi) - y};
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

std::vector<std::size_t> TabOrder(const ControlSpec* table, std::size_t count) {
    std::vector<std::size_t> order(count);
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [table](std::size_t a, std::size_t b) {
        return table[a].tabIndex < table[b].tabIndex;
    });
    return order;
}

}  // namespace winkit
