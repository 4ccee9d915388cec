#include "convert/PageMarkup.h"

#include "convert/PageText.h"

namespace leafmill {

namespace {
constexpr std::string_view kLineEnd = "\r\n";
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
