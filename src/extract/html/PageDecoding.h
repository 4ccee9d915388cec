#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace leafmill {
class CodePage;
}

namespace leafmill::extract {

// The page's text as UTF-8. The character set comes from a byte-order mark
// (UTF-8, UTF-16 LE or BE), else from the first <meta> declaration in the
// first 1,024 bytes that the bytes do not contradict, else it is UTF-8 when
// the bytes are UTF-8 with characters beyond ASCII, else `fallback`, the
// program's code page. A declaration is contradicted when it names UTF-8 and
// the bytes are not UTF-8, or names another set and the bytes are UTF-8 with
// characters beyond ASCII (then the page is read as UTF-8). Unknown and
// contradicted declarations are reported in `warnings`.
std::string decodePage(std::string_view bytes, const CodePage& fallback, std::vector<std::string>& warnings);

}  // namespace leafmill::extract
