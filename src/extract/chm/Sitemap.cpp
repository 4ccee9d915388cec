#include "extract/chm/Sitemap.h"

#include "text/AsciiCase.h"

#include <algorithm>

namespace leafmill::extract::chm {

std::string tagAttribute(std::string_view tag, std::string_view name)
{
    const std::string lowered = asciiLowered(tag);
    for (std::size_t at = lowered.find(name); at != std::string::npos; at = lowered.find(name, at + 1)) {
        std::size_t k = at + name.size();
        if (at == 0 || lowered[at - 1] > ' ')
            continue;
        while (k < tag.size() && tag[k] == ' ')
            ++k;
        if (k >= tag.size() || tag[k] != '=')
            continue;
        ++k;
        while (k < tag.size() && tag[k] == ' ')
            ++k;
        if (k < tag.size() && (tag[k] == '"' || tag[k] == '\'')) {
            const std::size_t close = tag.find(tag[k], k + 1);
            return std::string(tag.substr(k + 1, close == std::string_view::npos ? close : close - k - 1));
        }
        const std::size_t end = tag.find_first_of(" >", k);
        return std::string(tag.substr(k, end == std::string_view::npos ? end : end - k));
    }
    return {};
}

std::vector<SitemapEntry> readSitemap(std::string_view html)
{
    std::vector<SitemapEntry> entries;
    int depth = 0;
    bool inObject = false;
    SitemapEntry entry;
    for (std::size_t lt = html.find('<'); lt != std::string_view::npos; lt = html.find('<', lt + 1)) {
        const std::size_t gt = html.find('>', lt);
        if (gt == std::string_view::npos)
            break;
        const std::string_view tag = html.substr(lt, gt - lt + 1);
        const std::string name
            = asciiLowered(tag.substr(1, std::min<std::size_t>(tag.find_first_of(" \t\r\n>", 1), 8) - 1));
        if (name == "ul")
            ++depth;
        else if (name == "/ul")
            depth = std::max(0, depth - 1);
        else if (name == "object") {
            inObject = asciiLowered(tagAttribute(tag, "type")) == "text/sitemap";
            entry = {{}, {}, std::max(depth, 1)};
        } else if (name == "param" && inObject) {
            const std::string param = asciiLowered(tagAttribute(tag, "name"));
            // The first name counts: later ones are alternatives for other languages.
            if (param == "name" && entry.name.empty())
                entry.name = tagAttribute(tag, "value");
            else if (param == "local" && entry.local.empty())
                entry.local = tagAttribute(tag, "value");
        } else if (name == "/object" && inObject) {
            inObject = false;
            if (!entry.local.empty())
                entries.push_back(entry);
        }
        lt = gt;
    }
    return entries;
}

std::string archivePath(std::string_view local)
{
    if (const std::size_t book = local.find("::"); book != std::string_view::npos)
        local.remove_prefix(book + 2);
    local = local.substr(0, local.find_first_of("#?"));
    if (local.find(':') != std::string_view::npos)
        return {};  // http:, mk:@MSITStore: and the like
    std::vector<std::string_view> parts;
    for (std::size_t at = 0; at <= local.size();) {
        const std::size_t slash = std::min(local.find_first_of("/\\", at), local.size());
        const std::string_view part = local.substr(at, slash - at);
        if (part == "..") {
            if (parts.empty())
                return {};
            parts.pop_back();
        } else if (!part.empty() && part != ".")
            parts.push_back(part);
        at = slash + 1;
    }
    std::string path;
    for (std::string_view part : parts)
        path.append("/").append(part);
    return path;
}

}  // namespace leafmill::extract::chm
