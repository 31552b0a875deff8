#include "Join.h"

namespace winkit {

std::wstring Join(std::initializer_list<std::wstring_view> parts) {
    std::size_t size = 0;
    for (const std::wstring_view part : parts) size += part.size();
    std::wstring text;
    text.reserve(size);
    for (const std::wstring_view part : parts) text.append(part.data(), part.size());
    return text;
}

}  // namespace winkit
