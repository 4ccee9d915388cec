#include "text/PageEncodingAdvice.h"

#include "text/CodePage.h"
#include "text/PageEncoder.h"

namespace leafmill {

std::string pageEncodingKeeping(std::string_view utf8, const CodePage& current)
{
    for (std::string_view name : kPageEncodingNames) {
        const auto page = CodePage::open(PageEncoder::converterName(name));
        if (page && page->name() != current.name() && page->toUtf8(page->fromUtf8(utf8)) == utf8)
            return std::string(name);
    }
    return {};
}

}  // namespace leafmill
