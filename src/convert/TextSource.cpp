#include "convert/TextSource.h"

#include "io/InputFile.h"
#include "text/CodePage.h"

#include <cstring>

namespace leafmill {

TextSourceCheck inspectTextSource(InputFile& file, const CodePage& codePage, std::string_view choice)
{
    TextSourceCheck check;
    std::string block;
    file.rewind();
    if (!file.read(block, kEncodingSample, &check.reason))
        return check;
    check.encoding = chooseSourceEncoding(block, codePage, choice);
    check.form = TextForm::Text;
    // UTF-16 and UTF-32 text holds NUL bytes; no text in an ASCII-based
    // encoding does.
    if (!check.encoding.isCodePage && !CodePage::open(check.encoding.encoding.converter))
        return check;
    while (!block.empty()) {
        if (std::memchr(block.data(), 0, block.size())) {
            check.form = TextForm::Binary;
            check.reason = "it holds NUL bytes, so it is no text in a code page, and it does not read as UTF-16 or "
                           "UTF-32";
            return check;
        }
        if (!file.read(block, kEncodingSample, &check.reason)) {
            check.form = TextForm::Unreadable;
            return check;
        }
    }
    return check;
}

}  // namespace leafmill
