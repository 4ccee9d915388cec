#pragma once

#include <string>
#include <string_view>

namespace leafmill::test {

// Where the bytes stop being text of the national standard `encoding`
// (GB2312, Big5, Shift_JIS, EUC-KR) as glibc's strict tables read it, Big5
// also held to the cells of Unicode's BIG5.TXT; empty when they are all text
// of it, or when the system has no iconv to ask.
std::string outsideStandardTable(std::string_view bytes, std::string_view encoding);

}  // namespace leafmill::test
