#pragma once
// REG_SZ data is UTF-16LE whatever the width of wchar_t on the build host
// (the store's encoding, and the in-memory registry's).
#include <cstdint>
#include <string>
#include <vector>

namespace registry {

std::vector<std::uint8_t> ToUtf16Bytes(const std::wstring& text);
// The text up to its first NUL (a terminating one, or one stored inside it).
std::wstring TextOfUtf16(const std::uint8_t* data, std::size_t size);

}  // namespace registry
