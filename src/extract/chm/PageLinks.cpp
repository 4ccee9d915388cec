#include "extract/chm/PageLinks.h"

#include "extract/chm/Sitemap.h"
#include "extract/common/HtmlEntities.h"
#include "extract/package/PartPath.h"
#include "text/CodePage.h"

namespace leafmill::extract::chm {

std::vector<std::string> pageLinks(std::string_view page, std::string_view pagePath, const CodePage& bookPage)
{
    const std::string_view folder = pagePath.substr(0, pagePath.rfind('/') + 1);
    std::vector<std::string> links;
    for (std::size_t lt = page.find('<'); lt != std::string_view::npos; lt = page.find('<', lt + 1)) {
        const std::size_t gt = page.find('>', lt);
        if (gt == std::string_view::npos)
            break;
        const std::string value = tagAttribute(page.substr(lt, gt - lt + 1), "href");
        lt = gt;
        if (value.empty())
            continue;
        std::string link;
        appendDecodingReferences(bookPage.toUtf8(package::percentDecoded(value)), link);
        const bool fromRoot = link.starts_with('/') || link.find("::") != std::string::npos;
        std::string path = archivePath(fromRoot ? link : std::string(folder) + link);
        if (!path.empty())
            links.push_back(std::move(path));
    }
    return links;
}

}  // namespace leafmill::extract::chm
