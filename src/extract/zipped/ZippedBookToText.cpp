#include "extract/zipped/ZippedBookToText.h"

#include "extract/common/ChapterTitle.h"
#include "extract/common/TextDocument.h"
#include "extract/package/PackageReading.h"
#include "extract/package/TextBuilder.h"
#include "extract/package/XmlDocument.h"
#include "extract/package/ZipPackage.h"
#include "text/AsciiCase.h"

#include <array>

namespace leafmill::extract {

namespace {

bool endsWithNoCase(std::string_view name, std::string_view lowerEnding)
{
    return name.size() >= lowerEnding.size() && startsWithNoCase(name, name.size() - lowerEnding.size(), lowerEnding);
}

// The book's document and whether it is HTML: index.txt or index.html, else
// the first text or page in the zip.
std::pair<std::string, bool> bookDocument(const package::ZipPackage& zip)
{
    for (const std::string_view name : {"index.txt", "index.html", "index.htm", "index.xhtml"})
        if (zip.contains(name))
            return {std::string(name), !endsWithNoCase(name, ".txt")};
    for (const std::string& name : zip.names()) {
        if (endsWithNoCase(name, ".txt"))
            return {name, false};
        if (endsWithNoCase(name, ".html") || endsWithNoCase(name, ".htm") || endsWithNoCase(name, ".xhtml"))
            return {name, true};
    }
    throw package::PackageError("the zip file holds no text (.txt) or page (.html) to read");
}

std::string metadataTitle(package::ZipPackage& zip)
{
    std::optional<std::string> opf = zip.read("metadata.opf");
    if (!opf)
        return {};
    const package::XmlDocument metadata(std::move(*opf), "metadata.opf");
    const std::vector<pugi::xml_node> titles = package::descendantsNamed(metadata.root(), "title");
    return titles.empty() ? std::string()
                          : chapterTitle(package::wellFormedWords(package::collapsedText(titles.front())));
}

Result plainText(std::string_view bytes, const Options& options)
{
    const DecodedText decoded = decodeTextDocument(bytes, options);
    package::TextBuilder out;
    out.append(decoded.text, package::TextBuilder::Space::Preserve);
    Result result = out.take();
    result.readAs = decoded.readAs;
    return result;
}

// The page without its <title>: the book's title is its metadata's.
std::string withoutPageTitle(std::string page)
{
    const std::size_t start = findNoCase(page, "<title");
    const std::size_t end = findNoCase(page, "</title>", start);
    if (end != std::string::npos)
        page.erase(start, end + 8 - start);
    return page;
}

// The title as the first line (and chapter, when the text has chapters).
void headWithTitle(Result& book, const std::string& title)
{
    const std::size_t blanks = std::min(book.text.find_first_not_of(' '), book.text.size());
    book.text.erase(0, blanks);
    for (Chapter& chapter : book.chapters)
        chapter.offset -= std::min(chapter.offset, blanks);
    if (title.empty() || book.text.starts_with(title + "\r\n"))
        return;
    const std::string line = title + "\r\n";
    book.text.insert(0, line);
    for (Chapter& chapter : book.chapters)
        chapter.offset += line.size();
    if (!book.chapters.empty())
        book.chapters.insert(book.chapters.begin(), Chapter {title, 0, 1});
}

}  // namespace

Result zippedBookToText(std::string_view bytes, const Options& options)
{
    return package::readGuarded([&] {
        package::ZipPackage zip(bytes);
        const auto [name, html] = bookDocument(zip);
        if (html && !options.readEmbedded)
            throw package::PackageError("the book's page cannot be read here");
        std::string title;
        std::vector<std::string> warnings;
        try {
            title = metadataTitle(zip);
        } catch (const package::PackageError& error) {
            warnings.push_back(std::string("the book's title was left out: ") + error.what());
        }
        const std::optional<std::string> document = zip.read(name);
        Result book = html ? options.readEmbedded(".htm", withoutPageTitle(*document)) : plainText(*document, options);
        if (!book.ok)
            return book;
        headWithTitle(book, title);
        book.warnings.insert(book.warnings.end(), warnings.begin(), warnings.end());
        return book;
    });
}

}  // namespace leafmill::extract
