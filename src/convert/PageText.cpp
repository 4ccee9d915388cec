#include "convert/PageText.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace leafmill {

namespace {

// A '<' that ends its line could run on into the markup after the page's
// text, so it is escaped too.
bool opensTag(std::string_view text, std::size_t at)
{
    if (at + 1 >= text.size())
        return true;
    const auto next = static_cast<unsigned char>(text[at + 1]);
    return std::isalpha(next) || next == '/' || next == '!' || next == '?' || next == '\r' || next == '\n';
}

bool readsAsEntity(std::string_view text, std::size_t at)
{
    static constexpr std::array<std::string_view, 5> kEntities = {"&lt;", "&gt;", "&amp;", "&quot;", "&#"};
    for (std::string_view entity : kEntities)
        if (text.substr(at, entity.size()) == entity)
            return true;
    return false;
}

}  // namespace

std::string escapeMarkup(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '<' && opensTag(text, i))
            out += "&lt;";
        else if (text[i] == '&' && readsAsEntity(text, i))
            out += "&amp;";
        else
            out.push_back(text[i]);
    }
    return out;
}

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
        if (rules.escapeTags)
            page.bytes += rules.encoder->encode(escapeMarkup(rules.encoder->fit(piece, &page.replaced)), nullptr);
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
