#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace leafmill::extract {

// The unsigned number of `size` bytes (at most 4) at `at`, its most
// significant byte first; the caller has made sure they are all there.
inline std::uint32_t bigEndian(std::string_view bytes, std::size_t at, int size)
{
    std::uint32_t value = 0;
    for (int k = 0; k < size; ++k)
        value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(k)]);
    return value;
}

// The same, its least significant byte first.
inline std::uint32_t littleEndian(std::string_view bytes, std::size_t at, int size)
{
    std::uint32_t value = 0;
    for (int k = size - 1; k >= 0; --k)
        value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(k)]);
    return value;
}

}  // namespace leafmill::extract
