#pragma once
#include <string>

namespace winkit {

// A number's decimal digits. Built by hand: std::to_wstring drags a whole
// printf implementation into programs that must stay small.
inline std::wstring Decimal(unsigned long long value) {
    std::wstring digits;
    do {
        digits.insert(digits.begin(), static_cast<wchar_t>(L'0' + value % 10));
        value /= 10;
    } while (value != 0);
    return digits;
}

}  // namespace winkit
