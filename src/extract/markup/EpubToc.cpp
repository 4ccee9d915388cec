#include "extract/markup/EpubToc.h"

#include "extract/package/PackageError.h"
#include "extract/package/XmlDocument.h"
#include "extract/package/ZipPackage.h"

namespace leafmill::extract::epub {

using package::attributeValue;
using package::childNamed;
using package::localName;
using package::XmlDocument;

namespace {

void add(std::vector<TocEntry>& toc, std::string_view base, std::string_view href, std::string title, int level)
{
    if (title.empty())
        return;
    if (auto target = package::resolveLink(base, href))
        toc.push_back({std::move(title), std::move(*target), level});
}

// <ol><li><a href="...">Title</a><ol>...</ol></li></ol>; a heading without a
// link (a span) still opens a level for the entries below it.
void readNavList(pugi::xml_node list, std::string_view base, int level, std::vector<TocEntry>& toc)
{
    for (pugi::xml_node item : list.children()) {
        if (localName(item) != "li")
            continue;
        for (pugi::xml_node part : item.children()) {
            const std::string_view name = localName(part);
            if (name == "a")
                add(toc, base, attributeValue(part, "href"), package::collapsedText(part), level);
            else if (name == "ol" || name == "ul")
                readNavList(part, base, level + 1, toc);
        }
    }
}

pugi::xml_node tocNav(pugi::xml_node root)
{
    const std::vector<pugi::xml_node> navs = package::descendantsNamed(root, "nav");
    for (pugi::xml_node nav : navs)
        if (attributeValue(nav, "type").find("toc") != std::string_view::npos)
            return nav;
    return navs.empty() ? pugi::xml_node() : navs.front();
}

std::vector<TocEntry> readNav(package::ZipPackage& zip, const std::string& part)
{
    std::vector<TocEntry> toc;
    std::optional<std::string> bytes = zip.read(part);
    if (!bytes)
        return toc;
    const XmlDocument document(std::move(*bytes), part, package::References::Html);
    const pugi::xml_node nav = tocNav(document.root());
    // Room for every link at once: growing a table of many entries would
    // hold it twice over beside the document's tree.
    toc.reserve(package::descendantsNamed(nav, "a").size());
    for (pugi::xml_node list : nav.children())
        if (localName(list) == "ol" || localName(list) == "ul")
            readNavList(list, part, 1, toc);
    return toc;
}

void readNavPoints(pugi::xml_node parent, std::string_view base, int level, std::vector<TocEntry>& toc)
{
    for (pugi::xml_node point : parent.children()) {
        if (localName(point) != "navPoint")
            continue;
        add(toc, base, attributeValue(childNamed(point, "content"), "src"),
            package::collapsedText(childNamed(childNamed(point, "navLabel"), "text")), level);
        readNavPoints(point, base, level + 1, toc);
    }
}

}  // namespace

std::vector<TocEntry> readNcx(std::string text, const std::string& part)
{
    std::vector<TocEntry> toc;
    const XmlDocument document(std::move(text), part);
    const pugi::xml_node map = childNamed(document.root(), "navMap");
    toc.reserve(package::descendantsNamed(map, "navPoint").size());
    readNavPoints(map, part, 1, toc);
    return toc;
}

std::vector<TocEntry> readToc(package::ZipPackage& zip, const std::string& navDocument, const std::string& ncx,
                              std::vector<std::string>& warnings)
{
    std::vector<TocEntry> toc;
    try {
        if (!navDocument.empty())
            toc = readNav(zip, navDocument);
        if (toc.empty() && !ncx.empty())
            if (std::optional<std::string> text = zip.read(ncx))
                toc = readNcx(std::move(*text), ncx);
    } catch (const package::PackageError& error) {
        warnings.push_back(std::string("the table of contents was left out: ") + error.what());
        toc.clear();
    }
    // It stays for the whole book: a table of many entries should not keep
    // its growth's room too.
    toc.shrink_to_fit();
    return toc;
}

}  // namespace leafmill::extract::epub
