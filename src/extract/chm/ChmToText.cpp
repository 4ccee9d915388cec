#include "extract/chm/ChmToText.h"

#include "extract/chm/ChmArchive.h"
#include "extract/chm/ChmLocale.h"
#include "extract/chm/PageLinks.h"
#include "extract/chm/Sitemap.h"
#include "extract/common/HtmlEntities.h"
#include "extract/markup/HtmlToText.h"
#include "extract/package/PackageError.h"
#include "extract/package/PackageReading.h"
#include "extract/package/TextBuilder.h"
#include "text/AsciiCase.h"
#include "text/CodePage.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <set>

namespace leafmill::extract {

namespace {

using package::PackageError;

struct Page {
    std::string path;
    std::vector<Chapter> chapters;  // titles and levels; offsets are set as the text is built
};

bool isPage(std::string_view path)
{
    const std::string lowered = asciiLowered(path);
    return lowered.ends_with(".htm") || lowered.ends_with(".html");
}

// The sitemap's entries as UTF-8, its pages' names decoded like its text.
std::vector<chm::SitemapEntry> sitemap(chm::ChmArchive& book, const std::string& path, const CodePage& bookPage)
{
    const std::optional<std::string> bytes = path.empty() ? std::nullopt : book.read(path);
    std::vector<chm::SitemapEntry> entries = bytes ? chm::readSitemap(*bytes) : std::vector<chm::SitemapEntry>();
    for (chm::SitemapEntry& entry : entries) {
        const std::string name = bookPage.toUtf8(entry.name);
        entry.name.clear();
        appendDecodingReferences(name, entry.name);
    }
    return entries;
}

std::string fileEndingIn(const std::vector<std::string>& files, std::string_view ending)
{
    for (const std::string& file : files)
        if (asciiLowered(file).ends_with(ending))
            return file;
    return {};
}

// The pages in reading order; with `asChapters` each entry of the sitemap
// names a chapter at its page's start.
std::vector<Page> readingOrder(const std::vector<chm::SitemapEntry>& entries, bool asChapters)
{
    std::vector<Page> pages;
    std::map<std::string, std::size_t> seen;
    for (const chm::SitemapEntry& entry : entries) {
        const std::string path = chm::archivePath(entry.local);
        if (path.empty() || !isPage(path))
            continue;
        const auto [at, added] = seen.emplace(asciiLowered(path), pages.size());
        if (added)
            pages.push_back({path, {}});
        if (asChapters && !entry.name.empty())
            pages[at->second].chapters.push_back({entry.name, 0, entry.level});
    }
    return pages;
}

}  // namespace

Result chmToText(std::string_view bytes, const Options& options)
{
    return package::readGuarded([&] {
        chm::ChmArchive book(bytes);
        const std::string_view encoding = chm::localeEncoding(book.locale());
        const std::shared_ptr<const CodePage> bookPage = CodePage::open(encoding);
        if (!bookPage)
            throw PackageError("the help book's code page " + std::string(encoding) + " is not available");

        const std::string contents = book.contents().empty() ? fileEndingIn(book.files(), ".hhc") : book.contents();
        std::vector<Page> pages = readingOrder(sitemap(book, contents, *bookPage), true);
        const bool fromContents = !pages.empty();
        if (pages.empty()) {
            const std::string index = book.index().empty() ? fileEndingIn(book.files(), ".hhk") : book.index();
            pages = readingOrder(sitemap(book, index, *bookPage), false);
        }
        if (pages.empty())
            for (const std::string& file : book.files())
                if (isPage(file))
                    pages.push_back({file, {}});

        Options pageOptions = options;
        pageOptions.progress = nullptr;
        pageOptions.sourceEncoding = encoding;
        // A page's text is placed among the others here before it goes on.
        pageOptions.sink = nullptr;
        // A page is decompressed into memory of its own, not the book's bytes.
        pageOptions.release = nullptr;
        // Pages no list names (subtopics, a class's members) are met by
        // following the links of those it does: each comes right after the
        // page that first links to it, as a reader following the links meets
        // them. Those that no page links to are left out, and said to be.
        std::map<std::string, std::string> unlisted;  // by path in lower case
        for (const std::string& file : book.files())
            if (isPage(file))
                unlisted.emplace(asciiLowered(file), file);
        for (const Page& page : pages)
            unlisted.erase(asciiLowered(page.path));
        std::vector<Page> toRead(std::make_move_iterator(pages.rbegin()), std::make_move_iterator(pages.rend()));

        package::TextBuilder out;
        std::vector<std::string> warnings;
        std::size_t missing = 0, done = 0;
        while (!toRead.empty()) {
            if (options.progress)
                options.progress(static_cast<int>(done * 100 / (done + toRead.size())));
            ++done;
            Page current = std::move(toRead.back());
            toRead.pop_back();
            const std::optional<std::string> page = book.read(current.path);
            if (!page) {
                ++missing;
                continue;
            }
            const std::size_t linked = toRead.size();
            for (const std::string& link : chm::pageLinks(*page, current.path, *bookPage)) {
                if (const auto found = unlisted.find(asciiLowered(link)); found != unlisted.end()) {
                    toRead.push_back({found->second, {}});
                    unlisted.erase(found);
                }
            }
            std::reverse(toRead.begin() + static_cast<std::ptrdiff_t>(linked), toRead.end());
            Result text = bookPageText(*page, pageOptions);
            if (fromContents)
                text.chapters.clear();
            for (Chapter& chapter : current.chapters)
                out.startChapter(std::move(chapter.title), chapter.level);
            out.appendDocument(text, package::TextBuilder::Space::Preserve);
            out.endParagraph();
            out.handOn(options);
        }
        if (missing == done)
            throw PackageError("the help book is damaged: none of its pages could be read");
        if (!unlisted.empty())
            warnings.push_back(std::to_string(unlisted.size())
                               + " of the help book's pages are in neither its contents nor its index, nor linked "
                                 "from a page that is, and were left out");
        if (missing > 0)
            warnings.push_back(std::to_string(missing)
                               + " of the help book's pages are missing or damaged and were left out");
        if (out.size() == 0)
            throw PackageError("the help book holds no text");
        Result result = out.take();
        result.warnings = std::move(warnings);
        return result;
    });
}

}  // namespace leafmill::extract
