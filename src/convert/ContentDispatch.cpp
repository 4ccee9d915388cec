#include "convert/ContentDispatch.h"

#include "extract/doc/CompoundFile.h"
#include "extract/html/HtmlToText.h"
#include "extract/package/PackageKind.h"
#include "extract/package/ZipPackage.h"
#include "io/FileAccess.h"
#include "io/InputFile.h"
#include "text/AsciiCase.h"

#include <algorithm>
#include <array>

namespace leafmill {

namespace {

constexpr std::size_t kHeadSize = 16384;

bool isWordXml(const std::string& start)
{
    return start.find("schemas.microsoft.com/office/word") != std::string::npos
        || start.find("progid=\"word.document\"") != std::string::npos;
}

// Text has no NUL (unless a byte-order mark says it is UTF-16 or UTF-32) and
// hardly any other control characters.
bool isText(std::string_view bytes)
{
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

std::string_view packageEnding(std::string_view bytes)
{
    switch (extract::package::packageKind(bytes)) {
    case extract::package::PackageKind::Word:
        return "docx";
    case extract::package::PackageKind::OpenText:
        return ".odt";
    case extract::package::PackageKind::FlatOpenText:
        return "fodt";
    case extract::package::PackageKind::Epub:
        return "epub";
    default:
        return {};
    }
}

// What each content is called in the warning; text is the rest.
constexpr std::array<std::pair<std::string_view, std::string_view>, 12> kNames = {{
    {".rtf", "an RTF document"},
    {".doc", "a Word document"},
    {".pdf", "a PDF document"},
    {"docx", "a Word 2007 or later document"},
    {".odt", "an OpenDocument text"},
    {"fodt", "an OpenDocument text"},
    {"epub", "an EPUB book"},
    {".htm", "an HTML page"},
    {".mobi", "a Kindle or Palm book"},
    {".chm", "a compiled help book"},
    {".djvu", "a DjVu document"},
    {".fb2", "a FictionBook"},
}};

std::string_view contentName(std::string_view ending)
{
    for (const auto& [known, name] : kNames)
        if (known == ending)
            return name;
    return "text";
}

const SourceKind* rowFor(std::string_view ending, const DispatchTable& table)
{
    for (const SourceKind& kind : table)
        if (kind.ending == ending)
            return &kind;
    return nullptr;
}

// Whether some content is read by the row's reader. Readers the content never
// leads to (Markdown, or a table of other readers) are not second-guessed.
bool contentLeadsTo(const SourceKind& named, const DispatchTable& table)
{
    const auto readsContent = [&](std::string_view ending) {
        const SourceKind* row = rowFor(ending, table);
        return row && row->extractor == named.extractor;
    };
    return readsContent(".txt")
        || std::any_of(kNames.begin(), kNames.end(), [&](const auto& n) { return readsContent(n.first); });
}

// The start of the file, or all of a zip package, whose kind is in its
// directory at the end.
bool readForContent(InputFile& file, std::string& bytes)
{
    std::string error;
    file.rewind();
    if (!file.read(bytes, kHeadSize, &error))
        return false;
    return !extract::package::ZipPackage::hasSignature(bytes) || file.readAll(bytes, &error);
}

}  // namespace

std::string_view contentEnding(std::string_view bytes)
{
    if (extract::doc::CompoundFile::hasSignature(bytes))
        return ".doc";
    if (bytes.starts_with("%PDF-"))
        return ".pdf";
    if (extract::package::ZipPackage::hasSignature(bytes))
        return packageEnding(bytes);
    if (bytes.starts_with("ITSF"))
        return ".chm";
    if (bytes.starts_with("AT&TFORM"))
        return ".djvu";
    // A Palm database names its type and creator at offset 60.
    if (bytes.size() >= 68 && (bytes.substr(60, 8) == "BOOKMOBI" || bytes.substr(60, 8) == "TEXtREAd"))
        return ".mobi";
    const std::string start = lowerCasedHead(bytes);
    if (start.starts_with("{\\rtf"))
        return ".rtf";
    if (start.starts_with("<")) {
        if (!packageEnding(bytes).empty())
            return "fodt";
        if (start.find("<fictionbook") != std::string::npos)
            return ".fb2";
        // WordML is no page: its reader names it in its refusal.
        return isWordXml(start) ? std::string_view() : ".htm";
    }
    return isText(bytes) ? ".txt" : std::string_view();
}

ContentChoice chooseByContent(std::string_view bytes, const SourceKind& named, const DispatchTable& table,
                              std::string_view nameEnding)
{
    ContentChoice choice {&named, {}};
    if (!contentLeadsTo(named, table))
        return choice;
    const std::string_view ending = contentEnding(bytes);
    const SourceKind* found = ending.empty() ? nullptr : rowFor(ending, table);
    if (!found || found->extractor == named.extractor)
        return choice;
    const bool textReader = !named.extractor || named.extractor == &extract::htmlToText;
    if ((ending == ".txt" && textReader) || (ending == ".htm" && !named.extractor))
        return choice;
    choice.kind = found;
    choice.warning
        = "read as " + std::string(contentName(ending)) + " although its name ends in " + std::string(nameEnding);
    return choice;
}

ContentChoice chooseByContent(const std::string& path, InputFile& file, const SourceKind& named,
                              const DispatchTable& table)
{
    std::string bytes;
    if (!contentLeadsTo(named, table) || !readForContent(file, bytes))
        return {&named, {}};
    const std::string extension = pathToUtf8(pathFromUtf8(path).extension());
    return chooseByContent(bytes, named, table, extension.empty() ? named.ending : extension);
}

ContentChoice chooseSourceKind(const std::string& path, InputFile& file, const DispatchTable& table)
{
    if (const SourceKind* named = findSourceKind(path, table))
        return chooseByContent(path, file, *named, table);
    std::string bytes;
    if (!readForContent(file, bytes))
        return {};
    return {findKindByContent(bytes, table), {}};
}

ContentChoice chooseSourceKind(const std::string& path, const DispatchTable& table)
{
    InputFile file;
    std::string error;
    if (!file.open(pathFromUtf8(path), &error))
        return {findSourceKind(path, table), {}};
    return chooseSourceKind(path, file, table);
}

const SourceKind* findKindByContent(std::string_view bytes, const DispatchTable& table)
{
    const std::string_view ending = contentEnding(bytes);
    return ending.empty() ? nullptr : rowFor(ending, table);
}

}  // namespace leafmill
