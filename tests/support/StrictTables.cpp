#include "StrictTables.h"

#if __has_include(<iconv.h>)
#include <iconv.h>
#endif

#include <string>

namespace leafmill::test {

namespace {

// glibc's BIG5 also reads ETEN's rows; the standard's cells are these.
bool inBig5Chart(unsigned code)
{
    return (code >= 0xA140 && code <= 0xA3BF) || (code >= 0xA440 && code <= 0xC67E)
        || (code >= 0xC940 && code <= 0xF9D5);
}

}  // namespace

std::string outsideStandardTable(std::string_view bytes, std::string_view encoding)
{
#if __has_include(<iconv.h>)
    const bool big5 = encoding == "Big5";
    const std::string table = big5 ? "BIG5" : encoding == "Shift_JIS" ? "SJIS" : std::string(encoding);
    iconv_t strict = iconv_open("UTF-8", table.c_str());
    if (strict == reinterpret_cast<iconv_t>(-1))
        return "no iconv table " + table;
    std::string in(bytes);
    std::string out(bytes.size() * 4 + 4, '\0');
    char* from = in.data();
    std::size_t left = in.size();
    char* to = out.data();
    std::size_t room = out.size();
    const std::size_t converted = iconv(strict, &from, &left, &to, &room);
    iconv_close(strict);
    if (converted == static_cast<std::size_t>(-1) || left != 0)
        return "byte " + std::to_string(in.size() - left) + " is not " + table;
    for (std::size_t i = 0; big5 && i + 1 < bytes.size(); ++i)
        if (static_cast<unsigned char>(bytes[i]) >= 0x81) {
            const unsigned code = static_cast<unsigned char>(bytes[i]) << 8 | static_cast<unsigned char>(bytes[i + 1]);
            if (!inBig5Chart(code))
                return "byte " + std::to_string(i) + " is in no cell of Big5";
            ++i;
        }
#else
    (void)bytes;
    (void)encoding;
#endif
    return {};
}

}  // namespace leafmill::test
