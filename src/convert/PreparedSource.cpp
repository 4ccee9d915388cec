#include "convert/PreparedSource.h"

#include "convert/ContentDispatch.h"
#include "convert/EmbeddedDocuments.h"
#include "convert/HeadingLines.h"
#include "convert/JoinLines.h"
#include "io/FileAccess.h"
#include "io/MappedFile.h"
#include "text/CodePage.h"

#include <algorithm>

namespace leafmill {

namespace {

// The sink takes the bytes in pieces, so that they never need a second copy
// on its side.
constexpr std::size_t kPiece = 1 << 20;

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

}  // namespace

ExtractedText extractSource(const std::string& path, const SourceKind& kind, const CodePage& codePage,
                            std::string_view sourceEncoding, std::function<void(int)> progress)
{
    MappedFile document;
    ExtractedText missing;
    if (document.open(pathFromUtf8(path), &missing.reason) != ReadResult::Ok) {
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

ExtractedText readTextSource(const std::string& path, const SourceEncoding& encoding)
{
    ExtractedText extracted;
    std::string bytes;
    if (readWholeFile(pathFromUtf8(path), bytes, &extracted.reason) != ReadResult::Ok) {
        extracted.failure = SourceFailure::Missing;
        return extracted;
    }
    extracted.text = decodeSource(bytes, encoding);
    return extracted;
}

PreparedSource prepareSource(const std::string& path, const DispatchTable& table, const CodePage& codePage,
                             const PageTextRules& pageText, std::string_view sourceEncoding, const SourceSink& sink)
{
    PreparedSource prepared;
    ContentChoice content = chooseSourceKind(path, table);
    const SourceKind* kind = content.kind;
    if (!kind) {
        prepared.failure = SourceFailure::UnsupportedKind;
        prepared.reason = "the kind of file is not supported";
        return prepared;
    }
    if (!content.warning.empty())
        prepared.warnings.push_back(std::move(content.warning));

    SourceEncoding encoding;
    if (!kind->extractor) {
        const TextSourceCheck check = inspectTextSource(pathFromUtf8(path), codePage, sourceEncoding);
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
    // Text in another encoding is put into the code page like any extracted text.
    ExtractedText extracted = kind->extractor ? extractSource(path, *kind, codePage, sourceEncoding, sink.progress)
                                              : readTextSource(path, encoding);
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
