#include "extract/markup/EpubToc.h"

#include "extract/package/PackageError.h"
#include "extract/package/PartPieces.h"

#include <deque>
#include <utility>

namespace leafmill::extract::epub {

using package::attributeValue;
using package::localName;
using package::XmlBlocks;
using Role = XmlBlocks::Role;

namespace {

// The tables are read piece by piece, never as one tree: a book of tens of
// thousands of chapters would hold a tree many times the size of its table.

bool isList(std::string_view name)
{
    return name == "ol" || name == "ul";
}

// The EPUB 3 navigation document: the first <nav> whose type names "toc"
// (else the first <nav>), anywhere in the document, as
// <ol><li><a href="...">Title</a><ol>...</ol></li></ol>; a heading without a
// link (a span) still opens a level for the entries below it. The links
// of the nav read are parsed whole, the rest is entered element by element
// (a nav written inside such a link is not looked for).
class NavReader {
public:
    explicit NavReader(std::string part)
        : part_(std::move(part))
    {
    }

    Role role(std::string_view name, std::size_t depth)
    {
        return kindOf(name, depth) == Step::Link ? Role::Block : Role::Container;
    }

    void read(XmlBlocks& pieces)
    {
        for (pugi::xml_node piece = pieces.next(); piece; piece = pieces.next()) {
            const std::size_t depth = pieces.depth();
            if (reading_ && depth <= *reading_)
                reading_.reset();  // the nav read ended
            if (pieces.kind() == XmlBlocks::Kind::Start)
                start(piece, depth);
            else if (pieces.kind() == XmlBlocks::Kind::Block && reading_)
                link(piece, depth);
        }
    }

    Toc entries() { return std::move(toc_); }

private:
    // What an element is to the nav being read (anything else is Other).
    enum class Step : char { Other, Nav, List, Item, Link };

    // `steps_` holds the steps of the elements around the next piece.
    Step kindOf(std::string_view name, std::size_t depth) const
    {
        if (!reading_ || depth <= *reading_)
            return Step::Other;
        const Step parent = steps_[depth - 1];
        if (isList(name) && (parent == Step::Nav || parent == Step::Item))
            return Step::List;
        if (name == "li" && parent == Step::List)
            return Step::Item;
        if (name == "a" && parent == Step::Item)
            return Step::Link;
        return Step::Other;
    }

    void start(pugi::xml_node element, std::size_t depth)
    {
        steps_.resize(depth);
        const std::string_view name = localName(element);
        Step step = kindOf(name, depth);
        if (name == "nav") {
            const bool toc = attributeValue(element, "type").find("toc") != std::string_view::npos;
            if (toc && !tocFound_)
                toc_.clear();
            if ((toc && !tocFound_) || !navFound_) {
                reading_ = depth;
                step = Step::Nav;
            }
            tocFound_ = tocFound_ || toc;
            navFound_ = true;
        }
        steps_.push_back(step);
    }

    void link(pugi::xml_node a, std::size_t depth)
    {
        std::string title = package::collapsedText(a);
        if (title.empty())
            return;
        if (auto target = package::resolveLink(part_, attributeValue(a, "href")))
            toc_.push_back({std::move(title), std::move(*target), static_cast<int>((depth - *reading_) / 2)});
    }

    std::string part_;
    std::vector<Step> steps_;
    std::optional<std::size_t> reading_;  // the depth of the nav read
    bool navFound_ = false, tocFound_ = false;
    Toc toc_;
};

Toc readNav(package::ZipPackage& zip, const std::string& part)
{
    NavReader reader(part);
    std::optional<XmlBlocks> pieces = package::partPieces(
        zip, part, [&](std::string_view name, std::size_t depth) { return reader.role(name, depth); },
        package::References::Html);
    if (!pieces)
        return {};
    reader.read(*pieces);
    return reader.entries();
}

// The NCX's navMap: <navPoint><navLabel><text>Title</text></navLabel>
// <content src="..."/><navPoint>...</navPoint></navPoint>, the first label,
// text and content of each point counting. A point comes before those inside
// it, though its label may follow them.
class NcxReader {
public:
    explicit NcxReader(std::string part)
        : part_(std::move(part))
    {
    }

