#pragma once
// SHA-256 (FIPS 180-4) of the files Setup installs: it copies a launcher and
// a guide only when they are the ones it was built with.
#include <cstddef>
#include <cstdint>
#include <string>

namespace setup {

// Lower-case hex digits, as CMake's file(SHA256) writes them. Wide, as every
// other text of Setup: one narrow std::string would link in the narrow
// string's whole instantiation from libstdc++ (30 KiB of code and unwind tables).
std::wstring Sha256Hex(const std::uint8_t* data, std::size_t size);

}  // namespace setup
