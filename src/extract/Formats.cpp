#include "extract/Formats.h"

#include "extract/chm/ChmToText.h"
#include "extract/djvu/DjvuToText.h"
#include "extract/doc/CompoundFile.h"
#include "extract/doc/DocToText.h"
#include "extract/docx/DocxToText.h"
#include "extract/epub/EpubToText.h"
#include "extract/fb2/Fb2ToText.h"
#include "extract/markdown/MarkdownToText.h"
#include "extract/markup/HtmlToText.h"
#include "extract/mobi/MobiToText.h"
#include "extract/odt/OdtToText.h"
#include "extract/package/PackageKind.h"
#include "extract/package/ZipPackage.h"
#include "extract/pdf/PdfToText.h"
#include "extract/rtf/RtfToText.h"
#include "extract/zipped/ZippedBookToText.h"
#include "text/AsciiCase.h"

#include <algorithm>

namespace leafmill {

namespace {

using extract::package::PackageKind;

// Text has no NUL (unless a byte-order mark says it is UTF-16 or UTF-32) and
// hardly any other control characters. A zip package of a kind not read, or
// markup (WordML) that no row takes, is no text either.
bool isText(std::string_view bytes)
{
    if (extract::package::ZipPackage::hasSignature(bytes) || lowerCasedHead(bytes, 1) == "<")
        return false;
    for (std::string_view mark : {"\xFF\xFE", "\xFE\xFF", "\xEF\xBB\xBF"})
        if (bytes.starts_with(mark))
            return true;
    if (bytes.starts_with(std::string_view("\0\0\xFE\xFF", 4)))
        return true;
    const std::string_view start = bytes.substr(0, 4096);
    std::size_t controls = 0;
    for (char c : start) {
        const auto u = static_cast<unsigned char>(c);
        if (u == 0)
            return false;
        if (u < 0x20 && u != '\t' && u != '\n' && u != '\r' && u != '\f' && u != 0x1A)
            ++controls;
    }
    return !start.empty() && controls * 100 <= start.size();
}

bool isWordXml(const std::string& start)
{
    return start.find("schemas.microsoft.com/office/word") != std::string::npos
        || start.find("progid=\"word.document\"") != std::string::npos;
}

// Markup that begins with a tag; WordML is no page (its reader names it in its refusal).
bool isPage(std::string_view bytes)
{
    const std::string start = lowerCasedHead(bytes);
    return start.starts_with("<") && !isWordXml(start);
}

bool isRtf(std::string_view bytes)
{
    return lowerCasedHead(bytes, 5) == "{\\rtf";
}

bool isCompoundFile(std::string_view bytes)
{
    return extract::doc::CompoundFile::hasSignature(bytes);
}

bool isPdf(std::string_view bytes)
{
    return bytes.starts_with("%PDF-");
}

bool isWordPackage(std::string_view bytes)
{
    return extract::package::packageKind(bytes) == PackageKind::Word;
}

bool isOpenText(std::string_view bytes)
{
    const PackageKind kind = extract::package::packageKind(bytes);
    return kind == PackageKind::OpenText || kind == PackageKind::FlatOpenText;
}

bool isEpub(std::string_view bytes)
{
    return extract::package::packageKind(bytes) == PackageKind::Epub;
}

// A Palm database names its type and creator at offset 60.
bool isPalmBook(std::string_view bytes)
{
    return bytes.size() >= 68 && (bytes.substr(60, 8) == "BOOKMOBI" || bytes.substr(60, 8) == "TEXtREAd");
}

bool isCompiledHelp(std::string_view bytes)
{
    return bytes.starts_with("ITSF");
}

bool isDjvu(std::string_view bytes)
{
    return bytes.starts_with("AT&TFORM");
}

bool isFictionBook(std::string_view bytes)
{
    const std::string start = lowerCasedHead(bytes);
    return start.starts_with("<") && start.find("<fictionbook") != std::string::npos;
}

}  // namespace

const DispatchTable& defaultDispatchTable()
{
    static const DispatchTable table = {
        {{".txt", "text"}, nullptr, "txt", {&isText, false}, "text", "Text files"},
        {{".htm", "html", ".asp", ".php"}, &extract::htmlToText, "htm", {&isPage, false}, "an HTML page", "Web pages"},
        {{".rtf"}, &extract::rtfToText, "rtf", {&isRtf}, "an RTF document", "RTF documents"},
        {{".doc"}, &extract::docToText, "doc", {&isCompoundFile}, "a Word document", "Word documents"},
        {{"docx", "docm", "dotx"},
         &extract::docxToText,
         "docx",
         {&isWordPackage},
         "a Word 2007 or later document",
         "Word documents"},
        {{".odt", "fodt"}, &extract::odtToText, "odt", {&isOpenText}, "an OpenDocument text", "OpenDocument texts"},
        {{"epub"}, &extract::epubToText, "epub", {&isEpub}, "an EPUB book", "EPUB books"},
        {{".pdf"}, &extract::pdfToText, "pdf", {&isPdf}, "a PDF document", "PDF documents"},
        {{".mobi", ".azw3", ".azw", ".prc", ".pdb"},
         &extract::mobiToText,
         "mobi",
         {&isPalmBook},
         "a Kindle or Palm book",
         "Kindle and Palm books"},
        {{".chm"}, &extract::chmToText, "chm", {&isCompiledHelp}, "a compiled help book", "Help books"},
        {{".djvu", ".djv"}, &extract::djvuToText, "djvu", {&isDjvu}, "a DjVu document", "DjVu documents"},
        {{".fb2", ".fb2.zip", ".fbz"}, &extract::fb2ToText, "fb2", {&isFictionBook}, "a FictionBook", "FictionBooks"},
        {{".md", ".markdown"}, &extract::markdownToText, "md", {}, "", "Markdown documents"},
        {{".txtz"}, &extract::zippedBookToText, "txtz", {}, "", "Zipped text and HTML books"},
        {{".htmlz"}, &extract::zippedBookToText, "htmlz", {}, "", "Zipped text and HTML books"},
    };
    return table;
}

std::string_view matchingEnding(std::string_view path, const SourceKind& kind)
{
    std::string_view longest;
    for (std::string_view ending : kind.endings)
        if (ending.size() > longest.size() && path.size() >= ending.size()
            && startsWithNoCase(path, path.size() - ending.size(), ending))
            longest = ending;
    return longest;
}

const SourceKind* findSourceKind(std::string_view path, const DispatchTable& table)
{
    const SourceKind* found = nullptr;
    std::size_t longest = 0;
    for (const SourceKind& kind : table)
        if (const std::size_t size = matchingEnding(path, kind).size(); size > longest) {
            found = &kind;
            longest = size;
        }
    return found;
}

const SourceKind* findFormat(std::string_view name, const DispatchTable& table)
{
    const std::string lowered = asciiLowered(name);
    for (const SourceKind& kind : table)
        for (std::string_view ending : kind.endings)
            if (ending == lowered || (ending.starts_with('.') && ending.substr(1) == lowered))
                return &kind;
    return nullptr;
}

const SourceKind* findKindByContent(std::string_view bytes, const DispatchTable& table)
{
    for (bool certain : {true, false})
        for (const SourceKind& kind : table)
            if (kind.content.matches && kind.content.certain == certain && kind.content.matches(bytes))
                return &kind;
    return nullptr;
}

std::string dottedEnding(std::string_view ending)
{
    return ending.starts_with('.') ? std::string(ending) : "." + std::string(ending);
}

std::string fileDialogFilter(const DispatchTable& table)
{
    const auto patterns = [](const SourceKind& kind) {
        std::string list;
        for (std::string_view ending : kind.endings)
            list += (list.empty() ? "*" : ";*") + dottedEnding(ending);
        return list;
    };
    std::string every, groups;
    for (auto row = table.begin(); row != table.end(); ++row) {
        every += (every.empty() ? "" : ";") + patterns(*row);
        const auto sameName = [&](const SourceKind& kind) { return kind.filterName == row->filterName; };
        if (std::find_if(table.begin(), row, sameName) != row)
            continue;
        std::string group;
        for (auto member = row; member != table.end(); ++member)
            if (sameName(*member))
                group += (group.empty() ? "" : ";") + patterns(*member);
        groups += "|" + std::string(row->filterName) + "|" + group;
    }
    return "Supported documents|" + every + groups + "|All files|*.*";
}

}  // namespace leafmill
