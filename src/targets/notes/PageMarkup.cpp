#include "targets/notes/PageMarkup.h"

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

constexpr std::string_view kLineEnd = "\r\n";

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

std::string noteLink(std::string_view file, std::string_view text)
{
    return "<A HREF=\"" + std::string(file) + "\" NOPUSH>" + escapeMarkup(text) + "</A>";
}

std::string frameHead(const PageFrame& frame, const LinkTexts& texts)
{
    std::string head;
    if (!frame.title.empty())
        head += "<TITLE>" + escapeMarkup(frame.title) + "</TITLE>";
    // The reader shows a line end after the title as an empty first line.
    if (!frame.previous.empty())
        head += noteLink(frame.previous, texts.previous) + std::string(kLineEnd);
    return head;
}

std::string frameTail(const PageFrame& frame, const LinkTexts& texts)
{
    if (frame.next.empty())
        return std::string();
    return noteLink(frame.next, texts.next) + std::string(kLineEnd);
}

}  // namespace leafmill
