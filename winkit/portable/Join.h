#pragma once
// Texts joined with one allocation. Messages are built from many pieces, and
// a chain of "+" makes a temporary, and code to free it, for every piece.
#include <initializer_list>
#include <string>
#include <string_view>

namespace winkit {

std::wstring Join(std::initializer_list<std::wstring_view> parts);

}  // namespace winkit
