#pragma once

#include <cstdint>
#include <string_view>

namespace leafmill::extract::chm {

// The Windows code page a help book written for the locale `lcid` (the
// language its #SYSTEM file names) keeps its pages in: "GBK" for Chinese
// (PRC), "Big5" for Chinese (Taiwan), "windows-1251" for Russian, ...;
// windows-1252 for the western languages and any locale not known.
std::string_view localeEncoding(std::uint32_t lcid);

}  // namespace leafmill::extract::chm