    Role role(std::string_view name, std::size_t depth)
    {
        steps_.resize(depth);
        if (depth == 0) {
            if (name != "navMap" || mapFound_)
                return Role::Passed;
            mapFound_ = true;
            return open(Step::Map);
        }
        Open& parent = steps_.back();
        if (parent.step == Step::Label)
            return name == "text" && !std::exchange(parent.text, true) ? Role::Block : Role::Passed;
        if (name == "navPoint")
            return open(Step::Point);
        if (parent.step != Step::Point)
            return Role::Passed;
        if (name == "navLabel" && !std::exchange(parent.label, true))
            return open(Step::Label);
        return name == "content" && !std::exchange(parent.content, true) ? Role::Block : Role::Passed;
    }

    void read(XmlBlocks& pieces)
    {
        for (pugi::xml_node piece = pieces.next(); piece; piece = pieces.next()) {
            if (pieces.kind() != XmlBlocks::Kind::Block)
                continue;
            // The point holding the block is the innermost one open.
            std::size_t point = pieces.depth();
            while (steps_[point - 1].step != Step::Point)
                --point;
            const std::size_t entry = steps_[point - 1].entry;
            if (localName(piece) == "text")
                toc_[entry].title = package::collapsedText(piece);
            else
                linked_[entry] = target(attributeValue(piece, "src"), toc_[entry]);
        }
    }

    // The points that have a title and a link inside the package.
    Toc entries()
    {
        std::size_t kept = 0;
        for (std::size_t i = 0; i < toc_.size(); ++i) {
            if (!linked_[i] || toc_[i].title.empty())
                continue;
            if (kept != i)
                toc_[kept] = std::move(toc_[i]);
            ++kept;
        }
        toc_.resize(kept);
        return std::move(toc_);
    }

private:
    enum class Step : char { Map, Point, Label };
    struct Open {
        Step step;
        std::size_t entry = 0;  // a point's
        int level = 0;  // a point's
        bool label = false, content = false, text = false;  // the first of each seen
    };

    Role open(Step step)
    {
        Open opened {step};
        if (step == Step::Point) {
            opened.level = 1;
            for (const Open& around : steps_)
                opened.level += around.step == Step::Point;
            opened.entry = toc_.size();
            toc_.emplace_back();
            toc_.back().level = opened.level;
            // A point without content links where an empty src does.
            linked_.push_back(target({}, toc_.back()));
        }
        steps_.push_back(opened);
        return Role::Container;
    }

    bool target(std::string_view src, TocEntry& entry) const
    {
        auto link = package::resolveLink(part_, src);
        if (link)
            entry.target = std::move(*link);
        return link.has_value();
    }

    std::string part_;
    std::vector<Open> steps_;
    bool mapFound_ = false;
    Toc toc_;
    std::deque<bool> linked_;
};

XmlBlocks::Roles rolesOf(NcxReader& reader)
{
    return [&reader](std::string_view name, std::size_t depth) { return reader.role(name, depth); };
}

}  // namespace

Toc readNcx(std::string text, const std::string& part)
{
    NcxReader reader(part);
    XmlBlocks pieces = package::rootedPieces(XmlBlocks::textSource(std::move(text)), part, rolesOf(reader));
    reader.read(pieces);
    return reader.entries();
}

Toc readToc(package::ZipPackage& zip, const std::string& navDocument, const std::string& ncx,
            std::vector<std::string>& warnings)
{
    Toc toc;
    try {
        if (!navDocument.empty())
            toc = readNav(zip, navDocument);
        if (toc.empty() && !ncx.empty()) {
            NcxReader reader(ncx);
            if (std::optional<XmlBlocks> pieces = package::partPieces(zip, ncx, rolesOf(reader))) {
                reader.read(*pieces);
                toc = reader.entries();
            }
        }
    } catch (const package::PackageError& error) {
        warnings.push_back(std::string("the table of contents was left out: ") + error.what());
        toc.clear();
    }
    return toc;
}

}  // namespace leafmill::extract::epub
