#include "convert/PageText.h"

#include <array>
#include <cctype>

namespace leafmill {

namespace {

bool opensTag(std::string_view text, std::size_t at)
{
    if (at + 1 >= text.size())
        return false;
    const auto next = static_cast<unsigned char>(text[at + 1]);
    return std::isalpha(next) || next == '/' || next == '!' || next == '?';
}

bool readsAsEntity(std::string_view text, std::size_t at)
{
    static constexpr std::array<std::string_view, 5> kEntities = { "&lt;", "&gt;", "&amp;", "&quot;", "&#" };
    for (std::string_view entity : kEntities)
        if (text.substr(at, entity.size()) == entity)
            return true;
    return false;
}

} // namespace

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

PageText makePageText(std::string_view utf8, const PageTextRules& rules)
{
    PageText page;
    if (rules.escapeTags)
        page.bytes = rules.encoder->encode(escapeMarkup(utf8), &page.replaced);
    else
        page.bytes = rules.encoder->encode(utf8, &page.replaced);
    return page;
}

} // namespace leafmill
