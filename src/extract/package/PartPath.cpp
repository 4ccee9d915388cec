#include "extract/package/PartPath.h"

#include "text/HexDigit.h"

#include <vector>

namespace leafmill::extract::package {

std::string percentDecoded(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            const int high = hexValue(text[i + 1]), low = hexValue(text[i + 2]);
            if (high >= 0 && low >= 0) {
                out += static_cast<char>(high * 16 + low);
                i += 2;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

namespace {

bool hasScheme(std::string_view href)
{
    const std::size_t colon = href.find(':');
    return colon != std::string_view::npos && href.find_first_of("/?#") > colon;
}

}  // namespace

std::optional<PartLink> resolveLink(std::string_view base, std::string_view href)
{
    while (!href.empty()
           && (href.front() == ' ' || href.front() == '\t' || href.front() == '\n' || href.front() == '\r'))
        href.remove_prefix(1);
    if (hasScheme(href))
        return std::nullopt;
    PartLink link;
    const std::size_t hash = href.find('#');
    if (hash != std::string_view::npos) {
        link.fragment = percentDecoded(href.substr(hash + 1));
        href = href.substr(0, hash);
    }
    const std::size_t query = href.find('?');
    if (query != std::string_view::npos)
        href = href.substr(0, query);
    if (href.empty()) {
        link.part = std::string(base);
        return link;
    }
    std::string path = percentDecoded(href);
    if (path.front() != '/') {
        const std::size_t slash = base.rfind('/');
        path = std::string(slash == std::string_view::npos ? std::string_view() : base.substr(0, slash + 1)) + path;
    }
    std::vector<std::string_view> segments;
    std::string_view rest(path);
    while (!rest.empty()) {
        const std::size_t slash = rest.find('/');
        const std::string_view segment = rest.substr(0, slash);
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
        if (segment.empty() || segment == ".")
            continue;
        if (segment == "..") {
            if (segments.empty())
                return std::nullopt;
            segments.pop_back();
            continue;
        }
        segments.push_back(segment);
    }
    if (segments.empty())
        return std::nullopt;
    for (std::string_view segment : segments) {
        if (!link.part.empty())
            link.part += '/';
        link.part += segment;
    }
    return link;
}

}  // namespace leafmill::extract::package
