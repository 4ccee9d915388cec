#pragma once

#include "extract/doc/DocFormatError.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace leafmill::extract::doc {

// Little-endian reads that refuse to run past the end of `bytes`; `what`
// names the structure for the error message.
inline std::uint32_t readU32(std::string_view bytes, std::size_t pos, std::string_view what)
{
    if (pos > bytes.size() || bytes.size() - pos < 4)
        throw DocFormatError(std::string(what) + " is cut short");
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data() + pos);
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

inline std::uint16_t readU16(std::string_view bytes, std::size_t pos, std::string_view what)
{
    if (pos > bytes.size() || bytes.size() - pos < 2)
        throw DocFormatError(std::string(what) + " is cut short");
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data() + pos);
    return std::uint16_t(p[0] | p[1] << 8);
}

inline std::uint8_t readU8(std::string_view bytes, std::size_t pos, std::string_view what)
{
    if (pos >= bytes.size())
        throw DocFormatError(std::string(what) + " is cut short");
    return static_cast<std::uint8_t>(bytes[pos]);
}

// bytes[pos, pos + size), or an error when that range is not all there.
inline std::string_view slice(std::string_view bytes, std::uint64_t pos, std::uint64_t size, std::string_view what)
{
    if (pos > bytes.size() || size > bytes.size() - pos)
        throw DocFormatError(std::string(what) + " lies outside its stream");
    return bytes.substr(static_cast<std::size_t>(pos), static_cast<std::size_t>(size));
}

}  // namespace leafmill::extract::doc
