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

std::size_t RowOfId(const ControlSpec* table, std::size_t count, int id) {
    std::size_t index = 0;
    while (index < count && (id == kInWindow || table[index].id != id)) ++index;
    return index;
}

PixelRect ControlRect(const ControlSpec* table, std::size_t count, std::size_t index, int dpi) {
    int left = table[index].left;
    int top = table[index].top;
    // At most count steps: a frame that names itself would otherwise hold the loop.
    std::size_t steps = 0;
    for (std::size_t parent = RowOfId(table, count, table[index].container); parent < count && steps < count;
         parent = RowOfId(table, count, table[parent].container), ++steps) {
        left += table[parent].left;
        top += table[parent].top;
    }
    // Right and bottom edges are scaled too, so that neighbouring controls keep
    // their gaps instead of accumulating rounding.
    const int x = TwipsToPixels(left, dpi);
    const int y = TwipsToPixels(top, dpi);
    return {x, y, TwipsToPixels(left + table[index].width, dpi) - x,
            TwipsToPixels(top + table[index].height, dpi) - y};
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
