#include "extract/markup/BookText.h"

#include "extract/markup/EpubToc.h"
#include "extract/markup/HtmlToText.h"
#include "extract/markup/XhtmlText.h"
#include "extract/package/PackageError.h"
#include "extract/package/TextBuilder.h"
#include "extract/package/XmlDocument.h"

#include <algorithm>
#include <map>
#include <set>
#include <span>

namespace leafmill::extract::epub {

namespace {

using Targets = std::map<std::string, std::vector<const TocEntry*>>;

// The entries of the table of contents sorted by the part they point into
// (in table order within a part), looked up once a part: scanning the whole
// table for every part would make a book of many parts quadratic.
std::vector<const TocEntry*> entriesByPart(const Toc& toc)
{
    std::vector<const TocEntry*> byPart;
    byPart.reserve(toc.size());
    for (const TocEntry& entry : toc)
        byPart.push_back(&entry);
    std::ranges::stable_sort(byPart, {},
                             [](const TocEntry* entry) -> const std::string& { return entry->target.part; });
    return byPart;
}

std::span<const TocEntry* const> entriesInto(const std::vector<const TocEntry*>& byPart, const std::string& part)
{
    const auto first = std::ranges::lower_bound(
        byPart, part, {}, [](const TocEntry* entry) -> const std::string& { return entry->target.part; });
    const auto last = std::ranges::upper_bound(
        first, byPart.end(), part, {}, [](const TocEntry* entry) -> const std::string& { return entry->target.part; });
    return {first, last};
}

// The entries that point into a document, by the id they land on; an id the
// document lacks lands on the document's start.
Targets targetsIn(std::span<const TocEntry* const> entries, pugi::xml_node root)
{
    Targets targets;
    std::set<std::string, std::less<>> ids;
    bool idsRead = false;
    for (const TocEntry* entry : entries) {
        std::string id = entry->target.fragment;
        if (!id.empty()) {
            if (!idsRead) {
                ids = package::elementIds(root);
                idsRead = true;
            }
            if (!ids.count(id))
                id.clear();
        }
        targets[id].push_back(entry);
    }
    return targets;
}

// A document whose XML is damaged is read again as a web page, whose reader
// forgives damage as browsers do rather than stop at it; the contents'
// entries into it start where it does.
void writeAsPage(package::TextBuilder& out, std::optional<std::string> page, std::span<const TocEntry* const> entries)
{
    Result text = bookPageText(page ? std::move(*page) : std::string(), {});
    text.chapters.clear();
    // The head the page reader passes over leaves line ends before the text.
    text.text.erase(0, std::min(text.text.find_first_not_of("\r\n"), text.text.size()));
    out.endParagraph();
    for (const TocEntry* entry : entries)
        out.startChapter(entry->title, entry->level);
    out.appendDocument(text, package::TextBuilder::Space::Preserve);
    out.endParagraph();
}

void reportProgress(const Options& options, std::size_t done, std::size_t total)
{
    if (options.progress)
        options.progress(static_cast<int>(done * 100 / total));
}

}  // namespace

Result bookText(const PartReader& read, const std::vector<std::string>& spine, const Toc& toc,
                std::vector<std::string> warnings, const Options& options)
{
    package::TextBuilder out;
    const auto entries = entriesByPart(toc);
    std::size_t unreadable = 0, damaged = 0;
    for (std::size_t k = 0; k < spine.size(); ++k) {
        reportProgress(options, k, spine.size());
        const std::string& part = spine[k];
        std::optional<std::string> text = read(part);
        if (!text) {
            ++unreadable;
            continue;
        }
        try {
            const auto into = entriesInto(entries, part);
            bool complete = false;
            {
                const package::XmlDocument document(std::move(*text), part, package::References::Html);
                complete = document.complete();
                if (complete)
                    XhtmlText(out, targetsIn(into, document.root())).write(document.root());
            }
            if (!complete) {
                ++damaged;
                writeAsPage(out, read(part), into);
            }
        } catch (const package::PackageError& error) {
            ++unreadable;
            warnings.push_back(std::string("a chapter was left out: ") + error.what());
        }
        // Nothing later looks back past a part: its text goes on, its tree is gone.
        out.handOn(options);
    }
    reportProgress(options, 1, 1);
    if (unreadable == spine.size())
        throw package::PackageError("none of the book's documents could be read");
    if (damaged > 0)
        warnings.push_back(std::to_string(damaged)
                           + " of the book's documents are damaged XML; each was read as a web page, forgiving it");
    // A book of pictures alone gives no pages; saying so beats an empty success.
    if (out.size() == 0)
        throw package::PackageError("the book holds no text, only pictures or empty pages: there is nothing to read");
    Result result = out.take();
    result.warnings = std::move(warnings);
    return result;
}

}  // namespace leafmill::extract::epub
