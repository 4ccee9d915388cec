#include "convert/PreparedSource.h"

#include "convert/ContentDispatch.h"
#include "convert/EmbeddedDocuments.h"
#include "convert/HeadingLines.h"
#include "convert/JoinLines.h"
#include "io/FileAccess.h"
#include "io/InputFile.h"
#include "io/MappedFile.h"
#include "text/CodePage.h"

#include <algorithm>

namespace leafmill {

namespace {

// The sink takes the bytes in pieces, so that they never need a second copy
// on its side.
constexpr std::size_t kPiece = 1 << 20;

constexpr std::string_view kUnsupported = "the kind of file is not supported";

// The file name without its folder and its last extension.
std::string fileTitle(const std::string& path)
{
    std::string name = pathToUtf8(pathFromUtf8(path).stem());
    return name.empty() ? path : name;
}

// The document's own chapters, else the heading-looking lines of its text;
// a source always starts a chapter, named after its file unless a heading
// opens it.
std::vector<extract::Chapter> chaptersOf(const std::string& path, const ExtractedText& extracted)
{
    std::vector<extract::Chapter> chapters
        = extracted.chapters.empty() ? headingLines(extracted.text) : extracted.chapters;
    const std::size_t textStart = extracted.text.find_first_not_of(" \t\r\n");
    if (chapters.empty() || chapters.front().offset > textStart)
        chapters.insert(chapters.begin(), {fileTitle(path), 0, 1});
    return chapters;
}

void handOver(std::string_view bytes, std::string_view kindWord, const SourceSink& sink)
{
    sink.begin(kindWord);
    for (std::size_t at = 0; at < bytes.size(); at += kPiece)
        sink.bytes(bytes.substr(at, kPiece));
}

// A text source's page bytes made and handed over a piece at a time, so that
// a text of any size takes a piece's room: the same bytes and chapters as
// when it is read whole. Pieces end at line ends, where no heading, accent
// or escape runs on into the next.
void streamPageText(const std::string& path, InputFile& file, const SourceEncoding& encoding,
                    const PageTextRules& rules, const SourceSink& sink, PreparedSource& prepared)
{
    file.rewind();
    sink.begin("txt");
    Utf8Decoder decoder(encoding.encoding.converter);
    std::size_t markLeft = encoding.markSize;
    std::string block;
    std::string text;  // decoded, not yet made into page bytes
    std::size_t textDone = 0;  // UTF-8 bytes made into page bytes so far
    std::size_t pageDone = 0;  // page bytes handed over so far
    std::size_t textStart = std::string::npos;
    std::size_t firstHeading = std::string::npos;
    PageText page;
    for (bool last = false; !last;) {
        if (!file.read(block, kPiece, &prepared.reason)) {
            prepared.failure = SourceFailure::Missing;
            return;
        }
        last = block.empty();
        const std::size_t mark = std::min(markLeft, block.size());
        markLeft -= mark;
        text += decoder.decode(std::string_view(block).substr(mark), last);
        const std::size_t end = last ? text.size() : text.rfind('\n') + 1;
        if (end == 0)
            continue;
        const std::string lines = composedSource(text.substr(0, end), encoding);
        text.erase(0, end);
        if (const std::size_t start = lines.find_first_not_of(" \t\r\n");
            textStart == std::string::npos && start != std::string::npos)
            textStart = textDone + start;
        const std::vector<extract::Chapter> headings = headingLines(lines);
        std::vector<std::size_t> offsets;
        for (const extract::Chapter& heading : headings)
            offsets.push_back(heading.offset);
        if (!headings.empty() && firstHeading == std::string::npos)
            firstHeading = textDone + headings.front().offset;
        page.bytes.clear();
        page.offsets.clear();
        appendPageText(lines, rules, offsets, page);
        for (std::size_t i = 0; i < headings.size(); ++i)
            prepared.chapters.push_back({headings[i].title, pageDone + page.offsets[i]});
        for (std::size_t at = 0; at < page.bytes.size(); at += kPiece)
            sink.bytes(std::string_view(page.bytes).substr(at, kPiece));
        textDone += lines.size();
        pageDone += page.bytes.size();
    }
    // As for a text read whole: the file names the text before its first heading.
    if (firstHeading == std::string::npos || firstHeading > textStart)
        prepared.chapters.insert(prepared.chapters.begin(), {fileTitle(path), 0});
    prepared.replaced = std::move(page.replaced);
}

}  // namespace

ExtractedText extractSource(InputFile& source, const SourceKind& kind, const CodePage& codePage,
                            std::string_view sourceEncoding, std::function<void(int)> progress)
{
    MappedFile document;
    ExtractedText missing;
    if (!document.open(source, &missing.reason)) {
        missing.failure = SourceFailure::Missing;
        return missing;
    }
    return extractBytes(document.bytes(), kind, codePage, sourceEncoding, std::move(progress));
}

ExtractedText extractBytes(std::string_view bytes, const SourceKind& kind, const CodePage& codePage,
                           std::string_view sourceEncoding, std::function<void(int)> progress)
{
    ExtractedText extracted;
    extract::Options options;
    options.codePage = &codePage;
    options.sourceEncoding = sourceEncoding;
    options.progress = std::move(progress);
    options.readEmbedded = embeddedDocumentReader(codePage);
    extract::Result result = kind.extractor(bytes, options);
    extracted.warnings = std::move(result.warnings);
    if (!result.ok) {
        extracted.failure = SourceFailure::ExtractorFailed;
        extracted.reason = result.error.empty() ? "the reader gave no reason" : std::move(result.error);
        return extracted;
    }
    extracted.text = std::move(result.text);
    extracted.chapters = std::move(result.chapters);
    extracted.readAs = std::move(result.readAs);
    return extracted;
}

ExtractedText readTextSource(InputFile& source, const SourceEncoding& encoding)
{
    ExtractedText extracted;
    std::string bytes;
    if (!source.readAll(bytes, &extracted.reason)) {
        extracted.failure = SourceFailure::Missing;
        return extracted;
    }
    extracted.text = decodeSource(bytes, encoding);
    return extracted;
}

PreparedSource openSource(const std::string& path, const DispatchTable& table, InputFile& source)
{
    PreparedSource opened;
    if (source.open(pathFromUtf8(path), &opened.reason))
        return opened;
    opened.failure = findSourceKind(path, table) ? SourceFailure::Missing : SourceFailure::UnsupportedKind;
    if (opened.failure == SourceFailure::UnsupportedKind)
        opened.reason = kUnsupported;
    return opened;
}

PreparedSource prepareSource(const std::string& path, InputFile& source, const DispatchTable& table,
                             const CodePage& codePage, const PageTextRules& pageText, std::string_view sourceEncoding,
                             const SourceSink& sink)
{
    PreparedSource prepared;
    ContentChoice content = chooseSourceKind(path, source, table);
    const SourceKind* kind = content.kind;
    if (!kind) {
        prepared.failure = SourceFailure::UnsupportedKind;
        prepared.reason = kUnsupported;
        return prepared;
    }
    if (!content.warning.empty())
        prepared.warnings.push_back(std::move(content.warning));

    SourceEncoding encoding;
    if (!kind->extractor) {
        const TextSourceCheck check = inspectTextSource(source, codePage, sourceEncoding);
        if (check.form != TextForm::Text) {
            prepared.failure = check.form == TextForm::Binary ? SourceFailure::ExtractorFailed : SourceFailure::Missing;
            prepared.reason = check.reason;
            return prepared;
        }
        encoding = check.encoding;
        if (!encoding.isCodePage)
            prepared.readAs = encoding.encoding.label;
        if (!pageText.encoder && encoding.isCodePage) {
            prepared.cutInPlace = true;
            prepared.skip = encoding.markSize;
            return prepared;
        }
    }
    if (!kind->extractor && pageText.encoder && !pageText.joinLines) {
        streamPageText(path, source, encoding, pageText, sink, prepared);
        return prepared;
    }
    // Text in another encoding is put into the code page like any extracted text.
    ExtractedText extracted = kind->extractor ? extractSource(source, *kind, codePage, sourceEncoding, sink.progress)
                                              : readTextSource(source, encoding);
    if (!extracted.readAs.empty())
        prepared.readAs = std::move(extracted.readAs);
    for (std::string& warning : extracted.warnings)
        prepared.warnings.push_back(std::move(warning));
    if (extracted.failure != SourceFailure::None) {
        prepared.failure = extracted.failure;
        prepared.reason = std::move(extracted.reason);
        return prepared;
    }
    const std::string_view kindWord = kind->extractor ? kind->kindWord : std::string_view("txt");
    if (!pageText.encoder) {
        handOver(codePage.fromUtf8(extracted.text), kindWord, sink);
        return prepared;
    }
    if (pageText.joinLines && !kind->extractor)
        extracted.text = joinedLines(extracted.text);
    std::vector<extract::Chapter> chapters = chaptersOf(path, extracted);
    std::vector<std::size_t> offsets;
    for (const extract::Chapter& chapter : chapters)
        offsets.push_back(chapter.offset);
    PageText page = makePageText(extracted.text, pageText, offsets);
    extracted.text = std::string();
    prepared.replaced = std::move(page.replaced);
    for (std::size_t i = 0; i < chapters.size() && i < page.offsets.size(); ++i)
        prepared.chapters.push_back({std::move(chapters[i].title), page.offsets[i]});
    handOver(page.bytes, kindWord, sink);
    return prepared;
}

}  // namespace leafmill
