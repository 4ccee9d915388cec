#include "extract/chm/PageLinks.h"

#include "extract/chm/Sitemap.h"
#include "extract/common/HtmlEntities.h"
#include "text/AsciiCase.h"
#include "text/CodePage.h"

namespace leafmill::extract::chm {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = asciiLower(c);
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

std::string percentDecoded(std::string_view link)
{
    std::string out;
    for (std::size_t at = 0; at < link.size(); ++at) {
        const int high = link[at] == '%' && at + 2 < link.size() ? hexValue(link[at + 1]) : -1;
        const int low = high >= 0 ? hexValue(link[at + 2]) : -1;
        if (low >= 0) {
            out += static_cast<char>(high * 16 + low);
            at += 2;
        } else {
            out += link[at];
        }
    }
    return out;
}

// The value of the attribute whose name ends before `at`, or nothing.
std::string_view attributeValueAt(std::string_view page, std::size_t at)
{
    while (at < page.size() && isBlank(page[at]))
        ++at;
    if (at >= page.size() || page[at] != '=')
        return {};
    ++at;
    while (at < page.size() && isBlank(page[at]))
        ++at;
    if (at < page.size() && (page[at] == '"' || page[at] == '\'')) {
        const std::size_t end = page.find(page[at], at + 1);
        return end == std::string_view::npos ? std::string_view() : page.substr(at + 1, end - at - 1);
    }
    std::size_t end = at;
    while (end < page.size() && !isBlank(page[end]) && page[end] != '>')
        ++end;
    return page.substr(at, end - at);
}

}  // namespace

std::vector<std::string> pageLinks(std::string_view page, std::string_view pagePath, const CodePage& bookPage)
{
    const std::string lowered = asciiLowered(page);
    const std::string_view folder = pagePath.substr(0, pagePath.rfind('/') + 1);
    std::vector<std::string> links;
    for (std::size_t at = lowered.find("href"); at != std::string::npos; at = lowered.find("href", at + 4)) {
        if (at == 0 || !isBlank(lowered[at - 1]))
            continue;
        const std::string_view value = attributeValueAt(page, at + 4);
        if (value.empty())
            continue;
        std::string link;
        appendDecodingReferences(bookPage.toUtf8(percentDecoded(value)), link);
        const bool fromRoot = link.starts_with('/') || link.find("::") != std::string::npos;
        std::string path = archivePath(fromRoot ? link : std::string(folder) + link);
        if (!path.empty())
            links.push_back(std::move(path));
    }
    return links;
}

}  // namespace leafmill::extract::chm
