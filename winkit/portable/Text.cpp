#include "Text.h"

namespace winkit {

std::wstring Trimmed(const std::wstring& text) {
    const auto first = text.find_first_not_of(kSpacesAndTabs);
    if (first == std::wstring::npos) return std::wstring();
    return text.substr(first, text.find_last_not_of(kSpacesAndTabs) - first + 1);
}

std::wstring Listed(const std::vector<std::wstring>& items) {
    std::wstring text;
    for (std::size_t i = 0; i < items.size(); ++i)
        text += (i == 0 ? L"" : i + 1 == items.size() ? L" and " : L", ") + items[i];
    return text;
}

}  // namespace winkit
