#include "convert/PageText.h"

#include <algorithm>

namespace leafmill {

PageText makePageText(std::string_view utf8, const PageTextRules& rules, const std::vector<std::size_t>& offsets)
{
    PageText page;
    appendPageText(utf8, rules, offsets, page);
    return page;
}

void appendPageText(std::string_view utf8, const PageTextRules& rules, const std::vector<std::size_t>& offsets,
                    PageText& page)
{
    std::size_t from = 0;
    auto append = [&](std::size_t to) {
        const std::string_view piece = utf8.substr(from, to - from);
        // Escaped after the encoding has spelt the text its way, so that no
        // character it writes as '<' (the bracket of 〈P〉) opens a tag.
        if (rules.escape)
            page.bytes += rules.encoder->encode(rules.escape(rules.encoder->fit(piece, &page.replaced)), nullptr);
        else
            page.bytes += rules.encoder->encode(piece, &page.replaced);
        from = to;
    };
    for (const std::size_t offset : offsets) {
        append(std::clamp(offset, from, utf8.size()));
        page.offsets.push_back(page.bytes.size());
    }
    append(utf8.size());
}

}  // namespace leafmill
