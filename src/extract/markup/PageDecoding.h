#pragma once

#include "extract/common/DecodedPieces.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace leafmill {
class CodePage;
}

namespace leafmill::extract {

// The page's character set comes from a byte-order mark, else from the first
// <meta> declaration in the first 1,024 bytes that the bytes do not
// contradict, else from `sourceEncoding` as for a text source (found from the
// bytes when it is kDetectEncoding). A declaration is contradicted when it
// names UTF-8 and the bytes are not UTF-8, or names another set and the bytes
// are UTF-8 with characters beyond ASCII (then the page is read as UTF-8).
// Unknown and contradicted declarations are reported in `warnings`. Only a
// declared page has all its bytes looked at; they are released as passed.
TextReading choosePageReading(std::string_view bytes, const CodePage& codePage, std::string_view sourceEncoding,
                              const std::function<void(std::string_view)>& release, std::vector<std::string>& warnings);

}  // namespace leafmill::extract
