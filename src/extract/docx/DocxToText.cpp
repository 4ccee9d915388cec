#include "extract/docx/DocxToText.h"

#include "extract/docx/WordNumbering.h"
#include "extract/docx/WordPackage.h"
#include "extract/docx/WordStyles.h"
#include "extract/docx/WordText.h"
#include "extract/package/PackageKind.h"
#include "extract/package/PackageReading.h"
#include "extract/package/TextBuilder.h"
#include "extract/package/XmlBlocks.h"
#include "extract/package/XmlDocument.h"
#include "extract/package/ZipPackage.h"

#include <cstdlib>
#include <memory>

namespace leafmill::extract {

using package::attributeValue;
using package::childNamed;
using package::XmlBlocks;
using package::XmlDocument;

namespace {

// A part the text only draws on (styles, lists, notes): when it cannot be
// read the text goes on without it, with a warning.
std::unique_ptr<XmlDocument> readHelperPart(package::ZipPackage& zip, const docx::WordPackage& word,
                                            std::string_view kind, std::vector<std::string>& warnings)
{
    const auto name = word.related.find(kind);
    if (name == word.related.end())
        return nullptr;
    try {
        std::optional<std::string> text = zip.read(name->second);
        if (!text)
            return nullptr;
        return std::make_unique<XmlDocument>(std::move(*text), name->second);
    } catch (const package::PackageError& error) {
        warnings.push_back("the document's " + std::string(kind) + " were left out: " + error.what());
        return nullptr;
    }
}

std::map<std::string, pugi::xml_node, std::less<>> notesById(const XmlDocument* part)
{
    std::map<std::string, pugi::xml_node, std::less<>> notes;
    if (part)
        for (pugi::xml_node note : part->root().children())
            if (const std::string_view type = attributeValue(note, "type"); type.empty() || type == "normal")
                notes.emplace(attributeValue(note, "id"), note);
    return notes;
}

void readNoteNumbers(pugi::xml_node properties, docx::NoteNumbers& numbers)
{
    if (const pugi::xml_node format = childNamed(properties, "numFmt")) {
        static const std::map<std::string_view, NumberStyle> kStyles = {
            {"decimal", NumberStyle::Decimal},         {"lowerLetter", NumberStyle::LowerLetter},
            {"upperLetter", NumberStyle::UpperLetter}, {"lowerRoman", NumberStyle::LowerRoman},
            {"upperRoman", NumberStyle::UpperRoman},
        };
        const auto found = kStyles.find(attributeValue(format, "val"));
        if (found != kStyles.end())
            numbers.style = found->second;
    }
    if (const std::string_view start = attributeValue(childNamed(properties, "numStart"), "val"); !start.empty())
        numbers.start = std::atol(std::string(start).c_str());
}

// A document embedded whole, read by the reader the dispatch lends; one
// of a kind nothing reads is counted, one that fails is named.
std::optional<Result> readEmbedded(package::ZipPackage& zip, const docx::WordPackage::Chunk& chunk,
                                   const Options& options, std::vector<std::string>& warnings, std::size_t& leftOut)
{
    std::optional<std::string> bytes = zip.read(chunk.part);
    if (!bytes || chunk.ending.empty() || !options.readEmbedded) {
        ++leftOut;
        return std::nullopt;
    }
    Result document = options.readEmbedded(chunk.ending, *bytes);
    if (!document.ok) {
        warnings.push_back("the embedded document " + chunk.part + " was left out: " + document.error);
        return std::nullopt;
    }
    for (const std::string& warning : document.warnings)
        warnings.push_back("in the embedded document " + chunk.part + ": " + warning);
    return document;
}

// The main document, one child of its body at a time, and the size it states.
XmlBlocks bodyBlocks(package::ZipPackage& zip, const std::string& part, std::uint64_t* statedSize = nullptr)
{
    std::shared_ptr<package::ZipPackage::Stream> stream = zip.stream(part);
    if (!stream)
        throw package::PackageError("the package's part " + part + " is missing");
    if (statedSize)
        *statedSize = std::max<std::uint64_t>(stream->statedSize(), 1);
    static constexpr std::string_view kBody[] = {"body"};
    return XmlBlocks([stream](char* buffer, std::size_t size) { return stream->read(buffer, size); }, part, kBody);
}

// How the settings, then the body's own section (which comes at its end),
// number the notes: read before the body, whose marks they number.
void readNotesNumbering(package::ZipPackage& zip, const std::string& part, const XmlDocument* settings,
                        docx::WordNotes& notes)
{
    const auto apply = [&](pugi::xml_node properties) {
        readNoteNumbers(childNamed(properties, "footnotePr"), notes.footnoteNumbers);
        readNoteNumbers(childNamed(properties, "endnotePr"), notes.endnoteNumbers);
    };
    apply(settings ? settings->root() : pugi::xml_node());
    if (notes.footnotes.empty() && notes.endnotes.empty())
        return;
    XmlBlocks blocks = bodyBlocks(zip, part);
    for (pugi::xml_node block = blocks.next("sectPr"); block; block = blocks.next("sectPr"))
        if (blocks.depth() == 1)
            return apply(block);
}

}  // namespace

Result docxToText(std::string_view bytes, const Options& options)
{
    return package::readGuarded([&] {
        package::ZipPackage zip(bytes);
        package::requireKind(bytes, package::PackageKind::Word, "a Word document");
        std::vector<std::string> warnings;
        const docx::WordPackage word = docx::readWordPackage(zip, warnings);
        const auto styles = readHelperPart(zip, word, "styles", warnings);
        const auto numbering = readHelperPart(zip, word, "numbering", warnings);
        const auto footnotes = readHelperPart(zip, word, "footnotes", warnings);
        const auto endnotes = readHelperPart(zip, word, "endnotes", warnings);
        const auto settings = readHelperPart(zip, word, "settings", warnings);

        docx::WordNotes notes;
        notes.footnotes = notesById(footnotes.get());
        notes.endnotes = notesById(endnotes.get());
        readNotesNumbering(zip, word.document, settings.get(), notes);
        const docx::WordStyles paragraphStyles = styles ? docx::WordStyles(styles->root()) : docx::WordStyles();
        docx::WordNumbering lists
            = numbering ? docx::WordNumbering(numbering->root(), paragraphStyles.language()) : docx::WordNumbering();

        package::TextBuilder out;
        std::size_t chunksLeftOut = 0;
        const auto readChunk = [&](std::string_view id) -> std::optional<Result> {
            const auto chunk = word.chunks.find(id);
            if (chunk == word.chunks.end())
                return std::nullopt;
            return readEmbedded(zip, chunk->second, options, warnings, chunksLeftOut);
        };
        docx::WordText writer(out, paragraphStyles, lists, notes, readChunk);
        std::uint64_t stated = 1;
        XmlBlocks blocks = bodyBlocks(zip, word.document, &stated);
        std::size_t done = 0;
        for (pugi::xml_node block = blocks.next(); block; block = blocks.next()) {
            if (blocks.depth() < 1)
                continue;
            writer.writeBlock(block);
            out.handOn(options);
            if (options.progress && done++ % 64 == 0)
                options.progress(static_cast<int>(std::min<std::uint64_t>(blocks.consumed() * 100 / stated, 99)));
        }
        if (!blocks.foundPath())
            throw package::PackageError("the Word document has no body");
        writer.writeNotes();
        if (options.progress)
            options.progress(100);
        for (std::string& damage : blocks.damage("the document"))
            warnings.push_back(std::move(damage));
        if (chunksLeftOut > 0)
            warnings.push_back(std::to_string(chunksLeftOut)
                               + " document(s) embedded in the document were left out: missing, or of a kind (a web "
                                 "archive, say) not read inside a Word document");
        if (writer.unmappedSymbols() > 0)
            warnings.push_back(
                std::to_string(writer.unmappedSymbols())
                + " symbols of picture fonts (such as Wingdings) stand for no character and were left out");
        Result result = out.take();
        result.warnings = std::move(warnings);
        return result;
    });
}

}  // namespace leafmill::extract
